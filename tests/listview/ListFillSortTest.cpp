// The bookmark list: which bookmarks a group filter lists, and the four sort orders.
#include "listview/ListFixture.h"

#include "store/Store.h"
#include "store/Tables.h"

namespace tabbern::test {
namespace {

using ListFill = ListTest;

const std::string kNoDatesTip = " Last Accessed On:  - Date Added:  ";

TEST_F(ListFill, GroupFilterComparesTrimmedAndLowerCased) {
    WriteStore({Record("A", "Work", "http://a.example"), Record("B", " WORK ", "http://b.example"),
                Record("C", "work", "http://c.example"), Record("D", "Work 2", "http://d.example"),
                Record("E", "Home", "http://e.example"), Record("  ", "Work", "http://f.example")});
    ASSERT_TRUE(StartList());

    ChooseGroup("Work");
    EXPECT_EQ(app.currentGroupFilter, "work");
    EXPECT_EQ(app.main.List1.items(), (Names{"A", "B", "C"}));
    EXPECT_EQ(app.main.List5.items(), (Names{"Work", " WORK ", "work"}));

    for (const char* filter : {"   ", "", "all groups"}) {
        SCOPED_TRACE(std::string("filter [") + filter + "]");
        app.currentGroupFilter = filter;
        Run([&] { FillBookmarkList(app); });
        // The nameless record is never listed.
        EXPECT_EQ(app.main.List1.items(), (Names{"A", "B", "C", "D", "E"}));
        EXPECT_EQ(app.currentGroupFilter, "all");
    }
}

TEST_F(ListFill, ParallelListsLineUpAndTheFirstEntryIsSelected) {
    WriteStore({Record("Apple", "Work", "http://apple.example", "1/5/2025", "2/5/2025"),
                Record("Pear ", "Home", "http://pear.example", "3/5/2025", "")});
    ASSERT_TRUE(StartList());

    const MainForm& m = app.main;
    EXPECT_EQ(m.List1.items(), (Names{"Apple", "Pear "}));
    EXPECT_EQ(m.List2.items(), (Names{"http://apple.example", "http://pear.example"}));
    EXPECT_EQ(m.List3.items(), (Names{"0", "1"}));
    EXPECT_EQ(m.List4.items(), (Names{"1/5/2025", "3/5/2025"}));
    EXPECT_EQ(m.List5.items(), (Names{"Work", "Home"}));
    EXPECT_EQ(m.List6.items(), (Names{"2/5/2025", ""}));
    EXPECT_EQ(m.List1.listIndex(), 0);
    ExpectHiddenListsAt(0);
    EXPECT_EQ(app.selectedUrl, "http://apple.example");
    EXPECT_EQ(m.LabelShowURLAddress.caption(), "http://apple.example ");
}

TEST_F(ListFill, NoMatchEmptiesTheListsAndClearsTheDetailsButNotTheGroup) {
    WriteStore({Record("Apple", "Work", "http://apple.example", "1/5/2025", "2/5/2025")});
    ASSERT_TRUE(StartList());

    app.currentGroupFilter = "nothing";
    Run([&] { FillBookmarkList(app); });

    const MainForm& m = app.main;
    for (const ListBox* l : {&m.List1, &m.List2, &m.List3, &m.List4, &m.List5, &m.List6})
        EXPECT_EQ(l->listCount(), 0) << l->name();
    EXPECT_EQ(m.LabelShowURLAddress.caption(), "");
    EXPECT_EQ(m.LabelShowURLAddress.toolTip(), "");
    EXPECT_EQ(m.lblDateAccessed.caption(), "  ");
    EXPECT_EQ(m.lblDateAccessed.toolTip(), kNoDatesTip);
    EXPECT_EQ(m.LabelLastAccessed.caption(), "Last Accessed On:");
    EXPECT_EQ(m.LabelLastAccessed.toolTip(), kNoDatesTip);
    EXPECT_EQ(m.lblWhatGroup.caption(), "Work");
    EXPECT_EQ(app.selectedUrl, "http://apple.example");
}

// ---- sorting ------------------------------------------------------------------------------

class ListSort : public ListTest {
protected:
    // Three bookmarks whose order differs for each of the four keys.
    void WriteThreeBookmarks() {
        WriteStore({Record("beta", "G", "http://c.example", "2/1/2025", "3/1/2025"),
                    Record("Alpha", "G", "http://a.example", "12/1/2025", ""),
                    Record("gamma", "G", "http://b.example", "1/1/2025", "10/1/2025")});
    }
};

TEST_F(ListSort, EachSortCommandTicksSavesSortsAndRenumbers) {
    WriteThreeBookmarks();
    ASSERT_TRUE(StartList());
    MainForm& m = app.main;
    struct Case {
        MenuItem* item;
        char choice;
        Names names;
    };
    const Case cases[] = {
        {&m.menusortbyurl, 2, {"Alpha", "gamma", "beta"}},
        {&m.menusortbydateadded, 3, {"gamma", "Alpha", "beta"}}, // dates compare as text
        {&m.menulastaccessed, 4, {"Alpha", "gamma", "beta"}},    // never opened first
        {&m.menusortbyname, 1, {"Alpha", "beta", "gamma"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->name());
        ASSERT_TRUE(Run([&] { c.item->click(); }));

        EXPECT_EQ(m.List1.items(), c.names);
        for (const MenuItem* item :
             {&m.menusortbyname, &m.menusortbyurl, &m.menusortbydateadded, &m.menulastaccessed})
            EXPECT_EQ(item->checked(), item == c.item) << item->name();
        const std::string cfg = CfgBytes();
        EXPECT_EQ(cfg.substr(124, 2), std::string({c.choice, '\0'}));
        EXPECT_EQ(app.sortChoice, c.choice);

        // The record number listed beside each name leads to that bookmark's row.
        EXPECT_EQ(m.List3.items(), (Names{"0", "1", "2"}));
        for (int p = 0; p < 3; ++p) {
            const BookmarkRow& row = app.bookmarks.row(p);
            EXPECT_EQ(row[kColRecord], m.List3.item(p));
            EXPECT_EQ(row[kColName], m.List1.item(p));
            EXPECT_EQ(row[kColUrl], m.List2.item(p));
        }
    }
}

TEST_F(ListSort, ExactByteOrderWithStableTies) {
    WriteStore({Record("apple", "G", "http://1.example"), Record("Zebra", "G", "http://2.example"),
                Record("Mango", "G", "http://3.example"), Record(" lead", "G", "http://4.example"),
                Record("\xC3\x89mile", "G", "http://5.example"), // É, beyond ASCII
                Record("app", "G", "http://6.example"), Record("Mango", "G", "http://7.example")});
    ASSERT_TRUE(StartList());

    ASSERT_TRUE(Run([&] { app.main.menusortbyname.click(); }));

    EXPECT_EQ(app.main.List1.items(),
              (Names{" lead", "Mango", "Mango", "Zebra", "app", "apple", "\xC3\x89mile"}));
    EXPECT_EQ(app.main.List2.item(1), "http://3.example");
    EXPECT_EQ(app.main.List2.item(2), "http://7.example");
}

TEST_F(ListSort, EqualKeysKeepTheirOrderInALongList) {
    // Long enough that an unstable sort would reorder equal names.
    std::vector<std::string> records;
    Names sameUrls, otherUrls;
    for (int i = 0; i < 60; ++i) {
        const std::string url = "http://" + std::to_string(i) + ".example";
        records.push_back(Record(i % 3 ? "Same" : "Other", "G", url));
        (i % 3 ? sameUrls : otherUrls).push_back(url);
    }
    WriteStore(records);
    ASSERT_TRUE(StartList());

    ASSERT_TRUE(Run([&] { app.main.menusortbyname.click(); }));

    Names expected = otherUrls;
    expected.insert(expected.end(), sameUrls.begin(), sameUrls.end());
    EXPECT_EQ(app.main.List2.items(), expected);
}

TEST_F(ListSort, BlankKeysComeFirstInTheirPreviousOrder) {
    WriteStore({Record("A", "G", "http://a.example", "1/1/2025", "5/1/2025"),
                Record("B", "G", "http://b.example", "1/1/2025", ""),
                Record("C", "G", "http://c.example", "1/1/2025", "  "),
                Record("D", "G", "http://d.example", "1/1/2025", "1/1/2025"),
                Record("E", "G", "http://e.example", "1/1/2025", ""),
                Record("F", "G", "http://f.example", "1/1/2025", "5/1/2025")});
    ASSERT_TRUE(StartList());

    ASSERT_TRUE(Run([&] { app.main.menulastaccessed.click(); }));

    EXPECT_EQ(app.main.List1.items(), (Names{"B", "C", "E", "D", "A", "F"}));
}

TEST_F(ListSort, OnlyTheOccupiedRowsMove) {
    ASSERT_TRUE(StartList());
    // An empty table sorts to nothing.
    ASSERT_TRUE(Run([&] { app.main.menusortbyname.click(); }));
    EXPECT_EQ(app.main.List1.listCount(), 0);

    WriteThreeBookmarks();
    ASSERT_TRUE(Run([&] { LoadStore(app); }));
    // The spare row beyond the records stays where it is, record number and all.
    BookmarkRow& spare = app.bookmarks.row(1000);
    spare[kColRecord] = "1000";
    spare[kColName] = "Aardvark";
    ASSERT_TRUE(Run([&] { SortBookmarks(app, kColName); }));

    EXPECT_EQ(app.bookmarks.at(0, kColName), "Alpha");
    EXPECT_EQ(app.bookmarks.at(3, kColName), "");
    EXPECT_EQ(app.bookmarks.at(1000, kColName), "Aardvark");
    EXPECT_EQ(app.bookmarks.at(1000, kColRecord), "1000");
}

TEST_F(ListSort, ApplySortChoiceUsesTheRememberedChoiceAndSavesNothing) {
    WriteThreeBookmarks();
    WriteSortSettings(3, 0);
    ASSERT_TRUE(StartList());
    EXPECT_EQ(app.main.List1.items(), (Names{"beta", "Alpha", "gamma"})); // file order
    const std::string cfg = CfgBytes();

    app.sortChoice = 2;
    ASSERT_TRUE(Run([&] { ApplySortChoice(app); }));
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "gamma", "beta"}));
    EXPECT_TRUE(app.main.menusortbyurl.checked());
    EXPECT_FALSE(app.main.menusortbyname.checked());

    app.sortChoice = 9; // an unknown choice sorts by name
    ASSERT_TRUE(Run([&] { ApplySortChoice(app); }));
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "beta", "gamma"}));
    EXPECT_TRUE(app.main.menusortbyname.checked());
    EXPECT_FALSE(app.main.menusortbyurl.checked());

    EXPECT_EQ(CfgBytes(), cfg);
}

TEST_F(ListSort, RefillSortsOnlyWhenSortChoicesAreRemembered) {
    WriteThreeBookmarks();
    WriteSortSettings(2, 1);
    ASSERT_TRUE(StartList());
    EXPECT_TRUE(app.main.menuremembersortchoices.checked());
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "gamma", "beta"}));

    // Without the option the table keeps the order the last sort gave it.
    app.rememberSortFlag = 0;
    app.sortChoice = 1;
    ASSERT_TRUE(Run([&] { RefillBookmarkList(app); }));
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "gamma", "beta"}));

    app.rememberSortFlag = 1;
    ASSERT_TRUE(Run([&] { RefillBookmarkList(app); }));
    EXPECT_EQ(app.main.List1.items(), (Names{"Alpha", "beta", "gamma"}));
}

} // namespace
} // namespace tabbern::test
