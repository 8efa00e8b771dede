// The pictures and colours that start-up gives the windows.
#include "support/AppFixture.h"

namespace tabbern::test {
namespace {

using LooksTest = AppTest;

TEST_F(LooksTest, StartUpGivesEveryWindowItsPicturesAndColours) {
    ASSERT_TRUE(Start());
    const Colour highlight = Colour::system(Colour::Kind::Highlight);

    const MainForm& m = app.main;
    EXPECT_EQ(m.Label1.foreColour(), Colour::fromRgb(0xFFFFFF));
    EXPECT_EQ(m.Picture1.picture(), 101);
    EXPECT_EQ(m.TextNameSearch.backColour(), Colour::system(Colour::Kind::ButtonFace));
    EXPECT_EQ(m.Command2.picture(), 104);

    for (const BookmarkDialog* d : {static_cast<const BookmarkDialog*>(&app.frmAddName),
                                    static_cast<const BookmarkDialog*>(&app.frmEditName)}) {
        SCOPED_TRACE(d->name());
        EXPECT_EQ(d->Picture1.picture(), 102);
        EXPECT_EQ(d->backColour(), highlight);
        EXPECT_EQ(d->Command1.picture(), 107);
        EXPECT_EQ(d->Command2.picture(), 106);
    }
    const EditGroupNameForm& g = app.frmEditGroupName;
    EXPECT_EQ(g.Picture1.picture(), 102);
    EXPECT_EQ(g.backColour(), highlight);
    EXPECT_EQ(g.Command1.picture(), 107);
    EXPECT_EQ(g.Command2.picture(), 106);

    const AssignNameForm& assign = app.frmAssignName;
    EXPECT_EQ(assign.Picture1.picture(), 102);
    EXPECT_EQ(assign.backColour(), highlight);
    EXPECT_EQ(assign.Command1.picture(), 110);
    EXPECT_EQ(assign.Command2.picture(), 111);
    EXPECT_EQ(assign.Command3.picture(), 112);
    const AddConfirmForm& confirm = app.frmAddConfirm;
    EXPECT_EQ(confirm.Picture1.picture(), 103);
    EXPECT_EQ(confirm.backColour(), highlight);
    EXPECT_EQ(confirm.Command1.picture(), 108);
    EXPECT_EQ(confirm.Command2.picture(), 109);

    const AboutForm& about = app.frmAbout;
    EXPECT_EQ(about.backColour(), highlight);
    EXPECT_EQ(about.picture(), 102);
    EXPECT_EQ(about.cmdOK.picture(), 105);
    for (const Label* label : {static_cast<const Label*>(&about.lblDescription),
                               static_cast<const Label*>(&about.lblTitle),
                               static_cast<const Label*>(&about.lblDisclaimer)})
        EXPECT_EQ(label->foreColour(), Colour::fromRgb(0x000000)) << label->name();
}

} // namespace
} // namespace tabbern::test
