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
    WriteStore({Rec(0, "One", "Work", "one.example/page", "1/1", "2/1"),
                Rec(1, "Two", "Home", "http://two"),
                Rec(2, "  ", " WORK ", "HTTPS://Three.Example/A")},
               {"Home", "Work", "Empty"});
    ASSERT_TRUE(Start());
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
    EXPECT_EQ(Messages(), (Names{"Your Export of All Groups to " + one + "> Is Complete",
                                 "Your Export of Group <Work> to <" + two + "> Is Complete",
                                 "Your Export of Group < EMPTY > to <" + three + "> Is Complete"}));
    EXPECT_EQ(fake.fileDialogs.at(0).filters.at(0).pattern, "*.tbn");
}

TEST_F(ShareFileTest, AnExportRefusesAnEmptyStoreOrSelectorAndReportsAPlaceItCannotWrite) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Run([&] { LoadStore(app); }));
    app.main.Combo1.setText("   ");
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    EXPECT_TRUE(fake.fileDialogs.empty());
    app.main.Combo1.setText("Work");
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile)); // cancelled
    const std::string path = File("no such folder/share.tbn");
    fake.saveAnswers = {path};
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    EXPECT_EQ(Messages(),
              (Names{"There Is Nothing To Export. The Database File Is Empty.", "No Group Selected",
                     "Cannot Write The File:\r" + path + "\r" +
                         std::generic_category().message(ENOENT)}));
}

TEST_F(ShareFileTest, AnImportAppendsTheRecordLinesAsReadAndAddsTheirGroups) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
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
        EXPECT_FALSE(d.GroupList.visible());
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
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Any", "Home", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(fake.fileDialogs.at(0).filters.at(0).pattern, "*.tbn");
}

TEST_F(ShareFileTest, TheGroupAddedIsTheLastLinesOrTodaysMiscGroup) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(Start());
    ConfirmImport();
    const std::string path = File("in.tbn");
    WriteBytes(path, FileWithHeader({Rec(0, "A", "Alpha", "http://a"), Rec(0, "B", "", "http://b"),
                                     "trailing"}));
    ASSERT_TRUE(ImportShare(path));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Misc - 12/6/2026", "Alpha"}));
    WriteBytes(path, FileWithHeader({Rec(0, "C", "Gamma", "http://c")}));
    ASSERT_TRUE(ImportShare(path));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Alpha", "Misc - 12/6/2026", "Work", "Gamma"}));
}

TEST_F(ShareFileTest, AFileWithNothingToImportIsSaidBeforeTheConfirmationAndACancelStoresNothing) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
    const std::string before = StoreBytes(), groups = GroupBytes();
    const std::pair<std::string, std::string> files[] = {
        {"header.tbn", Lines({HeaderLine(), "not a record"})},
        {"wrong.tbn", Lines({"[ some other file ]", Rec(0, "S", "g", "u")})},
        {"empty.tbn", ""},
        {"nul.tbn", std::string(512, '\0')},
    };
    for (const auto& [name, bytes] : files) {
        WriteBytes(File(name), bytes);
        ASSERT_TRUE(ImportShare(File(name)));
    }
    dir.makeDir("folder.tbn");
    for (const std::string& path : {File("missing.tbn"), File("folder.tbn"), ""s, " *.TBN "s})
        ASSERT_TRUE(ImportShare(path));
    WriteBytes(File("in.tbn"), FileWithHeader({Rec(0, "S", "g", "u")}));
    ConfirmImport(false);
    ASSERT_TRUE(ImportShare(File("in.tbn")));

#ifdef _WIN32
    const int folderReason = EACCES;
#else
    const int folderReason = EISDIR;
#endif
    Names said(3, "Not A Valid Tabbern Data File");
    const std::pair<const char*, int> unread[] = {{"missing.tbn", ENOENT},
                                                  {"folder.tbn", folderReason}};
    for (const auto& [name, reason] : unread)
        said.push_back("Cannot Read The File:\r" + File(name) + "\r" +
                       std::generic_category().message(reason));
    EXPECT_EQ(Messages(), said);
    EXPECT_EQ(fake.shownForms.back(), "frmAddConfirm");
    EXPECT_EQ(std::count(fake.shownForms.begin(), fake.shownForms.end(), "frmAddConfirm"), 1);
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(GroupBytes(), groups);
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
        p.WriteStore(records, {"Work"});
        ASSERT_TRUE(p.Start());
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
        if (!refused.empty()) {
            EXPECT_EQ(p.StoreBytes(), before);
        }
    }
}

} // namespace
} // namespace tabbern::test
