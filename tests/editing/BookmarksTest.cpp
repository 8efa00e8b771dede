// Adding, editing, deleting and opening bookmarks, and what may reach the browser.
#include "support/AppFixture.h"

#include "editing/Editing.h"
#include "store/Store.h"

namespace tabbern::test {
namespace {

class BookmarkTest : public AppTest {
protected:
    // Double-clicks the entry of the names' list.
    bool OpenAt(int entry) {
        return Run([&] { app.main.List1.setListIndex(entry); }) &&
               Run([&] { app.main.List1.onDblClick(); });
    }
};

TEST_F(BookmarkTest, TheAddDialogOffersAClipboardThatLooksLikeAnAddressAndTheGroupShown) {
    ASSERT_TRUE(StartWith({}, {"Home", "Work"}));
    std::string offered, group;
    OnShow("frmAddName", [&](Form&) {
        offered = app.frmAddName.Text3.text();
        group = app.frmAddName.Combo1.text();
    });
    const std::pair<std::string, std::string> cases[] = {
        {"  https://x.example/page  ", "https://x.example/page"},
        {"ww3.example.com", "ww3.example.com"},
        {"see HTTP pages", "see HTTP pages"},
        {"example.com", ""},
    };
    for (const auto& [clip, expected] : cases) {
        fake.clipboard = clip;
        ASSERT_TRUE(Click(app.main.menuaddname));
        EXPECT_EQ(offered, expected) << clip;
        EXPECT_EQ(group, "Home"); // All Groups shown: the first group offered
    }
    ChooseGroup("Work");
    ASSERT_TRUE(Click(app.main.menuaddname));
    EXPECT_EQ(group, "Work");
}

TEST_F(BookmarkTest, ASavedBookmarkIsAppendedWithItsDefaultsAndItsNewGroup) {
    ASSERT_TRUE(StartWith(
        {Rec(0, "", "Work", "http://nameless"), Rec(1, "One", "Work", "http://one", "1/1", "2/2")},
        {"Work"}));
    ASSERT_TRUE(Add("  New  ", "   ", " n.example "));
    ASSERT_TRUE(Add("Two", " Play ", "https://two"));

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "", "Work", "http://nameless"),
                              Rec(1, "One", "Work", "http://one", "1/1", "2/2"),
                              Rec(2, "New", "Misc - 12/6/2026", "www.n.example", "12/6/2026"),
                              Rec(3, "Two", "Play", "https://two", "12/6/2026")}));
    // A blank group box adds no group; a new one goes after the others and is shown.
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Play"}));
    EXPECT_EQ(app.main.Combo1.text(), "Play");
    EXPECT_EQ(app.main.List1.items(), Names{"Two"});
}

TEST_F(BookmarkTest, BothDialogsRefuseWhatCannotBeStoredAndKeepWhatWasTyped) {
    ASSERT_TRUE(StartWith({Rec(0, "One", "Work", "http://one")}, {"Work"}));
    const std::string tags = " Cannot Contain [r], [n], [g], [d], [l] Or [u]";
    BookmarkDialog* const add = &app.frmAddName;
    BookmarkDialog* const edit = &app.frmEditName;
    // clang-format off
    const std::pair<BookmarkDialog*, Names> cases[] = {
        // the dialog; name, group, URL, message, focus
        {add, {"   ", "Work", "http://x", "Please Enter A Bookmark Name", "Text1"}},
        {edit, {"   ", "Work", "http://x", "Bookmark Name Cannot Be Blank", "Text1"}},
        {add, {"X", "Work", "  ", "Please Enter A URL", "Text3"}},
        {edit, {"a[N]b", "Work", "http://x", "A Bookmark Name" + tags, "Text1"}},
        {add, {"X", "my[G]roup", "http://x", "A Group Name" + tags, "Combo1"}},
        {edit, {"X", " all GROUPS ", "http://x",
                "Cannot Use The Name <ALL GROUPS> For A Group Name", "Combo1"}},
        {add, {"X", "Work", "http://x/[u]", "A URL" + tags, "Text3"}},
    };
    // clang-format on
    for (const auto& [d, c] : cases) {
        SCOPED_TRACE(d->name() + ": " + c[3]);
        fake.messages.clear();
        OnShow(d->name(), [&](Form&) {
            TypeAndSave(*d, c[0], c[1], c[2]);
            EXPECT_TRUE(d->visible());
            EXPECT_EQ(d->focusedControl(), c[4]);
            EXPECT_EQ(d->Text1.text(), c[0]);
        });
        ASSERT_TRUE(Click(d == add ? app.main.menuaddname : app.main.menunamesedit));
        EXPECT_EQ(Messages(), Names{c[3]});
        EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one")}));
    }
}

TEST_F(BookmarkTest, AnEditChangesTheSelectedBookmarkAfterASortAndStampsTodayAsAdded) {
    ASSERT_TRUE(StartWith({Rec(0, "Ca", "Work", "http://c", "1/1", "1/3"),
                           Rec(0, "Aa", "Work", "http://a", "1/1", "1/4"),
                           Rec(0, "Ba", " work ", "http://b", "1/1", "1/5")},
                          {"Home", "Work"}));
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    Pick("Ba");
    EditNameForm& d = app.frmEditName;
    OnShow("frmEditName", [&](Form&) {
        EXPECT_EQ(d.Text1.text(), "Ba");
        EXPECT_EQ(d.Combo1.listIndex(), 1);
        TypeAndSave(d, " Aa ", "", "bee.example");
    });
    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Aa", "Work", "http://a", "1/1", "1/4"),
                                            Rec(1, "Aa", "Misc - 12/6/2026", "www.bee.example",
                                                "12/6/2026", "1/5"),
                                            Rec(2, "Ca", "Work", "http://c", "1/1", "1/3")}));
    // Selected again by its new name: the first of the two.
    EXPECT_EQ(app.main.List1.listIndex(), 0);
    EXPECT_FALSE(d.visible());

    // Its group, which the group file lacks, is offered; a record number that no row holds
    // changes nothing.
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));
    const std::string store = StoreBytes();
    OnShow("frmEditName", [&](Form&) {
        EXPECT_EQ(d.Combo1.text(), "Misc - 12/6/2026");
        d.editedRecord = "7";
        d.Command1.click();
    });
    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(StoreBytes(), store);
}

TEST_F(BookmarkTest, NothingToEditOrDeleteIsSaid) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menunamesedit));
    ASSERT_TRUE(Click(app.main.menunamesdelete));
    EXPECT_EQ(Messages(),
              (Names{"There Are No Bookmark's To Edit", "There Are No Bookmark's To Delete"}));
}

TEST_F(BookmarkTest, ADeleteAsksThenTakesEveryCopyByNameAndGroupInAnyCaseAndTheExactUrl) {
    ASSERT_TRUE(
        StartWith({Rec(0, "Keep", "Work", "http://keep"), Rec(0, "Dup", "Work", "http://dup"),
                   Rec(0, " DUP ", " WORK ", "http://dup"), Rec(0, "Dup", "Work", "http://DUP"),
                   Rec(0, "Dup", "Home", "http://dup")},
                  {"Home", "Work"}));
    ChooseGroup("Work");
    Pick("Dup");
    fake.answers = {MsgResult::Cancel, MsgResult::OK};
    ASSERT_TRUE(Click(app.main.menunamesdelete));
    EXPECT_EQ(app.recordCount, 5);
    ASSERT_TRUE(Click(app.main.menunamesdelete));

    EXPECT_EQ(
        Messages(),
        Names(2, "Delete The Bookmark:\rDup\r\rFrom The Group: \rWork\r\rFor URL: \rhttp://dup"));
    // The file keeps the numbers the rows had; the reload numbers them afresh.
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Keep", "Work", "http://keep"),
                                            Rec(3, "Dup", "Work", "http://DUP"),
                                            Rec(4, "Dup", "Home", "http://dup")}));
    EXPECT_EQ(app.main.List3.items(), (Names{"0", "1", "2"}));
}

TEST_F(BookmarkTest, OpeningStampsTheBookmarkOpenedAfterASortAndKeepsItSelected) {
    ASSERT_TRUE(
        StartWith({Rec(0, "Ca", "Work", "http://c", "1/1", "1/3"),
                   Rec(0, "Aa", "Work", "www.a.example"), Rec(0, "Ba", "Work", "https://b")},
                  {"Work"}));
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    ASSERT_TRUE(OpenAt(1));
    // The label opens an address without scheme with "http://" in front.
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(2); }));
    app.selectedUrl = "stale";
    ASSERT_TRUE(Run([&] { app.main.LabelShowURLAddress.onDblClick(); }));

    EXPECT_EQ(fake.openedUrls, (Names{"https://b", "http://www.a.example"}));
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "Ca", "Work", "http://c", "1/1", "1/3"),
                              Rec(1, "Ba", "Work", "https://b", "1/2/2025", "12/6/2026"),
                              Rec(2, "Aa", "Work", "www.a.example", "1/2/2025", "12/6/2026")}));
    EXPECT_EQ(app.main.List1.listIndex(), 2);
    ASSERT_TRUE(OpenAt(1));
    EXPECT_EQ(app.main.List1.listIndex(), 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BookmarkTest, NothingThatIsNotAWebAddressIsOpenedAndWhatNoBrowserOpenedIsNotStamped) {
    ASSERT_TRUE(StartWith(
        {Rec(0, "Bad", "Work", "file:///home/me/http://x"), Rec(0, "Good", "Work", "http://good")},
        {"Work"}));
    const std::string before = StoreBytes();
    fake.shellOpenSucceeds = false;
    ASSERT_TRUE(OpenAt(0) && OpenAt(1));
    EXPECT_EQ(Messages(), (Names{"Tabbern Opens Only Web Addresses:\rfile:///home/me/http://x",
                                 "No Web Browser Could Open:\rhttp://good"}));
    EXPECT_EQ(fake.openedUrls, Names{"http://good"});
    EXPECT_EQ(StoreBytes(), before);
}

TEST(WebAddress, OnlyWebAddressesReachTheBrowserWithTheirScheme) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"HTTPS://a.example/x?y=1", "HTTPS://a.example/x?y=1"},
        {"www.a.example", "http://www.a.example"},
        {"a.example:65535/path", "http://a.example:65535/path"},
        {"ww3.a.example/p:q", "http://ww3.a.example/p:q"},
        {" http://a.example./x\r\n", "http://a.example./x"},
        {"https://\xC3\xA9t\xC3\xA9.example/", "https://\xC3\xA9t\xC3\xA9.example/"},
        // Not web addresses:
        {"", ""}, {"http://", ""}, {"ftp://a.example", ""}, {"a.example:123456", ""},
        {"www.a.example..", ""}, {"C:\\Tools\\www.run.exe", ""}, {"\\\\server\\www.share", ""},
        {"javascript:alert('http://x')", ""}, {"user:secret@www.a.example", ""},
        {"http://user@evil.example/", ""}, {"www.a.example\r\nx", ""},
        {"http://example.com/\x01path", ""}, {"https://example.com/" + std::string(5000, 'a'), ""},
        {"www./usr/bin/xterm", ""}, {"http:///etc/passwd", ""},
    };
    // clang-format on
    for (const auto& [text, browser] : cases) {
        EXPECT_EQ(IsWebAddress(text), !browser.empty()) << text.substr(0, 60);
        EXPECT_EQ(BrowserAddress(text), browser) << text.substr(0, 60);
    }
}

} // namespace
} // namespace tabbern::test
