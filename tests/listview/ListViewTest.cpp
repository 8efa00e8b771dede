// The bookmark list: what a group lists, the sort orders, the selection's details, the group
// selector and the name search.
#include "support/AppFixture.h"

#include "listview/ListView.h"
#include "store/Store.h"

namespace tabbern::test {
namespace {

class ListTest : public AppTest {
protected:
    bool Search(const std::string& text) {
        app.main.TextNameSearch.setText(text);
        return Run([&] { app.main.TextNameSearch.onKeyPress(13); });
    }
    // The names' list and the hidden lists of the other fields all select the entry.
    void ExpectHiddenListsAt(int at) {
        MainForm& m = app.main;
        for (const ListBox* l : {&m.List1, &m.List2, &m.List3, &m.List4, &m.List5, &m.List6})
            EXPECT_EQ(l->listIndex(), at) << l->name();
    }
};

TEST_F(ListTest, AGroupListsItsBookmarksWhateverTheCaseAndBlanksOfTheirGroup) {
    ASSERT_TRUE(StartWith({Rec(0, "A", "Work", "a.example", "1/5", "2/5"),
                           Rec(0, "B", " WORK ", "b.example"), Rec(0, "C", "Work 2", "c.example"),
                           Rec(0, "  ", "Work", "f.example")},
                          {"Work", "Work 2"}));
    const MainForm& m = app.main;
    EXPECT_EQ(m.List1.items(), (Names{"A", "B", "C"})); // a nameless record is never listed

    ChooseGroup("Work");
    EXPECT_EQ(m.List1.items(), (Names{"A", "B"}));
    EXPECT_EQ(m.List2.items(), (Names{"www.a.example", "www.b.example"}));
    ExpectHiddenListsAt(0);
    EXPECT_EQ(m.lblDateAccessed.caption(), " 2/5 ");
    ASSERT_TRUE(Run([&] { app.main.List1.setListIndex(1); }));
    ExpectHiddenListsAt(1);
    EXPECT_EQ(app.selectedUrl, "www.b.example");
    EXPECT_EQ(m.lblWhatGroup.caption(), " WORK ");
}

TEST_F(ListTest, EachSortCommandTicksSavesSortsBlanksFirstAndRenumbers) {
    ASSERT_TRUE(StartWith({Rec(0, "beta", "G", "http://c", "2/1", "3/1"),
                           Rec(0, "Alpha", "G", "http://a", "12/1", ""),
                           Rec(0, "gamma", "G", "http://b", "1/1", "10/1"),
                           Rec(0, "Zed", "G", "http://d", "  ", "  "),
                           Rec(0, "\xC3\x89mile", "G", "http://e", "", "3/1")}));
    MainForm& m = app.main;
    const std::pair<MenuItem*, Names> cases[] = {
        {&m.menusortbyurl, {"Alpha", "gamma", "beta", "Zed", "\xC3\x89mile"}},
        {&m.menusortbydateadded, {"Zed", "\xC3\x89mile", "gamma", "Alpha", "beta"}},
        {&m.menulastaccessed, {"Zed", "Alpha", "gamma", "\xC3\x89mile", "beta"}},
        {&m.menusortbyname, {"Alpha", "Zed", "beta", "gamma", "\xC3\x89mile"}},
    };
    for (int choice = 2; const auto& [item, names] : cases) {
        SCOPED_TRACE(item->name());
        ASSERT_TRUE(Click(*item));
        EXPECT_EQ(m.List1.items(), names);
        for (const MenuItem* other : m.menusortby.children)
            EXPECT_EQ(other->checked(), other == item) << other->name();
        EXPECT_EQ(ReadBytes(File("tabbern.cfg")), CfgOf(app, {.sortChoice = choice}));
        choice = choice % 4 + 1;
        EXPECT_EQ(m.List3.items(), (Names{"0", "1", "2", "3", "4"}));
        for (int p = 0; p < 5; ++p)
            EXPECT_EQ(app.bookmarks.at(p, kColName), m.List1.item(p));
    }
}

TEST_F(ListTest, EqualKeysKeepTheirOrderInALongList) {
    Names records, urls[2];
    for (int i = 0; i < 60; ++i) {
        const std::string url = "http://" + std::to_string(i);
        records.push_back(Rec(0, i % 3 ? "Same" : "Other", "G", url));
        urls[i % 3 ? 1 : 0].push_back(url);
    }
    ASSERT_TRUE(StartWith(records));
    ASSERT_TRUE(Click(app.main.menusortbyname));
    urls[0].insert(urls[0].end(), urls[1].begin(), urls[1].end());
    EXPECT_EQ(app.main.List2.items(), urls[0]);
}

TEST_F(ListTest, TheSelectorListsTheGroupsInByteOrderARebuildKeepsThemAndDialogsOfferThem) {
    WriteStore({Rec(0, "G1", "gamma", "http://g")}, {"beta", "Alpha", "gamma", " ", "Zed"});
    fake.commandLineText = "0";
    ASSERT_TRUE(Start());
    ComboBox& combo = app.main.Combo1;
    EXPECT_EQ(combo.items(), (Names{"All Groups", "Alpha", "Zed", "beta", "gamma"}));
    EXPECT_EQ(app.groups, (Names{"", "Alpha", "Zed", "beta", "gamma", ""}));

    for (const char* entry : {"Work", " Work ", "work", "Work"})
        combo.addItem(entry);
    ASSERT_TRUE(Run([&] { RebuildGroupTable(app); }));
    // Exact repeats go; a name in other letter case is a group of its own.
    EXPECT_EQ(app.groups, (Names{"", "Alpha", "Zed", "beta", "gamma", "Work", "", "work", "", ""}));
    EXPECT_FALSE(combo.enabled());

    // The dialogs' group boxes offer the trimmed names, without All Groups.
    ComboBox box("GroupList");
    box.setText("typed");
    app.groups = {" Work ", "", " All GROUPS ", "home"};
    FillGroupCombo(app, box);
    EXPECT_EQ(box.items(), (Names{"Work", "home"}));
    EXPECT_EQ(box.text(), "Work");
}

TEST_F(ListTest, TheSearchSelectsTheFirstNameThatMatchesTrimmedAndInAnyCase) {
    ASSERT_TRUE(StartWith(
        {Rec(0, "Apple", "Work", "http://apple"), Rec(0, " Same ", "Work", "http://same1"),
         Rec(0, "Same", "Home", "http://same2"), Rec(0, "Banana", "Home", "http://banana")},
        {"Home", "Work"}));
    ASSERT_TRUE(Search("  sAmE  "));
    ExpectHiddenListsAt(1);
    EXPECT_EQ(app.main.LabelShowURLAddress.caption(), "http://same1 ");
    EXPECT_TRUE(Messages().empty());

    // Not found (in the group shown): said, and the selection and details stay as they were.
    ChooseGroup("Work");
    for (const char* typed : {"App", " Banana ", "   "}) {
        ASSERT_TRUE(Search(typed));
        ExpectHiddenListsAt(0);
        EXPECT_EQ(app.main.LabelShowURLAddress.caption(), "http://apple ");
    }
    EXPECT_EQ(Messages(),
              (Names{" Could Not Find Bookmark <App>", " Could Not Find Bookmark <Banana>",
                     " Could Not Find Bookmark <>"}));
}

} // namespace
} // namespace tabbern::test
