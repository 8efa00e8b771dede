// Selecting a bookmark and its details; the group selector and the dialogs' group boxes.
#include "listview/ListFixture.h"

#include "store/Store.h"

namespace tabbern::test {
namespace {

using ListDetails = ListTest;
using ListGroupSelector = ListTest;

TEST_F(ListDetails, ClickingAnEntryShowsThatBookmark) {
    WriteStore({Record("One", "Work", "http://one.example", "1/1/2025", "1/2/2025"),
                Record("Two", "Work", "http://two.example", "2/1/2025", ""),
                Record("Three", "Home", "www.three.example", "3/1/2025", "3/2/2025")});
    ASSERT_TRUE(StartList());
    MainForm& m = app.main;

    ASSERT_TRUE(Run([&] { m.List1.setListIndex(2); }));

    ExpectHiddenListsAt(2);
    EXPECT_EQ(app.selectedUrl, "www.three.example");
    EXPECT_EQ(m.lblWhatGroup.caption(), "Home");
    EXPECT_EQ(m.lblWhatGroup.toolTip(), " Home ");
    EXPECT_EQ(m.Label2.toolTip(), " Home ");
    EXPECT_EQ(m.LabelShowURLAddress.caption(), "www.three.example ");
    EXPECT_EQ(m.LabelShowURLAddress.toolTip(), " www.three.example ");
    EXPECT_EQ(m.lblDateAccessed.caption(), " 3/2/2025 ");
    EXPECT_EQ(m.lblDateAccessed.toolTip(), " Last Accessed On: 3/2/2025 - Date Added: 3/1/2025 ");
    EXPECT_EQ(m.LabelLastAccessed.toolTip(), " Last Accessed On: 3/2/2025 - Date Added: 3/1/2025 ");

    // A bookmark never opened.
    ASSERT_TRUE(Run([&] { m.List1.setListIndex(1); }));
    EXPECT_EQ(m.lblDateAccessed.caption(), "  ");
    EXPECT_EQ(m.lblDateAccessed.toolTip(), " Last Accessed On:  - Date Added: 2/1/2025 ");
    EXPECT_EQ(m.lblWhatGroup.caption(), "Work");
}

// ---- the group selector -------------------------------------------------------------------

TEST_F(ListGroupSelector, StartUpListsGroupsInExactOrderAndMirrorsThemInTheTable) {
    WriteStore(
        {Record("B1", "beta", "http://b.example"), Record("G1", "gamma", "http://g.example")},
        {"beta", "Alpha", "gamma", "Zed"});
    ASSERT_TRUE(StartList());
    ComboBox& combo = app.main.Combo1;

    EXPECT_EQ(combo.items(), (Names{"All Groups", "Alpha", "Zed", "beta", "gamma"}));
    EXPECT_EQ(app.groups, (Names{"", "Alpha", "Zed", "beta", "gamma", ""}));
    EXPECT_EQ(app.groupCount, 4);
    EXPECT_TRUE(combo.enabled());
    EXPECT_EQ(combo.listIndex(), 0);
    EXPECT_EQ(app.main.List1.items(), (Names{"B1", "G1"}));

    // A rebuild leaves the last entry selected, and the list shows that group.
    ASSERT_TRUE(Run([&] { RebuildGroupTable(app); }));
    EXPECT_EQ(combo.listIndex(), 4);
    EXPECT_EQ(app.currentGroupFilter, "gamma");
    EXPECT_EQ(app.main.List1.items(), (Names{"G1"}));
}

TEST_F(ListGroupSelector, RebuildEmptiesRepeatsAndGivesTheSelectorBackAsItWas) {
    ASSERT_TRUE(StartList());
    ComboBox& combo = app.main.Combo1;
    app.groups = {"kept"};
    ASSERT_TRUE(Run([&] { RebuildGroupTable(app); })); // "All Groups" alone: nothing to do
    EXPECT_EQ(app.groups, (Names{"kept"}));

    for (const char* entry : {"Work", " Work ", "work", "Home", "Work"})
        combo.addItem(entry);
    bool enabledDuringWalk = true;
    combo.onClick = [&] { enabledDuringWalk = enabledDuringWalk && combo.enabled(); };
    ASSERT_TRUE(Run([&] { RebuildGroupTable(app); }));

    // Exact repeats go; a name differing in letter case is a group of its own.
    EXPECT_EQ(app.groups, (Names{"", "Work", "", "work", "Home", "", ""}));
    EXPECT_FALSE(enabledDuringWalk);
    EXPECT_TRUE(combo.enabled());
    EXPECT_EQ(combo.listIndex(), 5);

    // A selector disabled by the command line stays disabled.
    combo.setEnabled(false);
    ASSERT_TRUE(Run([&] { RebuildGroupTable(app); }));
    EXPECT_FALSE(combo.enabled());
}

TEST_F(ListGroupSelector, FillSkipsBlankNamesAndTakesThePendingText) {
    ASSERT_TRUE(StartList());
    ComboBox& combo = app.main.Combo1;
    app.groups = {"b", "  ", "A", ""};
    app.groupCount = 2;
    app.pendingGroupText = " New ";

    ASSERT_TRUE(Run([&] { FillGroupSelector(app); }));
    EXPECT_EQ(combo.items(), (Names{"All Groups", "A", "b"}));
    EXPECT_EQ(app.groups, (Names{"  ", "", "A", "b"}));
    EXPECT_EQ(combo.text(), " New ");
    EXPECT_EQ(combo.listIndex(), -1);
    EXPECT_EQ(app.pendingGroupText, "");

    app.groupCount = 0;
    ASSERT_TRUE(Run([&] { FillGroupSelector(app); }));
    EXPECT_EQ(combo.items(), (Names{"All Groups"}));
    EXPECT_EQ(combo.text(), "");
}

TEST_F(ListGroupSelector, DialogBoxesGetTrimmedNamesWithoutAllGroups) {
    ComboBox box("GroupList");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setText("typed");
    app.groups = {" Work ", "", " All GROUPS ", "home"};

    FillGroupCombo(app, box);
    EXPECT_EQ(box.items(), (Names{"Work", "home"}));
    EXPECT_EQ(box.listIndex(), 0);
    EXPECT_EQ(box.text(), "Work");
    EXPECT_EQ(clicks, 1);

    app.groups = {"  "};
    FillGroupCombo(app, box);
    EXPECT_TRUE(box.items().empty());
    EXPECT_EQ(box.text(), "");
    EXPECT_EQ(clicks, 1);
}

TEST_F(ListGroupSelector, FirstClickOfARunOnlySetsTheFilter) {
    WriteStore({Record("W", "Work", "http://w.example"), Record("H", "Home", "http://h.example")},
               {"Work", "Home"});
    PrepareFolders();
    WireListViewHandlers(app);
    ASSERT_TRUE(Run([&] {
        LoadStore(app);
        LoadGroups(app);
        FillGroupSelector(app);
        FillBookmarkList(app);
    }));

    ChooseGroup("Work");
    EXPECT_EQ(app.currentGroupFilter, "work");
    EXPECT_EQ(app.main.List1.items(), (Names{"W", "H"}));

    ChooseGroup("Home");
    EXPECT_EQ(app.main.List1.items(), (Names{"H"}));
    ChooseGroup("All Groups");
    EXPECT_EQ(app.main.List1.items(), (Names{"W", "H"}));
    EXPECT_EQ(app.currentGroupFilter, "all");
}

TEST_F(ListGroupSelector, SelectGroupByNameFallsBackToTheLastEntry) {
    WriteStore({Record("A1", "Alpha", "http://a.example"), Record("H1", "Home", "http://h.example"),
                Record("Z1", "Zed", "http://z.example")});
    ASSERT_TRUE(StartList());
    ComboBox& combo = app.main.Combo1;
    struct Case {
        const char* name;
        int selected;
        const char* listed;
    };
    for (const Case& c : {Case{"HOME", 2, "H1"}, Case{"  ", 2, "H1"}, Case{"Nothing", 3, "Z1"},
                          Case{"alpha", 1, "A1"}, Case{" home", 3, "Z1"}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Run([&] { SelectGroupByName(app, c.name); }));
        EXPECT_EQ(combo.listIndex(), c.selected);
        EXPECT_EQ(app.main.List1.items(), (Names{c.listed}));
    }
}

TEST_F(ListGroupSelector, EnterHandsTheTrimmedTextToAddGroup) {
    ASSERT_TRUE(StartList());
    Names added;
    app.addGroupFromSelector = [&](App&, const std::string& name) { added.push_back(name); };
    app.main.Combo1.setText("  New Group  ");

    ASSERT_TRUE(Run([&] { app.main.Combo1.onKeyPress('N'); }));
    EXPECT_TRUE(added.empty());
    ASSERT_TRUE(Run([&] { app.main.Combo1.onKeyPress(13); }));
    EXPECT_EQ(added, (Names{"New Group"}));
}

} // namespace
} // namespace tabbern::test
