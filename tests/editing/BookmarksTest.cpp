// Adding, editing, deleting and opening bookmarks, and what may reach the browser.
#include "support/AppFixture.h"

#include "editing/Editing.h"
#include "store/Store.h"

namespace tabbern::test {
namespace {

using BookmarkTest = AppTest;

TEST_F(BookmarkTest, TheAddDialogOffersAClipboardThatLooksLikeAnAddressAndTheGroupShown) {
    WriteStore({}, {"Home", "Work"});
    ASSERT_TRUE(Start());
    std::string offered, group;
    OnShow("frmAddName", [&](Form&) {
        offered = app.frmAddName.Text3.text();
        group = app.frmAddName.Combo1.text();
        EXPECT_EQ(app.frmAddName.focusedControl(), "Text1");
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
    EXPECT_EQ(StoreBytes(), FileWithHeader({}));
}

TEST_F(BookmarkTest, ASavedBookmarkIsAppendedWithItsDefaultsAndItsNewGroup) {
    WriteStore(
        {Rec(0, "", "Work", "http://nameless"), Rec(1, "One", "Work", "http://one", "1/1", "2/2")},
        {"Work"});
    ASSERT_TRUE(Start());
    OnShow("frmAddName",
           [&](Form&) { TypeAndSave(app.frmAddName, "  New  ", "   ", " n.example "); });
    ASSERT_TRUE(Click(app.main.menuaddname));
    OnShow("frmAddName",
           [&](Form&) { TypeAndSave(app.frmAddName, "Two", " Play ", "https://two"); });
    ASSERT_TRUE(Click(app.main.menuaddname));

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "", "Work", "http://nameless"),
                              Rec(1, "One", "Work", "http://one", "1/1", "2/2"),
                              Rec(2, "New", "Misc - 12/6/2026", "www.n.example", "12/6/2026"),
                              Rec(3, "Two", "Play", "https://two", "12/6/2026")}));
    // A blank group box adds no group; a new one goes after the others and is shown.
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Play"}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Play", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "Play");
    EXPECT_EQ(app.main.List1.items(), Names{"Two"});
    EXPECT_FALSE(app.frmAddName.visible());
}

TEST_F(BookmarkTest, BothDialogsRefuseWhatCannotBeStoredAndKeepWhatWasTyped) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
    const std::string tags = " Cannot Contain [r], [n], [g], [d], [l] Or [u]";
    const std::vector<std::vector<std::string>> cases = {
        // name, group, URL, message, focus
        {"X", "Work", "  ", "Please Enter A URL", "Text3"},
        {"a[N]b", "Work", "http://x", "A Bookmark Name" + tags, "Text1"},
        {"X", "my[G]roup", "http://x", "A Group Name" + tags, "Combo1"},
        {"X", " all GROUPS ", "http://x", "Cannot Use The Name <ALL GROUPS> For A Group Name",
         "Combo1"},
        {"X", "Work", "http://x/[u]", "A URL" + tags, "Text3"},
    };
    for (BookmarkDialog* d : {static_cast<BookmarkDialog*>(&app.frmAddName),
                              static_cast<BookmarkDialog*>(&app.frmEditName)}) {
        std::vector<std::vector<std::string>> all = cases;
        all.push_back({"   ", "Work", "http://x",
                       d == &app.frmAddName ? "Please Enter A Bookmark Name"
                                            : "Bookmark Name Cannot Be Blank",
                       "Text1"});
        for (const auto& c : all) {
            SCOPED_TRACE(d->name() + ": " + c[3]);
            fake.messages.clear();
            OnShow(d->name(), [&](Form&) {
                TypeAndSave(*d, c[0], c[1], c[2]);
                EXPECT_TRUE(d->visible());
                EXPECT_EQ(d->focusedControl(), c[4]);
                EXPECT_EQ(d->Text1.text(), c[0]);
            });
            ASSERT_TRUE(
                Click(d == &app.frmAddName ? app.main.menuaddname : app.main.menunamesedit));
            EXPECT_EQ(Messages(), Names{c[3]});
            EXPECT_EQ(fake.messages.at(0).title, app.appTitle);
            EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one")}));
        }
    }
}

TEST_F(BookmarkTest, AnEditChangesTheSelectedBookmarkAfterASortAndStampsTodayAsAdded) {
    WriteStore({Rec(0, "Ca", "Work", "http://c", "1/1", "1/3"),
                Rec(0, "Aa", "Work", "http://a", "1/1", "1/4"),
                Rec(0, "Ba", " work ", "http://b", "1/1", "1/5")},
               {"Home", "Work"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    Pick("Ba");
    OnShow("frmEditName", [&](Form&) {
        EditNameForm& d = app.frmEditName;
        EXPECT_EQ(d.Text1.text(), "Ba");
        EXPECT_EQ(d.Combo1.text(), "Work");
        EXPECT_EQ(d.Combo1.listIndex(), 1);
        TypeAndSave(d, " Aa ", "Work", "bee.example");
    });

    ASSERT_TRUE(Click(app.main.menunamesedit));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "Aa", "Work", "http://a", "1/1", "1/4"),
                              Rec(1, "Aa", "Work", "www.bee.example", "12/6/2026", "1/5"),
                              Rec(2, "Ca", "Work", "http://c", "1/1", "1/3")}));
    // Selected again by its new name: the first of the two.
    EXPECT_EQ(app.main.List1.listIndex(), 0);
    EXPECT_FALSE(app.frmEditName.visible());
}

TEST_F(BookmarkTest, AnEditKeepsAGroupTheGroupFileLacksAndABlankGroupGivesTodaysMiscGroup) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
    OnShow("frmAddName", [&](Form&) { TypeAndSave(app.frmAddName, "Two", "", "two.example"); });
    ASSERT_TRUE(Click(app.main.menuaddname));
    Pick("Two");
    OnShow("frmEditName", [&](Form&) {
        EXPECT_EQ(app.frmEditName.Combo1.text(), "Misc - 12/6/2026");
        app.frmEditName.Command1.click();
    });
    ASSERT_TRUE(Click(app.main.menunamesedit));
    fake.today = "1/1/2030";
    OnShow("frmEditName", [&](Form&) { TypeAndSave(app.frmEditName, "Two", "  ", "two.example"); });
    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one"),
                              Rec(1, "Two", "Misc - 1/1/2030", "www.two.example", "1/1/2030")}));

    // A record number that no row holds changes nothing.
    const std::string store = StoreBytes();
    OnShow("frmEditName", [&](Form&) {
        app.frmEditName.editedRecord = "7";
        TypeAndSave(app.frmEditName, "Changed", "Work", "http://x");
    });
    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(StoreBytes(), store);
}

TEST_F(BookmarkTest, NothingToEditOrDeleteIsSaid) {
    WriteStore({}, {"Empty", "Work"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menunamesedit));
    ASSERT_TRUE(Click(app.main.menunamesdelete));
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Empty", "Work"});
    ASSERT_TRUE(Run([&] { LoadStore(app); }));
    ChooseGroup("Empty");
    ASSERT_TRUE(Click(app.main.menunamesedit));
    EXPECT_EQ(Messages(),
              (Names{"There Are No Bookmark's To Edit", "There Are No Bookmark's To Delete",
                     "There No Bookmark's To Edit"}));
    EXPECT_EQ(std::count(fake.shownForms.begin(), fake.shownForms.end(), "frmEditName"), 2);
}

TEST_F(BookmarkTest, ADeleteAsksThenTakesEveryCopyByNameAndGroupInAnyCaseAndTheExactUrl) {
    WriteStore({Rec(0, "Keep", "Work", "http://keep"), Rec(0, "Dup", "Work", "http://dup"),
                Rec(0, " DUP ", " WORK ", "http://dup"), Rec(0, "Dup", "Work", "http://DUP"),
                Rec(0, "Dup", "Home", "http://dup")},
               {"Home", "Work"});
    ASSERT_TRUE(Start());
    ChooseGroup("Work");
    Pick("Dup");
    fake.answers = {MsgResult::Cancel, MsgResult::OK};
    ASSERT_TRUE(Click(app.main.menunamesdelete));
    EXPECT_EQ(app.recordCount, 5);
    ASSERT_TRUE(Click(app.main.menunamesdelete));

    EXPECT_EQ(
        Messages(),
        Names(2, "Delete The Bookmark:\rDup\r\rFrom The Group: \rWork\r\rFor URL: \rhttp://dup"));
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OKCancel);
    // The file keeps the numbers the rows had; the reload numbers them afresh.
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Keep", "Work", "http://keep"),
                                            Rec(3, "Dup", "Work", "http://DUP"),
                                            Rec(4, "Dup", "Home", "http://dup")}));
    EXPECT_EQ(app.main.List3.items(), (Names{"0", "1", "2"}));
    EXPECT_EQ(app.main.Combo1.listIndex(), 0);
}

TEST_F(BookmarkTest, OpeningStampsTheBookmarkOpenedAfterASortAndKeepsItSelected) {
    WriteStore({Rec(0, "Ca", "Work", "http://c", "1/1", "1/3"),
                Rec(0, "Aa", "Work", "www.a.example"), Rec(0, "Ba", "Work", "https://b")},
               {"Work"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
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
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    EXPECT_EQ(app.main.List1.listIndex(), 1);
    EXPECT_EQ(app.main.lblDateAccessed.caption(), " 12/6/2026 ");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BookmarkTest, NothingThatIsNotAWebAddressIsOpenedAndWhatNoBrowserOpenedIsNotStamped) {
    const Names refused = {"file:///home/me/http://x", "C:\\Tools\\www.run.exe",
                           "mailto:me@www.example", "\\\\server\\www.share",
                           "javascript:alert('http://x')"};
    Names records;
    for (const std::string& url : refused)
        records.push_back(Rec(0, "Bad", "Work", url));
    records.push_back(Rec(0, "Good", "Work", "http://good"));
    WriteStore(records, {"Work", "Empty"});
    ASSERT_TRUE(Start());
    const std::string before = StoreBytes();
    fake.shellOpenSucceeds = false;
    Names expected;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(i); }));
        ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
        expected.push_back(i < 5 ? "Tabbern Opens Only Web Addresses:\r" + refused[i]
                                 : "No Web Browser Could Open:\rhttp://good");
    }
    ChooseGroup("Empty");
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(fake.openedUrls, Names{"http://good"});
    EXPECT_EQ(StoreBytes(), before);
}

TEST(WebAddress, OnlyWebAddressesReachTheBrowserWithTheirScheme) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://a.example", "http://a.example"},
        {"HTTPS://a.example/x?y=1", "HTTPS://a.example/x?y=1"},
        {"www.a.example", "http://www.a.example"},
        {"a.example:65535/path", "http://a.example:65535/path"},
        {"localhost:8080", "http://localhost:8080"},
        {"ww3.a.example/p:q", "http://ww3.a.example/p:q"},
        {"www.a.example.", "http://www.a.example."},
        {" http://a.example./x\r\n", "http://a.example./x"},
        {"https://\xC3\xA9t\xC3\xA9.example/", "https://\xC3\xA9t\xC3\xA9.example/"},
        {"", ""},
        {"http://", ""},
        {"ftp://a.example", ""},
        {"a.example:123456", ""},
        {"www.a.example:", ""},
        {"www.a.example..", ""},
        {"c:/windows", ""},
        {"user:secret@www.a.example", ""},
        {"http://user@evil.example/", ""},
        {"//host/share", ""},
        {"www.a.example\r\nx", ""},
        {"http://exa mple.com/", ""},
        {"http://example.com/\x01path", ""},
        {"https://example.com/" + std::string(5000, 'a'), ""},
        {"ms-msdt:/id PCWDiagnostic", ""},
        {"www./usr/bin/xterm", ""},
        {"http:///etc/passwd", ""},
    };
    for (const auto& [text, browser] : cases) {
        EXPECT_EQ(IsWebAddress(text), !browser.empty()) << text.substr(0, 60);
        EXPECT_EQ(BrowserAddress(text), browser) << text.substr(0, 60);
    }
}

} // namespace
} // namespace tabbern::test
