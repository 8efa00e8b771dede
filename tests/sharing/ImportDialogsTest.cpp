// The two import dialogs on their own: their start-up state and texts, their buttons, and the
// group file appends of the assign dialog.
#include "sharing/SharingFixture.h"

#include "ui/ImportDialogs.h"

namespace tabbern::test {
namespace {

using ImportDialogs = SharingTest;

TEST_F(ImportDialogs, StartHiddenWithTheirStartUpTexts) {
    ASSERT_TRUE(Start());
    const AddConfirmForm& c = app.frmAddConfirm;
    EXPECT_FALSE(c.visible() || c.Label1.visible() || c.Label2.visible() || c.Text2.visible());
    EXPECT_FALSE(c.Text1.enabled());
    EXPECT_EQ(c.Label1.caption(), "Bookmark:");
    EXPECT_EQ(c.Label2.caption(), "Group:");
    EXPECT_EQ(c.Text2.toolTip(), " Enter A Bookmark For This URL Link ");
    EXPECT_EQ(c.Command1.toolTip(), " Import Into Tabbern ");
    EXPECT_EQ(c.Command2.toolTip(), " Cancel All Importports ");

    const AssignNameForm& a = app.frmAssignName;
    EXPECT_FALSE(a.visible());
    EXPECT_EQ(a.Label1.caption(), "Enter A Bookmark For This URL Link");
    EXPECT_EQ(a.Text1.toolTip(), " Enter A Bookmark For This URL Link ");
    EXPECT_EQ(a.Command1.toolTip(), " Assign Bookmark To This URL Link ");
    EXPECT_EQ(a.Command2.toolTip(), " Do Not Assign A Bookmark To This URL Link ");
    EXPECT_EQ(a.Command3.toolTip(), " Cancel Importing ");
}

TEST_F(ImportDialogs, TheConfirmationButtonsAnswerAndEmptyTheList) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    AddConfirmForm& d = app.frmAddConfirm;
    for (Button* button : {&d.Command1, &d.Command2}) {
        d.Text1.setText("a list");
        d.setVisible(true);
        ASSERT_TRUE(Run([&] { button->click(); }));
        EXPECT_EQ(app.importConfirmed, button == &d.Command1);
        EXPECT_EQ(d.Text1.text(), "");
        EXPECT_FALSE(d.visible());
    }
}

TEST_F(ImportDialogs, AssigningAppendsOnlyANewGroupToTheGroupFile) {
    WriteStore({}, {"Work", "Home"});
    ASSERT_TRUE(StartQuietly());
    AssignNameForm& d = app.frmAssignName;
    auto assign = [&](const std::string& name, const std::string& group) {
        ASSERT_TRUE(Run([&] {
            frmAssignName_Activate(app);
            d.Text1.setText(name);
            if (!group.empty())
                d.Combo1.setText(group);
            d.Command1.click();
        }));
    };
    const std::string before = GroupBytes();

    assign(" Picked ", ""); // the first group, as activation selects it
    EXPECT_EQ(app.assignedName, "Picked");
    EXPECT_EQ(app.assignedGroup, "Home");
    assign("", "  wORK ");
    EXPECT_EQ(app.assignedName, "");
    EXPECT_EQ(app.assignedGroup, "wORK");
    EXPECT_EQ(GroupBytes(), before);

    assign("Typed", "  Brand New ");
    EXPECT_EQ(app.assignedGroup, "Brand New");
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Home", "Brand New"}));
    EXPECT_FALSE(d.visible());
}

TEST_F(ImportDialogs, TheAssignDialogsOtherButtonsAndRefusals) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    AssignNameForm& d = app.frmAssignName;
    app.continueImporting = true;
    app.assignedName = "kept";
    d.Text1.setText("typed");
    ASSERT_TRUE(Run([&] { d.Command2.click(); }));
    EXPECT_EQ(d.Text1.text(), "");
    EXPECT_EQ(app.assignedName, "");
    EXPECT_TRUE(app.continueImporting);
    ASSERT_TRUE(Run([&] { d.Command3.click(); }));
    EXPECT_FALSE(app.continueImporting);

    // A tagged name or group is refused; the dialog stays.
    d.setVisible(true);
    d.Text1.setText("x[d]");
    ASSERT_TRUE(Run([&] { d.Command1.click(); }));
    d.Text1.setText("fine");
    for (const char* group : {"[L]", " all Groups"}) {
        d.Combo1.setText(group);
        ASSERT_TRUE(Run([&] { d.Command1.click(); }));
    }
    EXPECT_TRUE(d.visible());
    EXPECT_EQ(app.assignedName, "");
    EXPECT_EQ(Messages(), (Names{"A Bookmark Name Cannot Contain [r], [n], [g], [d], [l] Or [u]",
                                 "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]",
                                 "Cannot Use The Name <ALL GROUPS> For A Group Name"}));
}

TEST(IsGroupInList, ComparesTrimmedAndLowerCased) {
    ComboBox box("Combo1");
    EXPECT_FALSE(IsGroupInList(box, ""));
    box.addItem(" Été ");
    box.addItem("Work");
    EXPECT_TRUE(IsGroupInList(box, "  ÉTÉ"));
    EXPECT_TRUE(IsGroupInList(box, "work  "));
    EXPECT_FALSE(IsGroupInList(box, "Wor"));
    EXPECT_FALSE(IsGroupInList(box, ""));
}

} // namespace
} // namespace tabbern::test
