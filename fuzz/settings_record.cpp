// The settings record. The input is a whole settings file: the decoder on its own, then the file
// as start-up reads it and writes it back.
//
// Properties: no crash and no undefined behaviour; decoding and encoding again gives the
// file's first 128 bytes, with what a short file lacks as zeros (numbers) and blanks (texts);
// the texts decode to their width in characters; start-up takes every number as stored, puts
// its own title, version and blank reserved text into the record, and leaves the bytes after
// the record as they were.
#include "FuzzSupport.h"

#include "settings/Settings.h"
#include "store/Text.h"

#include <cstring>

namespace tabbern::fuzz {
namespace {

// The record as a short file reads: the bytes there are, zeros for numbers and blanks for
// texts beyond its end.
std::string Padded(std::string_view bytes) {
    std::string out(kSettingsRecordSize, '\0');
    std::memcpy(out.data(), bytes.data(), std::min(bytes.size(), out.size()));
    const std::pair<std::size_t, std::size_t> texts[] = {{2, 35}, {37, 5}, {44, 70}};
    for (const auto& [at, width] : texts)
        for (std::size_t i = std::max(at, bytes.size()); i < at + width; ++i)
            out[i] = ' ';
    return out;
}

std::size_t CodePoints(std::string_view utf8) {
    std::size_t n = 0, i = 0;
    while (i < utf8.size()) {
        bool valid = false;
        NextCodePoint(utf8, i, valid);
        Require(valid, "decoded text is valid UTF-8", utf8);
        ++n;
    }
    return n;
}

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

} // namespace
} // namespace tabbern::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabbern;
    using namespace tabbern::fuzz;
    const std::string_view bytes = AsText(data, size);

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
    test::WriteBytes(path, bytes);
    ReadSettings(app);
    Require(app.sortChoice == rec.sortChoice && app.rememberSortFlag == rec.rememberSort &&
                app.loadMinimisedFlag == rec.loadMinimised &&
                app.rememberLocationFlag == rec.rememberLocation && app.savedTop == rec.top &&
                app.savedLeft == rec.left,
            "start-up takes every number as stored", bytes);

    const std::string written = test::ReadBytes(path);
    Require(written.size() == std::max(size, kSettingsRecordSize), "the file keeps its length",
            bytes);
    std::string expected = padded;
    expected.replace(0, 2, 2, '\0');
    expected.replace(2, 35, (app.appTitle + Blanks(35)).substr(0, 35));
    expected.replace(37, 5, (app.versionText + Blanks(5)).substr(0, 5));
    expected.replace(44, 70, Blanks(70));
    Require(written.compare(0, kSettingsRecordSize, expected) == 0,
            "start-up writes its title and version and keeps every number", bytes);
    if (size > kSettingsRecordSize)
        Require(written.compare(kSettingsRecordSize, std::string::npos,
                                bytes.substr(kSettingsRecordSize)) == 0,
                "the bytes after the record stay as they were", bytes);
    return 0;
}
