// Opening a bookmark: what reaches the browser, and the last-access stamp.
#include "editing/EditingFixture.h"

namespace tabbern::test {
namespace {

using OpenBookmark = EditingTest;

TEST_F(OpenBookmark, AfterASortTheOpenedBookmarkAloneIsStampedAndStaysSelected) {
    WriteStore({Record("Ca", "Work", "http://c.example", "1/1/2025", "1/3/2025"),
                Record("Aa", "Work", "www.a.example", "1/1/2025", ""),
                Record("Ba", "Work", "https://b.example", "1/1/2025", "")},
               {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Click(app.main.menusortbyurl));
    ASSERT_EQ(app.main.List1.items(), (Names{"Ca", "Ba", "Aa"}));
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));

    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));

    EXPECT_EQ(fake.openedUrls, (Names{"https://b.example"}));
    // Written in the sorted order the table holds in memory.
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "Ca", "Work", "http://c.example", "1/1/2025", "1/3/2025"),
                              Rec(1, "Ba", "Work", "https://b.example", "1/1/2025", "12/6/2026"),
                              Rec(2, "Aa", "Work", "www.a.example", "1/1/2025", "")}));
    EXPECT_EQ(app.main.List1.listIndex(), 1);
    ExpectHiddenListsAt(1);
    EXPECT_EQ(app.main.lblDateAccessed.caption(), " 12/6/2026 ");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(OpenBookmark, TheUrlLabelOpensAnAddressWithoutSchemeAsListed) {
    WriteStore({Record("One", "Work", "http://one.example"),
                Record("Two", "Work", "two.example", "1/1/2025", "")},
               {"Work"});
    ASSERT_TRUE(StartList());
    // The list moved without a click: the label brings the selection in line first.
    ASSERT_TRUE(Run([&] {
        app.main.List1.setListIndex(-1);
        app.main.List1.setListIndex(1);
    }));
    app.selectedUrl = "stale";

    ASSERT_TRUE(Run([&] { app.main.LabelShowURLAddress.onDblClick(); }));

    // The browser is given the address with its scheme, as every desktop opener needs it.
    EXPECT_EQ(fake.openedUrls, (Names{"http://www.two.example"}));
    EXPECT_EQ(app.bookmarks.at(1, kColLastAccessed), "12/6/2026");
    EXPECT_EQ(app.bookmarks.at(0, kColLastAccessed), "");
}

TEST_F(OpenBookmark, ABookmarkNoBrowserOpenedIsNotStamped) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = StoreBytes();
    fake.shellOpenSucceeds = false;
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    EXPECT_EQ(Messages(), Names{"No Web Browser Could Open:\rhttp://one.example"});
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(OpenBookmark, OpeningTheFirstEntryLeavesTheFirstSelected) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    EXPECT_EQ(fake.openedUrls, (Names{"http://one.example", "http://one.example"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "http://one.example", "1/2/2025",
                                                "12/6/2026")}));
    EXPECT_EQ(app.main.List1.listIndex(), 0);
}

TEST_F(OpenBookmark, AnythingButAWebAddressIsRefusedAndNotStamped) {
    const Names refused = {"file:///home/me/http://x", "C:\\Tools\\www.run.exe",
                           "mailto:me@www.example",    "\\\\server\\www.share",
                           "/usr/bin/www.tool",        "javascript:alert('http://x')"};
    std::vector<std::string> records;
    for (const std::string& url : refused)
        records.push_back(Record("Bad", "Work", url));
    WriteStore(records, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = StoreBytes();

    for (int i = 0; i < static_cast<int>(refused.size()); ++i) {
        fake.messages.clear();
        ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(i); }));
        ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
        EXPECT_EQ(Messages(), (Names{"Tabbern Opens Only Web Addresses:\r" + refused[i]}));
    }
    EXPECT_TRUE(fake.openedUrls.empty());
    EXPECT_EQ(StoreBytes(), before);
}

// What the browser is given for each text: the address with its scheme, or nothing at all.
TEST(WebAddress, SchemesPathsPortsAndWhatTheBrowserIsGiven) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://a.example", "http://a.example"},
        {"HTTPS://a.example/x?y=1", "HTTPS://a.example/x?y=1"},
        {"www.a.example", "http://www.a.example"},
        {"a.example:8080/path", "http://a.example:8080/path"},
        {"ww3.a.example/p:q", "http://ww3.a.example/p:q"},
        {"www.a.example#frag", "http://www.a.example#frag"},
        // A link at the end of a sentence, and a text file's last line.
        {"www.a.example.", "http://www.a.example."},
        {" http://a.example./x\r\n", "http://a.example./x"},
        {"", ""},
        {"   ", ""},
        {"http://", ""},
        {"ftp://a.example", ""},
        {"www.a.example:", ""},
        {"www.a.example..", ""},
        {"c:/windows", ""},
        {"user:secret@www.a.example", ""},
        {":80", ""},
        {"//host/share", ""},
        {"www.a.example\r\nx", ""},
    };
    for (const auto& [text, browser] : cases) {
        EXPECT_EQ(IsWebAddress(text), *browser != '\0') << text;
        EXPECT_EQ(BrowserAddress(text), browser) << text;
    }
}

TEST_F(OpenBookmark, AnEmptyListOpensNothing) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work", "Empty"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Empty");
    ASSERT_FALSE(app.selectedUrl.empty());
    ASSERT_TRUE(Run([&] { app.main.List1.onDblClick(); }));
    EXPECT_TRUE(fake.openedUrls.empty());
    EXPECT_EQ(app.bookmarks.at(0, kColLastAccessed), "");
}

} // namespace
} // namespace tabbern::test
