// The Windows layer's pure helpers: UTF-8 and UTF-16, the ANSI code page behind the data
// files, the file dialogs' filter list, the Run value's quoting, the command line, twips and the
// paths the program reports about itself.
#include "platform/win32/Text.h"
#include "store/CodePage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tabbern::win32 {
namespace {

using namespace std::string_literals;

TEST(Utf, RoundTripsEveryPlaneAndMarksMalformedInput) {
    // The bookmark sign takes a surrogate pair in UTF-16.
    const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\x96 a\0b"s;
    EXPECT_EQ(Widen(text), L"Caf\u00E9 \u20AC \U0001F516 a\0b"s);
    EXPECT_EQ(Narrow(Widen(text)), text);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Widen("ok\xFF"), L"ok\uFFFD");
}

TEST(AnsiCodePage, HoldsItsOwnLettersAndRefusesOthersInsteadOfBestFit) {
    // the code page, the text, its bytes there (nullptr: refused)
    const std::tuple<unsigned, std::string, const char*> cases[] = {
        {1252, "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D", "Caf\xE9 \x80 \x93q\x94"},
        {1252, "why?", "why?"},
        // The system's best fit would write a plain A for A with macron.
        {1252, "Ma\xC4\x81ori", nullptr},
        {1252, "\xD0\x96", nullptr},
        {1252, "bad\xC3", nullptr},
        {1251, "\xD0\x96\xD0\xB0", "\xC6\xE0"},
        {1251, "Caf\xC3\xA9", nullptr},
    };
    for (const auto& [codePage, utf8, expected] : cases) {
        SCOPED_TRACE(utf8);
        const AnsiCodePage cp(codePage);
        std::string bytes, builtIn;
        ASSERT_EQ(cp.encode(utf8, bytes), expected != nullptr);
        if (!expected)
            continue;
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(cp.decode(bytes), utf8);
        // The core's own table for 1252 agrees with the system's.
        EXPECT_TRUE(codePage != 1252 || (Windows1252().encode(utf8, builtIn) && builtIn == bytes));
    }
    EXPECT_EQ(AnsiCodePage().id(), GetACP());
}

TEST(Helpers, FileDialogFiltersRunValuesCommandLinesTwipsAndPaths) {
    EXPECT_EQ(FileDialogFilter({{"Tabbern Files (*.tbn)", "*.tbn"}, {"All Files", "*.txt;*.*"}}),
              L"Tabbern Files (*.tbn)\0*.tbn\0All Files\0*.txt;*.*\0\0"s);
    // A blank pattern offers every file; blanks around a pattern go.
    EXPECT_EQ(FileDialogFilter({{"Anything", "  "}, {"", " *.tbn "}}),
              L"Anything\0*.*\0*.tbn\0*.tbn\0\0"s);
    EXPECT_EQ(FileDialogFilter({}), L"\0"s);

    // Quoted so that blanks do not split the path; already quoted, left alone.
    EXPECT_EQ(QuotedRunCommand("C:\\Program Files\\tabbern.exe"),
              "\"C:\\Program Files\\tabbern.exe\"");
    EXPECT_EQ(QuotedRunCommand("\"C:\\a b\\tabbern.exe\""), "\"C:\\a b\\tabbern.exe\"");

    for (const auto& [line, arguments] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"\"C:\\Program Files\\Tabbern\\tabbern.exe\"  abc x", L"abc x"},
             {L"tabbern.exe a", L"a"},
             {L"  tabbern.exe", L""},
             {L"", L""},
             // A quote that never closes takes the rest as the program's name.
             {L"\"C:\\a b c", L""}})
        EXPECT_EQ(ArgumentsOf(line), arguments) << Narrow(line);

    // Rounded to the nearest pixel either side of zero; 120 dots per inch is 12 twips a pixel.
    const std::tuple<double, double, int> rounding[] = {
        {3750, 15, 250}, {-120, 15, -8},  {7, 15, 0}, {8, 15, 1},
        {-8, 15, -1},    {3750, 12, 313}, {100, 0, 0}};
    for (const auto& [twips, perPixel, pixels] : rounding)
        EXPECT_EQ(TwipsToPixels(twips, perPixel), pixels) << twips << " " << perPixel;

    // A folder keeps its backslash only at a drive's root.
    EXPECT_EQ(FolderOfPath(L"C:\\Tools\\Tabbern\\tabbern.exe"), L"C:\\Tools\\Tabbern");
    EXPECT_EQ(FolderOfPath(L"C:\\tabbern.exe"), L"C:\\");
    EXPECT_EQ(FolderOfPath(L"\\\\server\\share\\tabbern.exe"), L"\\\\server\\share");
    EXPECT_EQ(BaseNameOfPath(L"C:\\Tools\\My.Tabbern.exe"), L"My.Tabbern");
    EXPECT_EQ(BaseNameOfPath(L"C:\\a.b\\tabbern"), L"tabbern");
}

} // namespace
} // namespace tabbern::win32
