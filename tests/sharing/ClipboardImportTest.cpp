// The clipboard import: what the confirmation offers, the record it stores, and what it
// refuses.
#include "sharing/SharingFixture.h"

namespace tabbern::test {
namespace {

using ClipboardImport = SharingTest;

const std::string kTagRefusal = " Cannot Contain [r], [n], [g], [d], [l] Or [u]";

TEST_F(ClipboardImport, TheDialogAsksANameAndAGroupOnlyWhileItRuns) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work", "Home"});
    ASSERT_TRUE(StartQuietly());
    fake.clipboard = "  https://clip.example/x  ";
    app.frmAddConfirm.Text2.setText("left over");
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(), "https://clip.example/x");
        EXPECT_EQ(d.Text2.text(), "");
        EXPECT_TRUE(d.Text2.visible() && d.Text2.enabled());
        EXPECT_EQ(d.focusedControl(), "Text2");
        EXPECT_TRUE(d.Label1.visible() && d.Label2.visible());
        EXPECT_TRUE(d.GroupList.visible() && d.GroupList.enabled());
        EXPECT_EQ(d.GroupList.items(), (Names{"Home", "Work"}));
        EXPECT_EQ(d.GroupList.text(), "Home");
        d.Command2.click();
    });
    const std::string before = StoreBytes();

    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));

    const AddConfirmForm& d = app.frmAddConfirm;
    EXPECT_EQ(ShownForms(), Names{"frmAddConfirm"});
    EXPECT_FALSE(d.Label1.visible() || d.Label2.visible() || d.Text2.visible() ||
                 d.Text2.enabled());
    EXPECT_TRUE(d.GroupList.visible() && d.GroupList.enabled());
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(ClipboardImport, TheRecordTakesTheTypedNameAndThePickedGroup) {
    WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work", "Home"});
    ASSERT_TRUE(StartQuietly());
    fake.clipboard = " Example.com/Page ";
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        d.Text2.setText("  Clipped  ");
        d.GroupList.setListIndex(1);
        d.Command1.click();
    });

    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Clipped", "Work", "www.Example.com/Page", "12/6/2026")}));
    EXPECT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_EQ(app.main.List1.items(), (Names{"One", "Clipped"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ClipboardImport, WithoutANameOrGroupTheClipboardTextAndTodaysGroupAreUsed) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    // A line break would split the record: it is stored as a blank.
    fake.clipboard = "http://a.example/x\r\nsecond line";
    ConfirmImport();

    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "http://a.example/x  second line", "Misc - 12/6/2026",
                                  "http://a.example/x  second line", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Misc - 12/6/2026"}));
}

TEST_F(ClipboardImport, AnEmptyClipboardConfirmedWithoutANameStoresNothingButTheGroup) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();
    ConfirmImport();

    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));

    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Misc - 12/6/2026"}));
}

TEST_F(ClipboardImport, RecordTagsAreRefused) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();
    fake.clipboard = "http://x.example/[U]y";
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    EXPECT_EQ(Messages(), Names{"A URL" + kTagRefusal});
    EXPECT_TRUE(ShownForms().empty());
    EXPECT_FALSE(app.frmAddConfirm.Text2.visible());

    // A typed name or group keeps the dialog open until it is put right.
    fake.messages.clear();
    fake.clipboard = "http://x.example";
    OnShow("frmAddConfirm", [this, before](Form& form) {
        AddConfirmForm& d = app.frmAddConfirm;
        d.Text2.setText("a[n]b");
        d.Command1.click();
        EXPECT_TRUE(form.visible());
        EXPECT_EQ(d.focusedControl(), "Text2");
        d.Text2.setText("Fine");
        for (const char* group : {"x[G]", "ALL groups "}) {
            d.GroupList.setText(group);
            d.Command1.click();
            EXPECT_TRUE(form.visible());
            EXPECT_EQ(d.focusedControl(), "GroupList");
        }
        EXPECT_EQ(StoreBytes(), before);
        d.GroupList.setText("  Good ");
        d.Command1.click();
    });
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    EXPECT_EQ(Messages(), (Names{"A Bookmark Name" + kTagRefusal, "A Group Name" + kTagRefusal,
                                 "Cannot Use The Name <ALL GROUPS> For A Group Name"}));
    // A typed group is used trimmed, and added.
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "Fine", "Good", "http://x.example", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Good"}));
}

// A full store takes nothing more: every command that adds a bookmark says so before it asks
// for anything, and writes nothing.
TEST_F(ClipboardImport, EveryAddingCommandRefusesAFullStoreBeforeWriting) {
    std::vector<std::string> records;
    for (int i = 0; i < 1000; ++i)
        records.push_back(Record("n" + std::to_string(i), "Work", "http://h/" + std::to_string(i)));
    WriteStore(records, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string store = StoreBytes(), groups = GroupBytes();
    fake.clipboard = "http://clip.example";
    for (MenuItem* command : {&app.main.menuaddname, &app.main.menuimportfromclipboard,
                              &app.main.menuimportfromtextfile}) {
        fake.messages.clear();
        ASSERT_TRUE(Click(*command));
        EXPECT_EQ(Messages(), (Names{"1000 Bookmark Limit Reached. Please Delete Bookmarks Before "
                                     "Adding Additional Bookmarks."}))
            << command->name();
        EXPECT_TRUE(ShownForms().empty()) << command->name();
        EXPECT_TRUE(fake.fileDialogs.empty()) << command->name();
    }
    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(GroupBytes(), groups);
}

} // namespace
} // namespace tabbern::test
