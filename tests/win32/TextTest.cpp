// The pure parts of the Windows layer: UTF-8 and UTF-16, the ANSI code page behind the data
// files, the file dialogs' filter list, the Run value's quoting, the command line, twips and the
// paths the program reports about itself.
#include "platform/win32/Text.h"
#include "store/CodePage.h"
#include "store/TextFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tabbern::win32 {
namespace {

using namespace std::string_literals;

// ---- UTF-8 and UTF-16 ---------------------------------------------------------------------------

TEST(Utf, RoundTripsTextBeyondAsciiAndOutsideTheBasicPlane) {
    const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\x96 \xD0\x96";
    const std::wstring wide = Widen(text);
    EXPECT_EQ(wide, L"Caf\u00E9 \u20AC \U0001F516 \u0416");
    // The bookmark sign takes a surrogate pair in UTF-16.
    EXPECT_EQ(wide.size(), 11u);
    EXPECT_EQ(Narrow(wide), text);
}

TEST(Utf, EmptyTextAndEmbeddedNulsSurvive) {
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    const std::string withNul = "a\0b"s;
    EXPECT_EQ(Narrow(Widen(withNul)), withNul);
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacterNotNothing) {
    const std::wstring wide = Widen("ok\xFF");
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.substr(0, 2), L"ok");
    EXPECT_EQ(wide.back(), L'\uFFFD');
}

// ---- the ANSI code page -----------------------------------------------------------------------

TEST(AnsiCodePage, Windows1252MatchesTheBuiltInTable) {
    const AnsiCodePage cp(1252);
    const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D";
    std::string bytes;
    ASSERT_TRUE(cp.encode(text, bytes));
    EXPECT_EQ(bytes, "Caf\xE9 \x80 \x93q\x94");
    EXPECT_EQ(cp.decode(bytes), text);

    std::string builtIn;
    ASSERT_TRUE(Windows1252().encode(text, builtIn));
    EXPECT_EQ(builtIn, bytes);
}

TEST(AnsiCodePage, RefusesCharactersOutsideTheCodePageInsteadOfBestFit) {
    const AnsiCodePage cp(1252);
    std::string bytes;
    // A with macron would be written as a plain A by the system's best-fit table.
    EXPECT_FALSE(cp.encode("Ma\xC4\x81ori", bytes));
    // Cyrillic has no byte at all in Windows-1252; the default character must not stand in.
    EXPECT_FALSE(cp.encode("\xD0\x96", bytes));
    // A question mark of its own is fine.
    EXPECT_TRUE(cp.encode("why?", bytes));
    EXPECT_EQ(bytes, "why?");
}

TEST(AnsiCodePage, OtherCodePagesHoldTheirOwnLetters) {
    const AnsiCodePage cyrillic(1251);
    std::string bytes;
    ASSERT_TRUE(cyrillic.encode("\xD0\x96\xD0\xB0", bytes));
    EXPECT_EQ(bytes, "\xC6\xE0");
    EXPECT_EQ(cyrillic.decode(bytes), "\xD0\x96\xD0\xB0");
    EXPECT_FALSE(cyrillic.encode("Caf\xC3\xA9", bytes));
}

TEST(AnsiCodePage, MalformedUtf8HasNoBytes) {
    const AnsiCodePage cp(1252);
    std::string bytes;
    EXPECT_FALSE(cp.encode("bad\xC3", bytes));
}

TEST(AnsiCodePage, DefaultsToTheSystemsCodePage) {
    EXPECT_EQ(AnsiCodePage().id(), GetACP());
}

// The hook: the data files follow the code page the program installs at start.
TEST(AnsiCodePage, InstalledCodePageDecidesTheBytesOfTheDataFiles) {
    static const AnsiCodePage cyrillic(1251);
    SetActiveCodePage(cyrillic);
    const std::string encoded = EncodeLines({"\xD0\x96"});
    const std::vector<std::string> decoded = DecodeLines("\xC6\r\n");
    SetActiveCodePage(Windows1252());

    EXPECT_EQ(encoded, "\xC6\r\n");
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(decoded[0], "\xD0\x96");
    // Back on the default, the same letter needs UTF-8.
    EXPECT_EQ(EncodeLines({"\xD0\x96"}), "\xD0\x96\r\n");
}

// ---- file dialogs -------------------------------------------------------------------------------

TEST(FileDialogFilter, PairsDescriptionsAndPatternsEndedByTwoNuls) {
    const std::wstring f =
        FileDialogFilter({{"Tabbern Files (*.tbn)", "*.tbn"}, {"All Files", "*.txt;*.*"}});
    EXPECT_EQ(f, L"Tabbern Files (*.tbn)\0*.tbn\0All Files\0*.txt;*.*\0\0"s);
}

TEST(FileDialogFilter, BlankPatternsOfferEveryFileAndBlanksAroundPatternsGo) {
    EXPECT_EQ(FileDialogFilter({{"Anything", "  "}}), L"Anything\0*.*\0\0"s);
    EXPECT_EQ(FileDialogFilter({{"", " *.tbn "}}), L"*.tbn\0*.tbn\0\0"s);
    EXPECT_EQ(FileDialogFilter({}), L"\0"s);
}

// ---- the Run value and the command line -------------------------------------------------------

TEST(RunValue, QuotesThePathSoThatBlanksDoNotSplitIt) {
    EXPECT_EQ(QuotedRunCommand("C:\\Program Files\\Tabbern\\tabbern.exe"),
              "\"C:\\Program Files\\Tabbern\\tabbern.exe\"");
    EXPECT_EQ(QuotedRunCommand("C:\\\\tabbern.exe"), "\"C:\\\\tabbern.exe\"");
    // Already quoted: left alone rather than quoted twice.
    EXPECT_EQ(QuotedRunCommand("\"C:\\a b\\tabbern.exe\""), "\"C:\\a b\\tabbern.exe\"");
}

TEST(CommandLine, DropsTheProgramNameQuotedOrNot) {
    EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Tabbern\\tabbern.exe\"  abc x"), L"abc x");
    EXPECT_EQ(ArgumentsOf(L"tabbern.exe a"), L"a");
    EXPECT_EQ(ArgumentsOf(L"  tabbern.exe"), L"");
    EXPECT_EQ(ArgumentsOf(L"\"C:\\a b\\t.exe\""), L"");
    EXPECT_EQ(ArgumentsOf(L""), L"");
    // A quote that never closes takes the rest as the program's name.
    EXPECT_EQ(ArgumentsOf(L"\"C:\\a b c"), L"");
}

// ---- twips and paths -------------------------------------------------------------------------

TEST(Twips, RoundToTheNearestPixelEitherSideOfZero) {
    EXPECT_EQ(TwipsToPixels(3750, 15), 250);
    EXPECT_EQ(TwipsToPixels(-120, 15), -8);
    EXPECT_EQ(TwipsToPixels(7, 15), 0);
    EXPECT_EQ(TwipsToPixels(8, 15), 1);
    EXPECT_EQ(TwipsToPixels(-8, 15), -1);
    // 120 dots per inch: 12 twips a pixel.
    EXPECT_EQ(TwipsToPixels(3750, 12), 313);
    EXPECT_EQ(TwipsToPixels(100, 0), 0);
}

TEST(ProgramPath, FolderKeepsTheRootsBackslashOnly) {
    EXPECT_EQ(FolderOfPath(L"C:\\Tools\\Tabbern\\tabbern.exe"), L"C:\\Tools\\Tabbern");
    EXPECT_EQ(FolderOfPath(L"C:\\tabbern.exe"), L"C:\\");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\tabbern.exe"), L"\\\\server\\share");
    EXPECT_EQ(BaseNameOfPath(L"C:\\Tools\\My.Tabbern.exe"), L"My.Tabbern");
    EXPECT_EQ(BaseNameOfPath(L"C:\\Tools\\tabbern"), L"tabbern");
    EXPECT_EQ(BaseNameOfPath(L"C:\\a.b\\tabbern"), L"tabbern");
}

} // namespace
} // namespace tabbern::win32
