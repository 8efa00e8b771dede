// Letter case, lines in UTF-8 or the code page, and the atomic replacement of a file with the
// temporary files it leaves when killed; the fuzz harness text_decoding owns the properties
// (trimming, the code page's round trip, UTF-8).
#include "store/Text.h"
#include "store/FileIo.h"
#include "store/TextFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <thread>
#endif

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(Text, LowerCasingFollowsTheUnicodeSimpleMappingWhateverTheLocale) {
    const std::pair<std::string, std::string> cases[] = {
        {"Hello WORLD [@Z] \xC3\x89\xC3\x9E\xC3\x97\xC5\xB8",
         "hello world [@z] \xC3\xA9\xC3\xBE\xC3\x97\xC3\xBF"},
        {"\xC4\x80\xC4\xAE\xC4\x81\xC5\xBD", "\xC4\x81\xC4\xAF\xC4\x81\xC5\xBE"}, // ĀĮāŽ
        {"\xCE\xA3\xCE\x9F\xCE\xA3 \xD0\x9C\xD0\x81",
         "\xCF\x83\xCE\xBF\xCF\x83 \xD0\xBC\xD1\x91"},                 // ΣΟΣ МЁ
        {"\xE1\xBA\x9E \xC4\xB0 \xC4\xB1 I", "\xC3\x9F i \xC4\xB1 i"}, // ẞ İ ı, no Turkish I
        {"\xE2\x84\xAA \xC8\xBA", "k \xE2\xB1\xA5"},                   // other lengths
        {"\xF0\x90\x90\x80 \xF0\x9E\xA4\xA1 \xF0\x9F\x98\x80",
         "\xF0\x90\x90\xA8 \xF0\x9E\xA5\x83 \xF0\x9F\x98\x80"},
        {"A\xC3(B \xFF\xFEZ \xC0\x81Q \xED\xA0\x80X \xE2\x82",
         "a\xC3(b \xFF\xFEz \xC0\x81q \xED\xA0\x80x \xE2\x82"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(LCase(in), out) << in;
}

TEST(TextFile, LinesEndAtCrLfLoneCrOrLoneLfAndAreCodePageUnlessTheBytesAreUtf8) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"caf\xE9\r\n\x80 5", {"caf\xC3\xA9", "\xE2\x82\xAC 5"}},
        {"\xC3\xA9\xE9", {"\xC3\x83\xC2\xA9\xC3\xA9"}}, // not UTF-8 as a whole: all code page
        {"caf\xC3\xA9\n\xE6\xBC\xA2", {"caf\xC3\xA9", "\xE6\xBC\xA2"}},
        {"\xEF\xBB\xBFname\r\nnext", {"name", "next"}},
        {"\xEF\xBB\xBF\xEF\xBB\xBF\x38\xC3\x57\xC2\xA9\x80",
         {"\xC3\xAF\xC2\xBB\xC2\xBF"
          "8\xC3\x83W\xC3\x82\xC2\xA9\xE2\x82\xAC"}},
    };
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(DecodeLines(bytes), lines) << testing::PrintToString(bytes);
}

TEST(TextFile, WrittenLinesEndInCrLfInTheCodePageUnlessTheyWouldNotReadBackTheSame) {
    const std::pair<Lines, std::string> cases[] = {
        {{"abc", ""}, "abc\r\n\r\n"},
        {{"Caf\xC3\xA9", "\xE2\x82\xAC"}, "Caf\xE9\r\n\x80\r\n"},
        // Code-page bytes that would pass for UTF-8, or begin like a byte-order mark.
        {{"Caf\xC3\x83\xC2\xA9"}, "Caf\xC3\x83\xC2\xA9\r\n"},
        {{"\xC3\xAF\xC2\xBB\xC2\xBFx\xC3\x83"}, "\xC3\xAF\xC2\xBB\xC2\xBFx\xC3\x83\r\n"},
        // A first character U+FEFF is kept behind a byte-order mark of the file's own.
        {{"\xEF\xBB\xBFx", "y"}, "\xEF\xBB\xBF\xEF\xBB\xBFx\r\ny\r\n"},
        {{"\xC3\xA9", "\xE4\xBE\x8B"}, "\xC3\xA9\r\n\xE4\xBE\x8B\r\n"},
    };
    for (const auto& [lines, bytes] : cases)
        EXPECT_EQ(EncodeLines(lines), bytes);
}

TEST(TextFile, AnAppendKeepsTheBytesThereAndWritesItsLinesInTheFilesEncoding) {
    const std::tuple<std::string, Lines, std::string> cases[] = {
        {"a\r\nb", {"c"}, "a\r\nb\r\nc\r\n"},
        {"a\nb\r", {"c"}, "a\nb\rc\r\n"},
        {"plain\r\n", {"th\xC3\xA9"}, "plain\r\nth\xE9\r\n"},
        {"a\r\n", {"Caf\xC3\x83\xC2\xA9"}, "a\r\nCaf\xC3\x83\xC2\xA9\r\n"},
        {"caf\xE9\r\n", {"\xC3\x83\xC2\xA9"}, "caf\xE9\r\n\xC3\xA9\r\n"},
        {"\xC3\xA9\r\n", {"\xC3\xA8"}, "\xC3\xA9\r\n\xC3\xA8\r\n"},
        {"caf\xE9\r\n\x80", {"\xE4\xBE\x8B"}, "caf\xC3\xA9\r\n\xE2\x82\xAC\r\n\xE4\xBE\x8B\r\n"},
        {"Work\r\n", {"\xE6\xBC\xA2"}, "Work\r\n\xE6\xBC\xA2\r\n"},
    };
    TempDir dir;
    const std::string path = dir.file("file.txt");
    for (const auto& [before, added, after] : cases) {
        WriteBytes(path, before);
        AppendTextLines(path, added);
        EXPECT_EQ(ReadBytes(path), after) << testing::PrintToString(before);
    }
    AppendTextLines(dir.file("new.txt"), {"one"});
    EXPECT_EQ(ReadBytes(dir.file("new.txt")), "one\r\n");
}

Lines Listing(const std::string& folder) {
    Lines names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WriteFileAtomically, ReplacesWithExactBytesAndRemovesTheTemporariesOfThatFileOnly) {
    TempDir dir;
    const std::string name = "Dossier \xC3\xA9t\xC3\xA9 \xE6\x97\xA5.dat";
    WriteBytes(dir.file(name + ".~1f2e-1-9a8b7c.tmp"), "half");
    WriteBytes(dir.file("tabbern.grp.~1f2e-2-9a8b7c.tmp"), "another file's");
    WriteBytes(dir.file("notes.tmp"), "unrelated");
    for (const std::string& bytes :
         {std::string("first\r\n"), std::string("second\0\xE9", 8), std::string()}) {
        WriteFileAtomically(dir.file(name), bytes);
        EXPECT_EQ(ReadBytes(dir.file(name)), bytes);
    }
    EXPECT_EQ(Listing(dir.path()), (Lines{name, "notes.tmp", "tabbern.grp.~1f2e-2-9a8b7c.tmp"}));
}

#ifdef _WIN32
TEST(WriteFileAtomically, AReadOnlyFileIsNotReplacedButABusyOneIsWaitedFor) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(ToPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(WriteFileAtomically(path, "new"), FileError);
    ASSERT_TRUE(::SetFileAttributesW(ToPath(path).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ReadBytes(path), "old");
    // Another copy reading the file, or a virus scanner, holds it for a moment.
    const HANDLE reader = ::CreateFileW(ToPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread closer([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        ::CloseHandle(reader);
    });
    EXPECT_NO_THROW(WriteFileAtomically(path, "new"));
    closer.join();
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(Listing(dir.path()), Lines{"tabbern.dat"});
}
#else
TEST(WriteFileAtomically, AReplacementKeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
#endif

} // namespace
} // namespace tabbern::test
