// The share file: the export of a group or of All Groups, and its import.
#include "support/AppFixture.h"

#include "sharing/Sharing.h"
#include "store/Store.h"
#include "store/Text.h"

#include <cerrno>
#include <system_error>

namespace tabbern::test {
namespace {

using namespace std::string_literals;
using ShareFileTest = AppTest;

TEST_F(ShareFileTest, AnExportWritesTheGroupsRowsOrEveryNamedRowWithTheUrlsCompleted) {
    ASSERT_TRUE(StartWith({Rec(0, "One", "Work", "one.example/page", "1/1", "2/1"),
                           Rec(1, "Two", "Home", "http://two"),
                           Rec(2, "  ", " WORK ", "HTTPS://Three.Example/A")},
                          {"Home", "Work", "Empty"}));
    app.bookmarks.at(0, kColUrl) = " one.example/page ";
    const std::string folder = dir.makeDir("shared");
    const std::string one = folder + "/all", two = folder + "/work.tbn", three = folder + "/e";
    WriteBytes(one, "an older file");
    fake.saveAnswers = {one, "  " + two + " ", three};
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    ChooseGroup("Work");
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    app.main.Combo1.setText(" EMPTY ");
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));

    EXPECT_EQ(ReadBytes(one),
              FileWithHeader({Rec(0, "One", "Work", "www.one.example/page", "1/1", "2/1"),
                              Rec(1, "Two", "Home", "http://two")}));
    EXPECT_EQ(ReadBytes(two),
              FileWithHeader({Rec(0, "One", "Work", "www.one.example/page", "1/1", "2/1"),
                              Rec(2, "  ", " WORK ", "HTTPS://Three.Example/A")}));
    EXPECT_EQ(ReadBytes(three), FileWithHeader({}));
    EXPECT_EQ(app.bookmarks.at(0, kColUrl), "www.one.example/page");

    // A place it cannot write is said, and the program goes on.
    const std::string path = File("no such folder/share.tbn");
    fake.saveAnswers = {path};
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    EXPECT_EQ(Messages().back(),
              "Cannot Write The File:\r" + path + "\r" + std::generic_category().message(ENOENT));
}

TEST_F(ShareFileTest, AnImportAppendsTheRecordLinesAsReadAndAddsTheirGroups) {
    ASSERT_TRUE(StartWith({Rec(0, "One", "Work", "http://one")}, {"Work"}));
    std::string header = HeaderLine();
    for (char& c : header)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string path = File("in.tbn");
    WriteBytes(
        path,
        "  " + header +
            " \r[R]5[N] Two [G]Home[D]1/5[L][U]http://two  \rno tags\r\r"
            "[n]x\0y[r]0[g]Any[d][l][u]u\r[r]7[n]Caf\xE9[g]Work[d]1/6[l]2/6[u] three.example\r"s);
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(),
                  "Two\r\nhttp://two\r\nx\0y\r\nu\r\nCaf\xC3\xA9\r\nthree.example\r\n"s);
        d.Command1.click();
    });

    ASSERT_TRUE(ImportShare("  " + path + " "));

    // Tags in any order are written in the order that loads.
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one"),
                                            "[R]5[N] Two [G]Home[D]1/5[L][U]http://two",
                                            "[r]0[n]x\0y[g]Any[d][l][u]u"s,
                                            "[r]7[n]Caf\xE9[g]Work[d]1/6[l]2/6[u] three.example"}));
    EXPECT_EQ(LoadedNames(), (Names{"One", " Two ", "x\0y"s, "Caf\xC3\xA9"}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Home", "Any"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ShareFileTest, AFileWithNothingToImportIsSaidBeforeTheConfirmationAndACancelStoresNothing) {
    ASSERT_TRUE(StartWith({Rec(0, "One", "Work", "http://one")}, {"Work"}));
    const std::string before = StoreBytes();
    const std::pair<std::string, std::string> files[] = {
        {"header.tbn", FileWithHeader({"not a record"})},
        {"wrong.tbn", "[ some other file ]\r\n" + Rec(0, "S", "g", "u") + "\r\n"},
        {"empty.tbn", ""},
        {"nul.tbn", std::string(512, '\0')},
    };
    for (const auto& [name, bytes] : files) {
        WriteBytes(File(name), bytes);
        ASSERT_TRUE(ImportShare(File(name)));
    }
    for (const std::string& path : {File("missing.tbn"), ""s, " *.TBN "s})
        ASSERT_TRUE(ImportShare(path));
    WriteBytes(File("in.tbn"), FileWithHeader({Rec(0, "S", "g", "u")}));
    ConfirmImport(false);
    ASSERT_TRUE(ImportShare(File("in.tbn")));

    Names said(3, "Not A Valid Tabbern Data File");
    said.push_back("Cannot Read The File:\r" + File("missing.tbn") + "\r" +
                   std::generic_category().message(ENOENT));
    EXPECT_EQ(Messages(), said);
    EXPECT_EQ(std::count(fake.shownForms.begin(), fake.shownForms.end(), "frmAddConfirm"), 1);
    EXPECT_EQ(StoreBytes(), before);
}

TEST(ShareImportCapacity, AFileThatReachesTheFreeCapacityIsRefusedWhole) {
    const std::tuple<int, int, std::string> cases[] = {
        {995, 4, ""}, {995, 5, "5"}, {1000, 1, "0"}, {0, 1005, "1000"}};
    for (const auto& [stored, shared, refused] : cases) {
        SCOPED_TRACE(testing::Message() << stored << " " << shared);
        TestProgram p;
        Names records, lines;
        for (int i = 0; i < stored; ++i)
            records.push_back(Rec(i, "B", "Work", "http://b"));
        for (int i = 0; i < shared; ++i)
            lines.push_back(Rec(i, "S", "Work", "http://s"));
        ASSERT_TRUE(p.StartWith(records, {"Work"}));
        p.fake.messages.clear();
        WriteBytes(p.File("in.tbn"), FileWithHeader(lines));
        p.ConfirmImport();
        const std::string before = p.StoreBytes();
        ASSERT_TRUE(p.ImportShare(p.File("in.tbn")));
        EXPECT_EQ(p.Messages(), refused.empty() ? Names{}
                                                : Names{"Maximum Database Record Count of " +
                                                        refused + "Bookmarks Reached! Remove " +
                                                        refused + "Bookmarks and Re-Import"});
        EXPECT_EQ(p.app.recordCount, refused.empty() ? stored + shared : stored);
        EXPECT_EQ(p.StoreBytes() == before, !refused.empty());
    }
}

} // namespace
} // namespace tabbern::test
