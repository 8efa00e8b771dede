// The edit dialog: what it shows, what a save changes, and when there is nothing to edit.
#include "editing/EditingFixture.h"

namespace tabbern::test {
namespace {

using EditBookmark = EditingTest;

TEST_F(EditBookmark, NothingToEditHidesTheDialogWithOneOfTwoMessages) {
    WriteStore({}, {"Empty"});
    ASSERT_TRUE(StartList());
    bool scriptRan = false;
    OnShow("frmEditName", [&](Form&) { scriptRan = true; });

    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(Messages(), (Names{"There Are No Bookmark's To Edit"}));
    EXPECT_FALSE(scriptRan);

    // Bookmarks exist, but the group shown holds none.
    WriteStore({Record("One", "Work", "http://one.example")}, {"Empty", "Work"});
    fake.messages.clear();
    ASSERT_TRUE(Run([&] { LoadStore(app); }));
    ChooseGroup("Empty");
    ASSERT_TRUE(app.main.List1.items().empty());
    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(Messages(), (Names{"There No Bookmark's To Edit"}));
    EXPECT_FALSE(scriptRan);
}

TEST_F(EditBookmark, ShowFillsTheBoxesFromTheSelection) {
    WriteStore({Record(" One ", " work ", "http://one.example")}, {"Home", "Work"});
    ASSERT_TRUE(StartList());
    Pick(" One ");
    OnShow("frmEditName", [&](Form&) {
        const EditNameForm& d = app.frmEditName;
        EXPECT_EQ(d.Text1.text(), "One");
        EXPECT_EQ(d.Text3.text(), "http://one.example");
        EXPECT_EQ(d.Combo1.items(), (Names{"Home", "Work"}));
        EXPECT_EQ(d.Combo1.listIndex(), 1);
        EXPECT_EQ(d.Combo1.text(), "Work");
        EXPECT_EQ(d.focusedControl(), "Text1");
    });
    ASSERT_TRUE(Click(app.main.menunamesedit));
}

TEST_F(EditBookmark, AnUnlistedGroupIsOfferedAndKeptBySavingUnchanged) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    // An add with a blank group box leaves the bookmark in a group the group file lacks.
    OnShow("frmAddName", [&](Form&) { TypeAndSave(app.frmAddName, "Two", "", "two.example"); });
    ASSERT_TRUE(Click(app.main.menuaddname));
    Pick("Two");
    OnShow("frmEditName", [&](Form&) {
        EXPECT_EQ(app.frmEditName.Combo1.text(), "Misc - 12/6/2026");
        app.frmEditName.Command1.click();
    });

    ASSERT_TRUE(Click(app.main.menunamesedit));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Misc - 12/6/2026", "www.two.example", "12/6/2026")}));
}

TEST_F(EditBookmark, AfterASortByUrlTheSecondListedBookmarkIsTheOneChanged) {
    WriteStore({Record("Ca", "Work", "http://c.example", "1/1/2025", "1/3/2025"),
                Record("Aa", "Work", "http://a.example", "1/1/2025", "1/4/2025"),
                Record("Ba", "Work", "http://b.example", "1/1/2025", "1/5/2025")},
               {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    ASSERT_EQ(app.main.List1.items(), (Names{"Aa", "Ba", "Ca"}));
    Pick("Ba");
    OnShow("frmEditName",
           [&](Form&) { TypeAndSave(app.frmEditName, " Bee ", "Work", "bee.example"); });

    ASSERT_TRUE(Click(app.main.menunamesedit));

    EXPECT_TRUE(Messages().empty());
    // Date added becomes today; last accessed stays.
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "Aa", "Work", "http://a.example", "1/1/2025", "1/4/2025"),
                              Rec(1, "Bee", "Work", "www.bee.example", "12/6/2026", "1/5/2025"),
                              Rec(2, "Ca", "Work", "http://c.example", "1/1/2025", "1/3/2025")}));
    EXPECT_EQ(app.main.List1.selectedText(), "Bee");
    EXPECT_FALSE(app.frmEditName.visible());
}

TEST_F(EditBookmark, ClearingTheGroupGivesTheMiscGroupOfToday) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string groupsBefore = GroupBytes();
    OnShow("frmEditName",
           [&](Form&) { TypeAndSave(app.frmEditName, "One", "  ", "http://one.example"); });

    ASSERT_TRUE(Click(app.main.menunamesedit));

    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Misc - 12/6/2026", "http://one.example",
                                                "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), groupsBefore);
}

TEST_F(EditBookmark, RenamingOntoAnotherNameSelectsTheFirstOfTheTwo) {
    WriteStore(
        {Record("Alpha", "Work", "http://a.example"), Record("Beta", "Work", "http://b.example")},
        {"Work"});
    ASSERT_TRUE(StartList());
    Pick("Beta");
    OnShow("frmEditName",
           [&](Form&) { TypeAndSave(app.frmEditName, "ALPHA", "Work", "http://b.example"); });

    ASSERT_TRUE(Click(app.main.menunamesedit));

    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "ALPHA"}));
    EXPECT_EQ(app.main.List1.listIndex(), 0);
    EXPECT_EQ(app.main.List2.listIndex(), 0);
    EXPECT_EQ(app.selectedUrl, "http://a.example");
}

TEST_F(EditBookmark, RefusalsKeepTheDialogOpenAndWriteNothing) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = StoreBytes();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"  ", "Work", "http://one.example"}, "Bookmark Name Cannot Be Blank"},
        {{"One", "Work", " "}, "Please Enter A URL"},
        {{"[d]", "Work", "http://one.example"},
         "A Bookmark Name Cannot Contain [r], [n], [g], [d], [l] Or [u]"},
        {{"One", "[L]", "http://one.example"},
         "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]"},
        {{"One", "All Groups", "http://one.example"},
         "Cannot Use The Name <ALL GROUPS> For A Group Name"},
        {{"One", "Work", "http://one.example/[R]"},
         "A URL Cannot Contain [r], [n], [g], [d], [l] Or [u]"},
    };
    for (const auto& [typed, message] : cases) {
        fake.messages.clear();
        OnShow("frmEditName", [&](Form&) {
            TypeAndSave(app.frmEditName, typed[0], typed[1], typed[2]);
            EXPECT_TRUE(app.frmEditName.visible()) << message;
        });
        ASSERT_TRUE(Click(app.main.menunamesedit));
        EXPECT_EQ(Messages(), (Names{message}));
        EXPECT_EQ(StoreBytes(), before) << message;
    }
}

TEST_F(EditBookmark, ARecordNumberNoRowHoldsChangesNothing) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = StoreBytes();
    OnShow("frmEditName", [&](Form&) {
        app.frmEditName.editedRecord = "7";
        TypeAndSave(app.frmEditName, "Changed", "Work", "http://changed.example");
    });

    ASSERT_TRUE(Click(app.main.menunamesedit));

    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(app.bookmarks.at(0, kColName), "One");
    EXPECT_EQ(app.bookmarks.at(7, kColName), "");
}

} // namespace
} // namespace tabbern::test
