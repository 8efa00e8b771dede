// Adding, renaming and deleting groups: the selector, the group file and the bookmarks.
#include "support/AppFixture.h"

#include "editing/Editing.h"

namespace tabbern::test {
namespace {

using GroupsTest = AppTest;

const std::string kAllGroupsRefused = "Cannot Use The Name <ALL GROUPS> For A Group Name";
const std::string kTagsRefused = "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]";

TEST_F(GroupsTest, TheSelectorAddsANewNameAndRefusesBlanksAllGroupsAndTags) {
    ASSERT_TRUE(
        StartWith({Rec(0, "One", "Work", "http://one"), Rec(0, "Two", "Play", "http://two")},
                  {"Work", "Play"}));
    for (const std::string typed : {" all GROUPS ", "   ", "a[U]b"}) {
        app.main.Combo1.setText(typed);
        ASSERT_TRUE(Click(app.main.menuaddgroup));
    }
    EXPECT_EQ(Messages(), (Names{kAllGroupsRefused, "No Group To Add", kTagsRefused}));
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
}

TEST_F(GroupsTest, ARenameMovesEveryBookmarkOfTheGroupWhateverItsCase) {
    ASSERT_TRUE(
        StartWith({Rec(0, "One", "Work", "http://one"), Rec(0, "Two", " WORK ", "http://two"),
                   Rec(0, "Three", "Home", "http://three")},
                  {"Home", "Work", "Zoo"}));
    EditGroupNameForm& d = app.frmEditGroupName;
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    ChooseGroup("Work");
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    ASSERT_TRUE(Run([&] { d.onActivate(); })); // the window system activates it
    for (const std::string typed : {"   ", "x[l]", "ALL groups"}) {
        d.Text3.setText(typed);
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
        EXPECT_TRUE(d.visible()) << typed;
        EXPECT_EQ(d.focusedControl(), "Text3");
    }
    // The dialog stays open while the selector moves to All Groups or to nothing.
    d.Text3.setText("  Job ");
    for (const std::string selector : {"All Groups", "", "Work"}) {
        if (selector.empty())
            app.main.Combo1.setText("");
        else
            ChooseGroup(selector);
        ASSERT_TRUE(Run([&] { d.onActivate(); }));
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
    }

    EXPECT_EQ(Messages(), (Names{"Cannot Edit <All Groups>", "Group Name Not Entered", kTagsRefused,
                                 kAllGroupsRefused, "Cannot Edit <All Groups>", "No Group To Edit",
                                 "Group <Work> Renamed To <Job>"}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Home", "Job", "Zoo"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Job", "http://one"),
                                            Rec(1, "Two", "Job", "http://two"),
                                            Rec(2, "Three", "Home", "http://three")}));
    EXPECT_FALSE(d.visible());
}

TEST_F(GroupsTest, ADeleteAsksTwiceAndTakesTheBookmarksOfEveryCaseOfTheGroupOnlyOnYes) {
    for (const MsgResult withBookmarks : {MsgResult::No, MsgResult::Yes}) {
        TestProgram p;
        ASSERT_TRUE(
            p.StartWith({Rec(0, "One", "Work", "http://one"), Rec(0, "Two", "Home", "http://two"),
                         Rec(0, "Three", " wORK ", "http://three")},
                        {"Home", "Work"}));
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
        // The entries the start-up rebuild left empty are written as empty lines.
        EXPECT_EQ(p.GroupBytes(), FileWithHeader({"", "Home", ""}));
        EXPECT_EQ(p.StoreBytes(), withBookmarks == MsgResult::Yes
                                      ? FileWithHeader({Rec(1, "Two", "Home", "http://two")})
                                      : store);
        EXPECT_EQ(p.app.main.Combo1.items(), (Names{"All Groups", "Home"}));
    }
}

} // namespace
} // namespace tabbern::test
