#include "settings/Settings.h"

#include "app/App.h"
#include "app/Startup.h"
#include "store/CodePage.h"
#include "store/FileIo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace tabbern {

namespace {

constexpr std::size_t kTitleOffset = 2, kTitleWidth = 35;
constexpr std::size_t kVersionOffset = 37, kVersionWidth = 5;
constexpr std::size_t kLoadMinimisedOffset = 42;
constexpr std::size_t kReservedTextOffset = 44, kReservedTextWidth = 70;
constexpr std::size_t kRememberLocationOffset = 114;
constexpr std::size_t kTopOffset = 116, kLeftOffset = 120;
constexpr std::size_t kSortChoiceOffset = 124, kRememberSortOffset = 126;

using Record = std::array<unsigned char, kSettingsRecordSize>;

void PutInt(Record& b, std::size_t at, std::uint32_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetInt(const Record& b, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i)
        v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    return v;
}

// A fixed text: the code-page bytes of the value, cut or padded with blanks to the width.
void PutText(Record& b, std::size_t at, std::size_t width, const std::string& value) {
    std::string bytes;
    if (!ActiveCodePage().encode(value, bytes)) {
        bytes.clear();
        for (unsigned char c : value)
            bytes += c < 0x80 ? static_cast<char>(c) : '?';
    }
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : ' ';
}

std::string GetText(const Record& b, std::size_t at, std::size_t width) {
    return ActiveCodePage().decode(
        std::string_view(reinterpret_cast<const char*>(b.data() + at), width));
}

// Writes the record over the first 128 bytes of the file; bytes after them stay as they are.
void WriteRecordToFile(App& app, const SettingsRecord& rec) {
    const std::string path = app.programFile(app.settingsFileName);
    std::string bytes;
    if (FileExists(app, app.programFolder, app.settingsFileName))
        bytes = ReadFileBytes(path);
    const bool whole = bytes.size() >= kSettingsRecordSize;
    if (!whole)
        bytes.resize(kSettingsRecordSize, '\0');
    const Record encoded = EncodeSettingsRecord(rec);
    // Every start saves the settings: a file that already holds them is left as it is, which
    // spares the start-up a flush to disk, but not the clearing of what a killed save left.
    if (whole && std::memcmp(bytes.data(), encoded.data(), encoded.size()) == 0) {
        RemoveLeftoverTemporaries(path);
        return;
    }
    std::memcpy(bytes.data(), encoded.data(), encoded.size());
    WriteFileAtomically(path, bytes);
}

SettingsRecord RecordFromGlobals(const App& app) {
    SettingsRecord r;
    r.title = app.appTitle;
    r.version = app.versionText;
    r.loadMinimised = static_cast<std::int16_t>(app.loadMinimisedFlag);
    r.rememberLocation = static_cast<std::int16_t>(app.rememberLocationFlag);
    r.top = app.savedTop;
    r.left = app.savedLeft;
    r.sortChoice = static_cast<std::int16_t>(app.sortChoice);
    r.rememberSort = static_cast<std::int16_t>(app.rememberSortFlag);
    return r;
}

} // namespace

Record EncodeSettingsRecord(const SettingsRecord& r) {
    Record b{};
    PutInt(b, 0, static_cast<std::uint16_t>(r.reserved), 2);
    PutText(b, kTitleOffset, kTitleWidth, r.title);
    PutText(b, kVersionOffset, kVersionWidth, r.version);
    PutInt(b, kLoadMinimisedOffset, static_cast<std::uint16_t>(r.loadMinimised), 2);
    PutText(b, kReservedTextOffset, kReservedTextWidth, r.reservedText);
    PutInt(b, kRememberLocationOffset, static_cast<std::uint16_t>(r.rememberLocation), 2);
    PutInt(b, kTopOffset, static_cast<std::uint32_t>(r.top), 4);
    PutInt(b, kLeftOffset, static_cast<std::uint32_t>(r.left), 4);
    PutInt(b, kSortChoiceOffset, static_cast<std::uint16_t>(r.sortChoice), 2);
    PutInt(b, kRememberSortOffset, static_cast<std::uint16_t>(r.rememberSort), 2);
    return b;
}

SettingsRecord DecodeSettingsRecord(std::string_view bytes) {
    Record b{};
    std::memcpy(b.data(), bytes.data(), std::min(bytes.size(), b.size()));
    // Text fields beyond a short file's end read as blanks, numbers as zeros.
    auto blankFill = [&](std::size_t at, std::size_t width) {
        for (std::size_t i = at; i < at + width; ++i)
            if (i >= bytes.size())
                b[i] = ' ';
    };
    blankFill(kTitleOffset, kTitleWidth);
    blankFill(kVersionOffset, kVersionWidth);
    blankFill(kReservedTextOffset, kReservedTextWidth);

    SettingsRecord r;
    r.reserved = static_cast<std::int16_t>(GetInt(b, 0, 2));
    r.title = GetText(b, kTitleOffset, kTitleWidth);
    r.version = GetText(b, kVersionOffset, kVersionWidth);
    r.loadMinimised = static_cast<std::int16_t>(GetInt(b, kLoadMinimisedOffset, 2));
    r.reservedText = GetText(b, kReservedTextOffset, kReservedTextWidth);
    r.rememberLocation = static_cast<std::int16_t>(GetInt(b, kRememberLocationOffset, 2));
    r.top = static_cast<std::int32_t>(GetInt(b, kTopOffset, 4));
    r.left = static_cast<std::int32_t>(GetInt(b, kLeftOffset, 4));
    r.sortChoice = static_cast<std::int16_t>(GetInt(b, kSortChoiceOffset, 2));
    r.rememberSort = static_cast<std::int16_t>(GetInt(b, kRememberSortOffset, 2));
    return r;
}

void ReadSettings(App& app) {
    if (FileExists(app, app.programFolder, app.settingsFileName)) {
        const SettingsRecord rec =
            DecodeSettingsRecord(ReadFileBytes(app.programFile(app.settingsFileName)));
        app.savedTop = rec.top;
        app.savedLeft = rec.left;
        app.loadMinimisedFlag = rec.loadMinimised;
        app.sortChoice = rec.sortChoice;
        app.rememberSortFlag = rec.rememberSort;
        app.rememberLocationFlag = rec.rememberLocation;
    }
    // Written back at every start so that the file names the last program that used it.
    WriteRecordToFile(app, RecordFromGlobals(app));

    MainForm& m = app.main;
    if (app.rememberSortFlag != 1) {
        m.menusortbyname.setChecked(true);
        m.menusortbyurl.setChecked(false);
        m.menusortbydateadded.setChecked(false);
        m.menulastaccessed.setChecked(false);
    } else {
        switch (app.sortChoice) {
        case 2:
            m.menusortbyurl.setChecked(true);
            break;
        case 3:
            m.menusortbydateadded.setChecked(true);
            break;
        case 4:
            m.menulastaccessed.setChecked(true);
            break;
        default:
            m.menusortbyname.setChecked(true);
            break;
        }
    }
}

void WriteSettings(App& app) {
    WriteRecordToFile(app, RecordFromGlobals(app));
}

std::int32_t RoundHalfEven(double v) {
    double r = std::floor(v);
    const double diff = v - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    if (r > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (r < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

void SaveScreenLocation(App& app, bool on) {
    if (on) {
        // While the window is hidden in the notification area its position means nothing.
        if (app.inTrayFlag == 0) {
            app.savedTop = RoundHalfEven(app.main.top());
            app.savedLeft = RoundHalfEven(app.main.left());
        }
        app.rememberLocationFlag = -1;
    } else {
        app.savedTop = 0;
        app.savedLeft = 0;
        app.rememberLocationFlag = 0;
    }
    WriteSettings(app);
}

} // namespace tabbern
