// Adding, renaming and deleting groups: the selector, the group file and the bookmarks.
#include "support/AppFixture.h"

#include "editing/Editing.h"

namespace tabbern::test {
namespace {

using GroupsTest = AppTest;

const std::string kAllGroupsRefused = "Cannot Use The Name <ALL GROUPS> For A Group Name";

TEST_F(GroupsTest, TheSelectorAddsANewNameAndRefusesBlanksAllGroupsAndTags) {
    WriteStore({Rec(0, "One", "Work", "http://one"), Rec(0, "Two", "Play", "http://two")},
               {"Work", "Play"});
    ASSERT_TRUE(Start());
    const std::pair<std::string, std::string> refused[] = {
        {" all GROUPS ", kAllGroupsRefused},
        {"   ", "No Group To Add"},
        {"a[U]b", "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]"},
    };
    for (const auto& [typed, message] : refused) {
        fake.messages.clear();
        app.main.Combo1.setText(typed);
        ASSERT_TRUE(Click(app.main.menuaddgroup));
        EXPECT_EQ(Messages(), Names{message}) << typed;
    }
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Play"}));
    EXPECT_EQ(app.main.focusedControl(), "Combo1");

    // Enter in the selector adds too; the table mirrors the selector, blank entries included.
    fake.messages.clear();
    app.main.Combo1.setText("  Play  ");
    ASSERT_TRUE(Run([&] { app.main.Combo1.onKeyPress(13); }));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Play", "Work", "", ""}));
    app.main.Combo1.setText("work");
    ASSERT_TRUE(Click(app.main.menuaddgroup));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Play", "Work", "work", ""}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Play", "Work", "work"}));
    EXPECT_TRUE(Messages().empty());

    ASSERT_TRUE(Run([&] { AddGroup(app, "newname", "import", "New"); }));
    EXPECT_EQ(Messages(), Names{"New Group Not Specified, Nor Added"});
}

TEST_F(GroupsTest, ARenameMovesEveryBookmarkOfTheGroupWhateverItsCase) {
    WriteStore({Rec(0, "One", "Work", "http://one"), Rec(0, "Two", " WORK ", "http://two"),
                Rec(0, "Three", "Home", "http://three")},
               {"Home", "Work", "Zoo"});
    ASSERT_TRUE(Start());
    EditGroupNameForm& d = app.frmEditGroupName;
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    ChooseGroup("Work");
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    EXPECT_EQ(fake.shownForms.back(), "frmEditGroupName");
    ASSERT_TRUE(Run([&] { d.onActivate(); })); // the window system activates it
    EXPECT_EQ(d.Label2.caption(), "<Work>");
    for (const std::string typed : {"   ", "x[l]", "ALL groups"}) {
        d.Text3.setText(typed);
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
        EXPECT_TRUE(d.visible()) << typed;
        EXPECT_EQ(d.focusedControl(), "Text3");
    }
    d.Text3.setText("  Job ");
    ASSERT_TRUE(Run([&] { d.Command1.click(); }));

    EXPECT_EQ(Messages(), (Names{"Cannot Edit <All Groups>", "Group Name Not Entered",
                                 "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]",
                                 kAllGroupsRefused, "Group <Work> Renamed To <Job>"}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Home", "Job", "Zoo"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Job", "http://one"),
                                            Rec(1, "Two", "Job", "http://two"),
                                            Rec(2, "Three", "Home", "http://three")}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_FALSE(d.visible());
}

TEST_F(GroupsTest, ARenameDialogLeftOpenRenamesNothingOnceTheSelectorShowsAllGroupsOrNothing) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
    EditGroupNameForm& d = app.frmEditGroupName;
    const std::string store = StoreBytes(), groups = GroupBytes();
    for (const std::string selector : {"All Groups", ""}) {
        ChooseGroup("Work");
        ASSERT_TRUE(Click(app.main.menueditselectedgroup));
        ASSERT_TRUE(Run([&] { d.onActivate(); }));
        if (selector.empty())
            app.main.Combo1.setText("");
        else
            ChooseGroup(selector);
        ASSERT_TRUE(Run([&] { d.onActivate(); }));
        fake.messages.clear();
        d.Text3.setText("Renamed");
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
        EXPECT_EQ(Messages(),
                  Names{selector.empty() ? "No Group To Edit" : "Cannot Edit <All Groups>"});
    }
    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(GroupBytes(), groups);
}

TEST_F(GroupsTest, ADeleteAsksTwiceAndTakesTheBookmarksOfEveryCaseOfTheGroupOnlyOnYes) {
    for (const MsgResult withBookmarks : {MsgResult::No, MsgResult::Yes}) {
        TestProgram p;
        p.WriteStore({Rec(0, "One", "Work", "http://one"), Rec(0, "Two", "Home", "http://two"),
                      Rec(0, "Three", " wORK ", "http://three")},
                     {"Home", "Work"});
        ASSERT_TRUE(p.Start());
        const std::string store = p.StoreBytes();
        p.app.main.Combo1.setText(" ");
        ASSERT_TRUE(p.Click(p.app.main.menudeletegroup));
        p.ChooseGroup("All Groups");
        ASSERT_TRUE(p.Click(p.app.main.menudeletegroup));
        p.ChooseGroup("Work");
        p.fake.answers = {MsgResult::Cancel, MsgResult::OK, withBookmarks};
        ASSERT_TRUE(p.Click(p.app.main.menudeletegroup));
        EXPECT_EQ(p.GroupBytes(), FileWithHeader({"Home", "Work"}));
        ASSERT_TRUE(p.Click(p.app.main.menudeletegroup));

        EXPECT_EQ(p.Messages(),
                  (Names{"There Is Not A Group Selected To Delete", "Cannot Delete <ALL GROUPS>",
                         "Delete The Group <Work>?", "Delete The Group <Work>?",
                         "Do You Want To Delete All Bookmarks Associated With This Group"}));
        EXPECT_EQ(p.fake.messages[4].buttons, MsgButtons::YesNo);
        // The entries the start-up rebuild left empty are written as empty lines.
        EXPECT_EQ(p.GroupBytes(), FileWithHeader({"", "Home", ""}));
        EXPECT_EQ(p.StoreBytes(), withBookmarks == MsgResult::Yes
                                      ? FileWithHeader({Rec(1, "Two", "Home", "http://two")})
                                      : store);
        EXPECT_EQ(p.app.main.Combo1.items(), (Names{"All Groups", "Home"}));
        EXPECT_EQ(p.app.main.Combo1.listIndex(), 0);
    }
}

} // namespace
} // namespace tabbern::test
