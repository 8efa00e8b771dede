// Adding, renaming and deleting groups: the selector, the group file and the bookmarks.
#include "editing/EditingFixture.h"

namespace tabbern::test {
namespace {

using AddGroupTest = EditingTest;
using RenameGroup = EditingTest;
using DeleteGroupTest = EditingTest;

void TypeInSelector(App& app, const std::string& text) {
    app.main.Combo1.setText(text);
}

TEST_F(AddGroupTest, TheSelectorRefusesAllGroupsBlanksAndTags) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = GroupBytes();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" all GROUPS ", "Cannot Use The Name <ALL GROUPS> For A Group Name"},
        {"All Groups", "Cannot Use The Name <ALL GROUPS> For A Group Name"},
        {"   ", "No Group To Add"},
        {"a[U]b", "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]"},
    };
    for (const auto& [typed, message] : cases) {
        fake.messages.clear();
        app.main.setFocusedControl("List1");
        TypeInSelector(app, typed);
        ASSERT_TRUE(Click(app.main.menuaddgroup));
        EXPECT_EQ(Messages(), (Names{message})) << typed;
        EXPECT_EQ(GroupBytes(), before) << typed;
    }
    // Enter in the selector takes the same way, and a blank name sends the focus there.
    fake.messages.clear();
    app.main.setFocusedControl("List1");
    TypeInSelector(app, "");
    ASSERT_TRUE(Run([&] { app.main.Combo1.onKeyPress(13); }));
    EXPECT_EQ(Messages(), (Names{"No Group To Add"}));
    EXPECT_EQ(app.main.focusedControl(), "Combo1");
}

TEST_F(AddGroupTest, ANewNameIsStoredSelectedAndShown) {
    WriteStore(
        {Record("One", "Work", "http://one.example"), Record("Two", "Play", "http://two.example")},
        {"Work", "Play"});
    ASSERT_TRUE(StartList());
    TypeInSelector(app, "  Play  ");

    // The same name in the same case stays one group.
    ASSERT_TRUE(Run([&] { app.main.Combo1.onKeyPress(13); }));
    // The table mirrors the selector, so All Groups and the repeat leave empty lines.
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Play", "Work", "", ""}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Play", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "Play");
    EXPECT_EQ(app.main.List1.items(), (Names{"Two"}));

    // Another case makes a group of its own.
    TypeInSelector(app, "work");
    ASSERT_TRUE(Click(app.main.menuaddgroup));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Play", "Work", "work", ""}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Play", "Work", "work"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AddGroupTest, TheDialogPathChecksItsModeAndDropsAllGroups) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Run([&] { AddGroup(app, "newname", "import", "New"); }));
    EXPECT_EQ(Messages(), (Names{"New Group Not Specified, Nor Added"}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work"}));

    ASSERT_TRUE(Run([&] { AddGroup(app, "newname", "add", "ALL GROUPS"); }));
    ASSERT_TRUE(Run([&] { AddGroup(app, "elsewhere", "add", "Other"); }));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work"}));
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(RenameGroup, RefusesAllGroupsAndABlankSelector) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    TypeInSelector(app, "  ");
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    EXPECT_EQ(Messages(), (Names{"Cannot Edit <All Groups>", "No Group To Edit"}));
    EXPECT_EQ(std::count(fake.shownForms.begin(), fake.shownForms.end(), "frmEditGroupName"), 0);
}

TEST_F(RenameGroup, RenamesTheGroupAndEveryBookmarkInItWhateverTheCase) {
    WriteStore({Record("One", "Work", "http://one.example"),
                Record("Two", " WORK ", "http://two.example"),
                Record("Three", "Home", "http://three.example")},
               {"Home", "Work", "Zoo"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Work");
    EditGroupNameForm& d = app.frmEditGroupName;

    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    ASSERT_FALSE(fake.shownForms.empty());
    EXPECT_EQ(fake.shownForms.back(), "frmEditGroupName");
    EXPECT_TRUE(d.visible());
    // The window system activates the modeless dialog when it appears.
    ASSERT_TRUE(Run([&] { d.onActivate(); }));
    EXPECT_EQ(d.Label2.caption(), "<Work>");
    EXPECT_EQ(d.Text1.text(), "Work");
    d.Text3.setText("  Job ");
    ASSERT_TRUE(Run([&] { d.Command1.click(); }));

    EXPECT_EQ(Messages(), (Names{"Group <Work> Renamed To <Job>"}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Home", "Job", "Zoo"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Job", "http://one.example"),
                                            Rec(1, "Two", "Job", "http://two.example"),
                                            Rec(2, "Three", "Home", "http://three.example")}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_EQ(app.main.List1.items(), (Names{"One", "Two", "Three"}));
    EXPECT_FALSE(d.visible());
    EXPECT_EQ(d.Text3.text(), "");
}

TEST_F(RenameGroup, AStaleDialogRenamesNothingOnceTheSelectorShowsAllGroupsOrNothing) {
    WriteStore(
        {Record("One", "Work", "http://one.example"), Record("Loose", "", "http://loose.example")},
        {"Work"});
    ASSERT_TRUE(StartList());
    EditGroupNameForm& d = app.frmEditGroupName;
    const std::string store = StoreBytes(), groups = GroupBytes();
    const std::pair<std::string, std::string> cases[] = {{"All Groups", "Cannot Edit <All Groups>"},
                                                         {"", "No Group To Edit"}};
    for (const auto& [selector, message] : cases) {
        ChooseGroup("Work");
        ASSERT_TRUE(Click(app.main.menueditselectedgroup));
        ASSERT_TRUE(Run([&] { d.onActivate(); }));
        // Back in the main window the selector moves on; then the user returns to the dialog.
        if (selector.empty())
            TypeInSelector(app, "");
        else
            ChooseGroup(selector);
        ASSERT_TRUE(Run([&] { d.onActivate(); }));
        fake.messages.clear();
        d.Text3.setText("Renamed");
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
        EXPECT_EQ(Messages(), Names{message});
        EXPECT_EQ(StoreBytes(), store) << message;
        EXPECT_EQ(GroupBytes(), groups) << message;
    }
}

TEST_F(RenameGroup, ABlankOrTaggedNewNameKeepsTheDialogOpen) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Work");
    EditGroupNameForm& d = app.frmEditGroupName;
    ASSERT_TRUE(Click(app.main.menueditselectedgroup));
    ASSERT_TRUE(Run([&] { d.onActivate(); }));
    const std::string store = StoreBytes();
    const std::string groups = GroupBytes();

    for (const std::string typed : {"   ", "x[l]", "ALL groups"}) {
        d.Text3.setText(typed);
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
        EXPECT_TRUE(d.visible()) << typed;
        EXPECT_EQ(d.focusedControl(), "Text3");
        EXPECT_EQ(d.Text3.text(), typed);
    }
    EXPECT_EQ(Messages(), (Names{"Group Name Not Entered",
                                 "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]",
                                 "Cannot Use The Name <ALL GROUPS> For A Group Name"}));
    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(GroupBytes(), groups);

    // Cancel hides the dialog and keeps what was typed; Enter in the new name moves to save.
    d.Text3.setText("Later");
    ASSERT_TRUE(Run([&] { d.Text3.onKeyPress(13); }));
    EXPECT_EQ(d.focusedControl(), "Command1");
    ASSERT_TRUE(Run([&] { d.Command2.click(); }));
    EXPECT_FALSE(d.visible());
    EXPECT_EQ(d.Text3.text(), "Later");
}

TEST_F(DeleteGroupTest, RefusalsAndCancelChangeNothing) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string groups = GroupBytes();

    TypeInSelector(app, " ");
    ASSERT_TRUE(Click(app.main.menudeletegroup));
    TypeInSelector(app, " ALL groups ");
    ASSERT_TRUE(Click(app.main.menudeletegroup));
    ChooseGroup("Work");
    fake.answers = {MsgResult::Cancel};
    ASSERT_TRUE(Click(app.main.menudeletegroup));

    EXPECT_EQ(Messages(), (Names{"There Is Not A Group Selected To Delete",
                                 "Cannot Delete <ALL GROUPS>", "Delete The Group <Work>?"}));
    EXPECT_EQ(fake.messages[2].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(GroupBytes(), groups);
}

TEST_F(DeleteGroupTest, KeepingTheBookmarksRemovesOnlyTheName) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Home", "Work"});
    ASSERT_TRUE(StartList());
    const std::string store = StoreBytes();
    ChooseGroup("Work");
    fake.answers = {MsgResult::OK, MsgResult::No};

    ASSERT_TRUE(Click(app.main.menudeletegroup));

    EXPECT_EQ(Messages(),
              (Names{"Delete The Group <Work>?",
                     "Do You Want To Delete All Bookmarks Associated With This Group"}));
    EXPECT_EQ(fake.messages[1].buttons, MsgButtons::YesNo);
    // The entries the start-up rebuild left empty are written as empty lines.
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Home", ""}));
    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Home"}));
    EXPECT_EQ(app.main.Combo1.listIndex(), 0);
    EXPECT_EQ(app.main.List1.items(), (Names{"One"}));
}

TEST_F(DeleteGroupTest, DeletingTheBookmarksTooTakesEveryCaseOfTheGroup) {
    WriteStore({Record("One", "Work", "http://one.example"),
                Record("Two", "Home", "http://two.example"),
                Record("Three", " wORK ", "http://three.example"),
                Record("Four", "Home", "http://four.example")},
               {"Home", "Work"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Work");
    fake.answers = {MsgResult::OK, MsgResult::Yes};

    ASSERT_TRUE(Click(app.main.menudeletegroup));

    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Home", ""}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(1, "Two", "Home", "http://two.example"),
                                            Rec(3, "Four", "Home", "http://four.example")}));
    EXPECT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.main.List3.items(), (Names{"0", "1"}));
    EXPECT_EQ(app.main.Combo1.listIndex(), 0);
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "Home");
}

} // namespace
} // namespace tabbern::test
