// What the program writes it reads back unchanged, whichever encoding the text needs. Kept from
// the fuzzing: text whose code-page bytes would pass for UTF-8, or begin like a byte-order mark,
// used to be written in the code page and read back as other text.
#include "editing/EditingFixture.h"

#include "sharing/Sharing.h"
#include "store/TextFile.h"

namespace tabbern::test {
namespace {

using namespace std::string_literals;

struct ReadBackCase {
    std::string what;
    std::vector<std::string> lines;
    std::string bytes; // the file written
};

TEST(ReadBack, WrittenLinesReadBackTheSame) {
    const ReadBackCase cases[] = {
        {"plain ASCII stays ASCII", {"abc", ""}, "abc\r\n\r\n"},
        {"a character of the code page is written in the code page",
         {"Caf\xC3\xA9"},
         "Caf\xE9\r\n"},
        {"code-page bytes that would pass for UTF-8 go as UTF-8",
         {"Caf\xC3\x83\xC2\xA9 Paris"}, // "CafÃ© Paris", a page title in mojibake
         "Caf\xC3\x83\xC2\xA9 Paris\r\n"},
        {"code-page bytes that would begin like a byte-order mark go as UTF-8",
         {"\xC3\xAF\xC2\xBB\xC2\xBF" // "ï»¿"
          "8W8\xC3\x83WW[[[\xC3\x82\xC2\xA9 \xE2\x82\xACH8"},
         "\xC3\xAF\xC2\xBB\xC2\xBF"
         "8W8\xC3\x83WW[[[\xC3\x82\xC2\xA9 \xE2\x82\xACH8\r\n"},
        {"a text that begins with U+FEFF keeps it behind a byte-order mark",
         {"\xEF\xBB\xBFx", "y"},
         "\xEF\xBB\xBF\xEF\xBB\xBFx\r\ny\r\n"},
        {"a character outside the code page makes the whole file UTF-8",
         {"\xC3\xA9", "\xE4\xBE\x8B"},
         "\xC3\xA9\r\n\xE4\xBE\x8B\r\n"},
    };
    for (const ReadBackCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EncodeLines(c.lines), c.bytes);
        EXPECT_EQ(DecodeLines(c.bytes), c.lines);
    }
}

TEST(ReadBack, TheFuzzedFileThatBeganWithTwoByteOrderMarks) {
    // A byte-order mark, then the bytes of "ï»¿" and a line that is not UTF-8: read in the code
    // page, its line begins with "ï»¿", which the code page would write as a byte-order mark.
    const std::string found = "\xEF\xBB\xBF\xEF\xBB\xBF\x38\x57\x38\xC3\x57\x57\x5B\x5B\x5B\xC2"
                              "\xA9\x20\x80\x48\x38";
    const std::vector<std::string> lines = DecodeLines(found);
    ASSERT_EQ(lines, (std::vector<std::string>{"\xC3\xAF\xC2\xBB\xC2\xBF"
                                               "8W8\xC3\x83WW[[[\xC3\x82\xC2\xA9 \xE2\x82\xACH8"}));
    EXPECT_EQ(DecodeLines(EncodeLines(lines)), lines);
}

TEST(ReadBack, AppendedLinesReadBackAfterTheFilesOwn) {
    struct Case {
        std::string what;
        std::string file;               // before
        std::vector<std::string> added; // lines appended
        std::string after;              // the file's bytes afterwards
    };
    const Case cases[] = {
        {"code-page lines after an ASCII file keep the code page",
         "a\r\n",
         {"Caf\xC3\xA9"},
         "a\r\nCaf\xE9\r\n"},
        {"lines whose code-page bytes would pass for UTF-8 are appended as UTF-8",
         "a\r\n",
         {"Caf\xC3\x83\xC2\xA9"},
         "a\r\nCaf\xC3\x83\xC2\xA9\r\n"},
        {"such lines after a code-page file stay in the code page, which reads them right",
         "caf\xE9\r\n",
         {"\xC3\x83\xC2\xA9"},
         "caf\xE9\r\n\xC3\xA9\r\n"},
        {"a UTF-8 file stays UTF-8", "\xC3\xA9\r\n", {"\xC3\xA8"}, "\xC3\xA9\r\n\xC3\xA8\r\n"},
        {"a character outside the code page moves a code-page file to UTF-8",
         "caf\xE9",
         {"\xE4\xBE\x8B"},
         "caf\xC3\xA9\r\n\xE4\xBE\x8B\r\n"},
        {"a first line beginning with U+FEFF in an empty file",
         "",
         {"\xEF\xBB\xBFx"},
         "\xEF\xBB\xBF\xEF\xBB\xBFx\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string path = dir.file("file.txt");
        WriteBytes(path, c.file);
        std::vector<std::string> expected = DecodeLines(c.file);
        expected.insert(expected.end(), c.added.begin(), c.added.end());

        AppendTextLines(path, c.added);

        EXPECT_EQ(ReadBytes(path), c.after);
        EXPECT_EQ(ReadTextLines(path), expected);
    }
}

// The same through the program: a bookmark named in mojibake, as many page titles are.
using ReadBackProgram = EditingTest;

TEST_F(ReadBackProgram, TheFuzzedStoreLoadsTheSameAfterARewrite) {
    // A header line with two bytes that are not UTF-8, so the whole file reads in the code
    // page, and a record in UTF-8. The rewrite puts the right header line back, after which
    // the code-page bytes of the record alone would have passed for UTF-8.
    const std::string found =
        "[ www.tabbern.example - Tabbern - Many eagour Bookmarks and Favorite websites with any "
        "web br\xFF\x01owser - www.tabbern.example ]\n"
        "[r]0[n]\xC3\x89t\xC3\xA9 \xC3\xBCnd \xE2\x82\xAC[g]Gr\xC3\xBC\xC3\x9F"
        "e[d]1/2/2025[l][u]https://\xE4\xBE\x8B\xE3\x81\x88.jp\n";
    const std::string name = "\xC3\x83\xE2\x80\xB0t\xC3\x83\xC2\xA9 \xC3\x83\xC2\xBCnd "
                             "\xC3\xA2\xE2\x80\x9A\xC2\xAC"; // "Ã‰tÃ© Ã¼nd â‚¬"
    PrepareFolders();
    WriteBytes(DataFile("tabbern.dat"), found);
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 1);
    ASSERT_EQ(app.bookmarks.at(0, kColName), name);

    RewriteStore(app, RowHasRecordNumber);
    LoadStore(app);

    EXPECT_EQ(app.recordCount, 1);
    EXPECT_EQ(app.bookmarks.at(0, kColName), name);
}

TEST_F(ReadBackProgram, AMojibakeNameSurvivesTheSaveAndTheReload) {
    WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    OnShow("frmAddName", [this](Form&) {
        TypeAndSave(app.frmAddName, "Caf\xC3\x83\xC2\xA9 Paris", "Work", "http://cafe.example");
    });

    ASSERT_TRUE(Click(app.main.menuaddname));

    EXPECT_EQ(app.main.List1.items(), (Names{"One", "Caf\xC3\x83\xC2\xA9 Paris"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                                            Rec(1, "Caf\xC3\x83\xC2\xA9 Paris", "Work",
                                                "http://cafe.example", fake.today)}));
}

TEST_F(ReadBackProgram, AMojibakeNameSurvivesAShareImport) {
    WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string line = Rec(7, "Caf\xC3\x83\xC2\xA9", "Work", "http://cafe.example");
    const std::string path = dir.file("in.tbn");
    WriteBytes(path, FileWithHeader({line}));
    OnShow("frmAddConfirm", [this](Form&) { app.frmAddConfirm.Command1.click(); });
    fake.openAnswers.push_back(path);

    ASSERT_TRUE(Click(app.main.menuimportfromtabbernfile));

    EXPECT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.bookmarks.at(1, kColName), "Caf\xC3\x83\xC2\xA9");
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one.example"), line}));
}

} // namespace
} // namespace tabbern::test
