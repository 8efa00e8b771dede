// The clipboard import and the text-file import, with their two dialogs.
#include "support/AppFixture.h"

#include "sharing/Sharing.h"
#include "store/Store.h"

namespace tabbern::test {
namespace {

using namespace std::string_literals;
using ImportTest = AppTest;

const std::string kTags = " Cannot Contain [r], [n], [g], [d], [l] Or [u]";

TEST_F(ImportTest, TheClipboardBecomesABookmarkNamedAndGroupedAsTypedOrByDefault) {
    ASSERT_TRUE(StartWith({Rec(0, "One", "Work", "http://one")}, {"Work", "Home"}));
    fake.clipboard = "http://x.example/[U]y"; // refused before any dialog
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    EXPECT_EQ(fake.shownForms, Names{"frmMain"});
    fake.clipboard = " Example.com/Page ";
    OnShow("frmAddConfirm", [this](Form& form) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(), "Example.com/Page");
        EXPECT_TRUE(d.Text2.visible() && d.Text2.enabled() && d.GroupList.visible());
        for (const char* name : {"a[n]b", "Clipped"}) {
            d.Text2.setText(name);
            d.GroupList.setText(name == "Clipped"s ? "ALL groups " : "Good");
            d.Command1.click();
            EXPECT_TRUE(form.visible());
        }
        EXPECT_EQ(d.focusedControl(), "GroupList");
        d.Text2.setText("  Clipped  ");
        d.GroupList.setListIndex(1);
        d.GroupList.setText("  Good ");
        d.Command1.click();
    });
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    EXPECT_FALSE(app.frmAddConfirm.Text2.visible() || app.frmAddConfirm.Text2.enabled());
    // Without a name or group: the clipboard text and today's group; a line break is a blank.
    fake.clipboard = "http://a.example/x\r\nsecond line";
    OnShow("frmAddConfirm", [this](Form&) {
        app.frmAddConfirm.GroupList.setText("");
        app.frmAddConfirm.Command1.click();
    });
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    ConfirmImport(false);
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));

    EXPECT_EQ(Messages(), (Names{"A URL" + kTags, "A Bookmark Name" + kTags,
                                 "Cannot Use The Name <ALL GROUPS> For A Group Name"}));
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one"),
                              Rec(1, "Clipped", "Good", "www.Example.com/Page", "12/6/2026"),
                              Rec(2, "http://a.example/x  second line", "Misc - 12/6/2026",
                                  "http://a.example/x  second line", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Good", "Home", "Work", "Misc - 12/6/2026"}));
}

class TextImport : public ImportTest {
protected:
    // Imports the file; `name` answers the naming dialog of each link.
    bool Import(const std::string& text, std::function<void(AssignNameForm&)> name) {
        WriteBytes(File("links.txt"), text);
        fake.openAnswers.push_back(File("links.txt"));
        OnShow("frmAssignName", [this, name](Form&) {
            links.push_back(app.frmAssignName.Label3.caption());
            name(app.frmAssignName);
        });
        return Click(app.main.menuimportfromtextfile);
    }
    static void Assign(AssignNameForm& d, const std::string& name, const std::string& group = "") {
        d.Text1.setText(name);
        d.Combo1.setText(group);
        d.Command1.click();
    }
    Names links;
};

TEST_F(TextImport, TheLinksFoundAreListedThenEachNamedOneIsStoredWithANewGroupAppended) {
    ASSERT_TRUE(StartWith({Rec(0, "One", "Work", "http://one")}, {"Work"}));
    OnShow("frmAddConfirm", [this](Form&) {
        EXPECT_EQ(app.frmAddConfirm.Text1.text(),
                  "https://a.example/x\r\nwww.b.\r\nhttp://c\">\r\nwww.d\r\n");
        EXPECT_FALSE(app.frmAddConfirm.GroupList.visible());
        app.frmAddConfirm.Command1.click();
    });
    const auto name = [this](AssignNameForm& d) {
        if (d.Label3.caption() == "https://a.example/x") {
            d.Command1.click(); // no name: not stored
        } else if (d.Label3.caption() == "www.b.") {
            d.Command2.click();
        } else if (d.Label3.caption() == "www.d") {
            Assign(d, "x[d]", "Work"); // refused: the dialog stays
            EXPECT_TRUE(d.visible());
            Assign(d, "D", "  Work "); // a group of the list is not appended again
            EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "New"}));
        } else {
            Assign(d, " C ", " New ");
        }
    };
    ASSERT_TRUE(Import("See https://A.example/x and www.b.\r<a href=\"http://c\">\nwww.d", name));

    EXPECT_EQ(links, (Names{"https://a.example/x", "www.b.", "http://c\">", "www.d"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one"),
                                            Rec(3, "C", "New", "http://c\">", "12/6/2026"),
                                            Rec(4, "D", "Work", "www.d", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "New"}));
    EXPECT_EQ(Messages(), Names{"A Bookmark Name" + kTags});
}

TEST_F(TextImport, StopKeepsTheLinksNamedBeforeAndNoMoreAreNamedThanTheStoreHasRoomFor) {
    Names records;
    for (int i = 0; i < 998; ++i)
        records.push_back(Rec(i, "n", "Work", "http://h"));
    ASSERT_TRUE(StartWith(records, {"Work"}));
    ConfirmImport();
    ASSERT_TRUE(Import("www.one www.two www.three", [](AssignNameForm& d) {
        if (d.Label3.caption() == "www.two")
            d.Command3.click();
        else
            Assign(d, "Named", "Work");
    }));
    EXPECT_EQ(links, (Names{"www.one", "www.two"}));
    EXPECT_EQ(app.recordCount, 999);
    EXPECT_TRUE(Messages().empty());

    links.clear();
    ASSERT_TRUE(Import("www.four www.five", [](AssignNameForm& d) { Assign(d, "Named", "Work"); }));
    EXPECT_EQ(links, Names{"www.four"});
    EXPECT_EQ(app.recordCount, 1000);
    EXPECT_EQ(app.bookmarks.at(999, kColUrl), "www.four");

    // A full store: every adding command says so before it asks anything.
    fake.shownForms.clear();
    fake.clipboard = "http://clip.example";
    for (MenuItem* command : {&app.main.menuaddname, &app.main.menuimportfromclipboard,
                              &app.main.menuimportfromtextfile})
        ASSERT_TRUE(Click(*command));
    EXPECT_EQ(Messages(), Names(4, BookmarkLimitMessage(app)));
    EXPECT_TRUE(fake.shownForms.empty());
    EXPECT_EQ(fake.fileDialogs.size(), 2u);
}

} // namespace
} // namespace tabbern::test
