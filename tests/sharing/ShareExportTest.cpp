// The share file export: which rows reach the file, its bytes, and the messages around it.
#include "sharing/SharingFixture.h"

#include <cerrno>
#include <system_error>

namespace tabbern::test {
namespace {

using ShareExport = SharingTest;

TEST_F(ShareExport, AGroupIsWrittenWithItsUrlsCompletedInFileAndTable) {
    WriteStore({Rec(0, "One", "Work", "http://one.example", "1/1/2025", "2/1/2025"),
                Rec(1, "Two", "Home", "http://two.example"),
                Rec(2, "Three", " WORK ", "HTTPS://Three.Example/A", "1/3/2025"),
                Rec(3, "  ", "work", "http://nameless.example")},
               {"Home", "Work"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Work");
    app.bookmarks.at(0, kColUrl) = "  one.example/page ";
    const std::string path = SharePath("work.tbn");
    fake.saveAnswers.push_back("  " + path + " ");

    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));

    // Group rows match in any case and with blanks; a group export does not test the name.
    // An empty last-accessed date leaves "[l]" right before "[u]".
    EXPECT_EQ(ReadBytes(path),
              FileWithHeader({Rec(0, "One", "Work", "www.one.example/page", "1/1/2025", "2/1/2025"),
                              Rec(2, "Three", " WORK ", "HTTPS://Three.Example/A", "1/3/2025"),
                              Rec(3, "  ", "work", "http://nameless.example")}));
    EXPECT_EQ(app.bookmarks.at(0, kColUrl), "www.one.example/page");
    EXPECT_EQ(Messages(), Names{"Your Export of Group <Work> to <" + path + "> Is Complete"});
    ASSERT_EQ(fake.fileDialogs.size(), 1u);
    EXPECT_EQ(fake.fileDialogs[0].fileName, "");
    ASSERT_EQ(fake.fileDialogs[0].filters.size(), 1u);
    EXPECT_EQ(fake.fileDialogs[0].filters[0].pattern, "*.tbn");
}

TEST_F(ShareExport, AllGroupsWritesEveryNamedRowInTableOrder) {
    WriteStore({Record("B", "Work", "http://b.example"), Record(" ", "Work", "http://x.example"),
                Record("A", "", "www.a.example", "1/1/2025", "3/3/2025")},
               {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_EQ(app.main.Combo1.text(), "All Groups");
    const std::string path = SharePath("all");
    WriteBytes(path, "an older file");
    fake.saveAnswers.push_back(path);

    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));

    // The name is kept as typed, without an extension; the older file is replaced.
    EXPECT_EQ(ReadBytes(path),
              FileWithHeader({Rec(0, "B", "Work", "http://b.example"),
                              Rec(2, "A", "", "www.a.example", "1/1/2025", "3/3/2025")}));
    EXPECT_EQ(Messages(), Names{"Your Export of All Groups to " + path + "> Is Complete"});
}

TEST_F(ShareExport, ASelectorTextWithoutBookmarksGivesTheHeaderOnlyAndIsShownAsTyped) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work", "Empty"});
    ASSERT_TRUE(StartList());
    app.main.Combo1.setText("  EMPTY ");
    const std::string path = SharePath("empty.tbn");
    fake.saveAnswers.push_back(path);

    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));

    EXPECT_EQ(ReadBytes(path), HeaderLine() + "\r\n");
    EXPECT_EQ(Messages(), Names{"Your Export of Group <  EMPTY > to <" + path + "> Is Complete"});
}

TEST_F(ShareExport, RefusalsAndACancelledDialogWriteNothing) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    app.main.Combo1.setText("   ");
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    EXPECT_EQ(Messages(), (Names{"There Is Nothing To Export. The Database File Is Empty.",
                                 "No Group Selected"}));
    EXPECT_TRUE(fake.fileDialogs.empty());

    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(Run([&] { LoadStore(app); }));
    app.main.Combo1.setText("Work");
    fake.messages.clear();
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));
    EXPECT_EQ(fake.fileDialogs.size(), 1u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ShareExport, APlaceThatCannotBeWrittenIsReportedAndTheProgramGoesOn) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string path = dir.file("no such folder/share.tbn");
    fake.saveAnswers.push_back(path);

    EXPECT_TRUE(Click(app.main.menuexporttotabbernfile));

    EXPECT_EQ(Messages(), Names{"Cannot Write The File:\r" + path + "\r" +
                                std::generic_category().message(ENOENT)});
    EXPECT_FALSE(Exists(path));
}

} // namespace
} // namespace tabbern::test
