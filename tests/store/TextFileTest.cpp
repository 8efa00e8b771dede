#include "store/TextFile.h"

#include "store/FileIo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabbern {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

TEST(DecodeLines, EndsLinesAtCrLfLoneCrAndLoneLf) {
    EXPECT_EQ(DecodeLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(DecodeLines("a\n\rb"), (Lines{"a", "", "b"})); // LF then CR are two line ends
    EXPECT_EQ(DecodeLines("\r\r\n"), (Lines{"", ""}));
    EXPECT_EQ(DecodeLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
}

TEST(DecodeLines, NoExtraLineAfterAFinalLineEnd) {
    EXPECT_EQ(DecodeLines(""), Lines{});
    EXPECT_EQ(DecodeLines("only"), Lines{"only"});
    EXPECT_EQ(DecodeLines("only\r\n"), Lines{"only"});
    EXPECT_EQ(DecodeLines("only\r"), Lines{"only"});
    EXPECT_EQ(DecodeLines("\r\n"), Lines{""});
}

TEST(DecodeLines, ReadsCodePageBytes) {
    EXPECT_EQ(DecodeLines("caf\xE9\r\n\x80 5\r\n"), (Lines{"caf\xC3\xA9", "\xE2\x82\xAC 5"}));
    // Bytes that are not UTF-8 as a whole are all code page, even where a part would pass.
    EXPECT_EQ(DecodeLines("\xC3\xA9\xE9"), Lines{"\xC3\x83\xC2\xA9\xC3\xA9"});
}

TEST(DecodeLines, ReadsUtf8AndDropsALeadingByteOrderMark) {
    EXPECT_EQ(DecodeLines("caf\xC3\xA9\r\n\xE6\xBC\xA2\r\n"),
              (Lines{"caf\xC3\xA9", "\xE6\xBC\xA2"}));
    EXPECT_EQ(DecodeLines("\xEF\xBB\xBFname\r\nnext"), (Lines{"name", "next"}));
}

TEST(EncodeLines, EveryLineEndsInCrLf) {
    EXPECT_EQ(EncodeLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(EncodeLines({}), "");
}

TEST(EncodeLines, WritesTheCodePageWhenEveryCharacterFits) {
    EXPECT_EQ(EncodeLines({"caf\xC3\xA9", "\xE2\x82\xAC"}), "caf\xE9\r\n\x80\r\n");
}

TEST(EncodeLines, OneCharacterOutsideTheCodePageMakesTheWholeTextUtf8) {
    EXPECT_EQ(EncodeLines({"caf\xC3\xA9", "\xE6\xBC\xA2\xE5\xAD\x97"}),
              "caf\xC3\xA9\r\n\xE6\xBC\xA2\xE5\xAD\x97\r\n"); // no byte-order mark
}

TEST(TextFiles, WrittenLinesReadBackTheSame) {
    TempDir dir;
    const std::string path = dir.file("tabbern.grp");
    const Lines cp1252 = {"header", "\xC3\x89t\xC3\xA9", "", "  blanks  "};
    WriteTextLines(path, cp1252);
    EXPECT_EQ(ReadBytes(path), "header\r\n\xC9t\xE9\r\n\r\n  blanks  \r\n");
    EXPECT_EQ(ReadTextLines(path), cp1252);

    const Lines utf8 = {"\xC3\x89t\xC3\xA9", "\xE6\xBC\xA2"};
    WriteTextLines(path, utf8);
    EXPECT_EQ(ReadTextLines(path), utf8);
}

TEST(TextFiles, ReadsFilesOfOtherWriters) {
    TempDir dir;
    WriteBytes(dir.file("cp.txt"), "caf\xE9\rth\xE9");
    EXPECT_EQ(ReadTextLines(dir.file("cp.txt")), (Lines{"caf\xC3\xA9", "th\xC3\xA9"}));
    WriteBytes(dir.file("utf8.txt"), "caf\xC3\xA9\nth\xC3\xA9\n");
    EXPECT_EQ(ReadTextLines(dir.file("utf8.txt")), (Lines{"caf\xC3\xA9", "th\xC3\xA9"}));
}

TEST(ReadFirstLine, FirstLineOrEmptyText) {
    TempDir dir;
    WriteBytes(dir.file("a"), "/data/folder\r\nsecond\r\n");
    EXPECT_EQ(ReadFirstLine(dir.file("a")), "/data/folder");
    WriteBytes(dir.file("b"), "no line end");
    EXPECT_EQ(ReadFirstLine(dir.file("b")), "no line end");
    WriteBytes(dir.file("c"), "");
    EXPECT_EQ(ReadFirstLine(dir.file("c")), "");
    WriteBytes(dir.file("d"), "\r\nsecond");
    EXPECT_EQ(ReadFirstLine(dir.file("d")), "");
    WriteBytes(dir.file("e"), "/donn\xE9"
                              "es\nx");
    EXPECT_EQ(ReadFirstLine(dir.file("e")), "/donn\xC3\xA9"
                                            "es");
    EXPECT_THROW(ReadFirstLine(dir.file("missing")), FileError);
}

TEST(AppendTextLines, CreatesAMissingFile) {
    TempDir dir;
    AppendTextLines(dir.file("new.txt"), {"one", "two"});
    EXPECT_EQ(ReadBytes(dir.file("new.txt")), "one\r\ntwo\r\n");
    AppendTextLines(dir.file("empty.txt"), {});
    EXPECT_EQ(ReadBytes(dir.file("empty.txt")), "");
}

TEST(AppendTextLines, KeepsTheExistingBytesAndEndsAnOpenLastLine) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "a\r\nb");
    AppendTextLines(path, {"c"});
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\nc\r\n");

    WriteBytes(path, "a\nb\r");
    AppendTextLines(path, {"c"});
    EXPECT_EQ(ReadBytes(path), "a\nb\rc\r\n");

    AppendTextLines(path, {});
    EXPECT_EQ(ReadBytes(path), "a\nb\rc\r\n");
}

TEST(AppendTextLines, MatchesTheEncodingOfTheFile) {
    TempDir dir;
    WriteBytes(dir.file("cp.txt"), "caf\xE9\r\n");
    AppendTextLines(dir.file("cp.txt"), {"th\xC3\xA9"});
    EXPECT_EQ(ReadBytes(dir.file("cp.txt")), "caf\xE9\r\nth\xE9\r\n");

    WriteBytes(dir.file("utf8.txt"), "caf\xC3\xA9\r\n");
    AppendTextLines(dir.file("utf8.txt"), {"th\xC3\xA9"});
    EXPECT_EQ(ReadBytes(dir.file("utf8.txt")), "caf\xC3\xA9\r\nth\xC3\xA9\r\n");

    WriteBytes(dir.file("ascii.txt"), "plain\r\n");
    AppendTextLines(dir.file("ascii.txt"), {"th\xC3\xA9"});
    EXPECT_EQ(ReadBytes(dir.file("ascii.txt")), "plain\r\nth\xE9\r\n");
}

TEST(AppendTextLines, CodePageFileMovesWhollyToUtf8WhenTheNewLinesNeedIt) {
    TempDir dir;
    const std::string path = dir.file("tabbern.grp");
    WriteBytes(path, "caf\xE9\r\n\x80");
    AppendTextLines(path, {"\xE6\xBC\xA2"});
    EXPECT_EQ(ReadBytes(path), "caf\xC3\xA9\r\n\xE2\x82\xAC\r\n\xE6\xBC\xA2\r\n");
    EXPECT_EQ(ReadTextLines(path), (Lines{"caf\xC3\xA9", "\xE2\x82\xAC", "\xE6\xBC\xA2"}));
}

TEST(AppendTextLines, AsciiFileTakesUtf8LinesAsTheyAre) {
    TempDir dir;
    const std::string path = dir.file("tabbern.grp");
    WriteBytes(path, "Work\r\n");
    AppendTextLines(path, {"\xE6\xBC\xA2", "th\xC3\xA9"});
    EXPECT_EQ(ReadBytes(path), "Work\r\n\xE6\xBC\xA2\r\nth\xC3\xA9\r\n");
    AppendTextLines(path, {"caf\xC3\xA9"}); // now a UTF-8 file: stays UTF-8
    EXPECT_EQ(ReadTextLines(path), (Lines{"Work", "\xE6\xBC\xA2", "th\xC3\xA9", "caf\xC3\xA9"}));
}

} // namespace
} // namespace tabbern
