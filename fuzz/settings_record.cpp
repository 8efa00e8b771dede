// The settings record. The input is a whole settings file: the decoder on its own, then the file
// as start-up reads it and writes it back.
#include "FuzzSupport.h"

#include "settings/Settings.h"
#include "store/Text.h"

#include <algorithm>

namespace tabbern::fuzz {
namespace {

// The texts of the record: offset and width.
constexpr std::pair<std::size_t, std::size_t> kTexts[] = {{2, 35}, {37, 5}, {44, 70}};

// The record as a short file reads: the bytes there are, zeros and blanks beyond its end.
std::string Padded(std::string_view bytes) {
    std::string out(kSettingsRecordSize, '\0');
    bytes.copy(out.data(), std::min(bytes.size(), out.size()));
    for (const auto& [at, width] : kTexts)
        for (std::size_t i = std::max(at, bytes.size()); i < at + width; ++i)
            out[i] = ' ';
    return out;
}

std::size_t CodePoints(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n) {
        bool valid = false;
        NextCodePoint(utf8, i, valid);
        Require(valid, "decoded text is valid UTF-8", utf8);
    }
    return n;
}

} // namespace

void TestOneInput(std::string_view bytes) {

    const SettingsRecord rec = DecodeSettingsRecord(bytes);
    const auto encoded = EncodeSettingsRecord(rec);
    const std::string padded = Padded(bytes);
    Require(std::string(encoded.begin(), encoded.end()) == padded,
            "a decoded record encodes to the bytes it came from", bytes);
    Require(CodePoints(rec.title) == 35 && CodePoints(rec.version) == 5 &&
                CodePoints(rec.reservedText) == 70,
            "every text decodes to its width", bytes);

    Program& p = TheProgram();
    App& app = p.app;
    const std::string path = app.programFile(app.settingsFileName);
    p.Put(path, bytes);
    ReadSettings(app);
    Require(app.sortChoice == rec.sortChoice && app.rememberSortFlag == rec.rememberSort &&
                app.loadMinimisedFlag == rec.loadMinimised &&
                app.rememberLocationFlag == rec.rememberLocation && app.savedTop == rec.top &&
                app.savedLeft == rec.left,
            "start-up takes every number as stored", bytes);

    std::string expected = padded;
    expected.replace(0, 2, 2, '\0');
    const std::string texts[] = {app.appTitle, app.versionText, ""};
    for (int t = 0; t < 3; ++t) {
        const auto [at, width] = kTexts[t];
        expected.replace(at, width, (texts[t] + std::string(width, ' ')).substr(0, width));
    }
    if (bytes.size() > kSettingsRecordSize)
        expected += bytes.substr(kSettingsRecordSize);
    Require(test::ReadBytes(path) == expected,
            "start-up writes its title and version, keeps every number and what follows", bytes);
}

} // namespace tabbern::fuzz
