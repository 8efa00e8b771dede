// The add dialog: what it offers on show, what a save stores, and what it refuses.
#include "editing/EditingFixture.h"

namespace tabbern::test {
namespace {

using AddBookmark = EditingTest;

TEST_F(AddBookmark, ShowPrefillsTheTrimmedClipboardAndPresetsTheShownGroup) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Home", "Work"});
    ASSERT_TRUE(StartList());
    ChooseGroup("Work");
    fake.clipboard = "   https://x.example/page  ";
    bool shown = false;
    OnShow("frmAddName", [&](Form&) {
        const AddNameForm& d = app.frmAddName;
        shown = true;
        EXPECT_EQ(d.Text1.text(), "");
        EXPECT_EQ(d.Text3.text(), "https://x.example/page");
        EXPECT_EQ(d.Combo1.items(), (Names{"Home", "Work"}));
        EXPECT_EQ(d.Combo1.text(), "Work");
        EXPECT_EQ(d.focusedControl(), "Text1");
        app.frmAddName.Command2.click();
    });
    const std::string before = StoreBytes();

    ASSERT_TRUE(Click(app.main.menuaddname));

    EXPECT_TRUE(shown);
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AddBookmark, ClipboardIsOfferedOnlyWhenItLooksLikeAWebAddress) {
    WriteStore({});
    ASSERT_TRUE(StartList());
    std::string offered;
    OnShow("frmAddName", [&](Form&) { offered = app.frmAddName.Text3.text(); });

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ww3.example.com", "ww3.example.com"},
        {"WWW.Example.com", "WWW.Example.com"},
        {"see HTTP pages", "see HTTP pages"},
        {"example.com", ""},
        {"", ""},
    };
    for (const auto& [clip, expected] : cases) {
        fake.clipboard = clip;
        app.frmAddName.Text3.setText("left over");
        ASSERT_TRUE(Click(app.main.menuaddname));
        EXPECT_EQ(offered, expected) << clip;
    }
}

TEST_F(AddBookmark, SaveStoresTheRecordWithDefaultsAndReloads) {
    WriteStore({Rec(0, "One", "Work", "http://one.example", "1/1/2025", "2/2/2025")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string groupsBefore = GroupBytes();
    OnShow("frmAddName",
           [&](Form&) { TypeAndSave(app.frmAddName, "  New  ", "   ", " n.example "); });

    ASSERT_TRUE(Click(app.main.menuaddname));

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example", "1/1/2025", "2/2/2025"),
                              Rec(1, "New", "Misc - 12/6/2026", "www.n.example", "12/6/2026")}));
    EXPECT_EQ(app.recordCount, 2);
    // A blank group box adds no group.
    EXPECT_EQ(GroupBytes(), groupsBefore);
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Work"}));
    EXPECT_EQ(app.main.List1.items(), (Names{"One", "New"}));
    EXPECT_FALSE(app.frmAddName.visible());
    EXPECT_EQ(app.frmAddName.Text1.text(), "");
}

TEST_F(AddBookmark, SaveAddsANewGroupAndShowsIt) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    OnShow("frmAddName",
           [&](Form&) { TypeAndSave(app.frmAddName, "Two", " Play ", "https://two.example"); });

    ASSERT_TRUE(Click(app.main.menuaddname));

    // The new name goes after the existing ones; the selector sorts only what it shows.
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Play"}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Play", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "Play");
    EXPECT_EQ(app.currentGroupFilter, "play");
    EXPECT_EQ(app.main.List1.items(), (Names{"Two"}));
    EXPECT_EQ(app.main.List5.items(), (Names{"Play"}));
}

TEST_F(AddBookmark, WithAllGroupsShownTheFirstOfferedGroupIsUsed) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work", "Home"});
    ASSERT_TRUE(StartList());
    ASSERT_EQ(app.main.Combo1.text(), "All Groups");
    OnShow("frmAddName", [&](Form&) {
        AddNameForm& d = app.frmAddName;
        EXPECT_EQ(d.Combo1.text(), "Home");
        d.Text1.setText("Two");
        d.Text3.setText("http://two.example");
        d.Command1.click();
    });

    ASSERT_TRUE(Click(app.main.menuaddname));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Home", "http://two.example", "12/6/2026")}));
}

TEST_F(AddBookmark, ALoadedRecordWithoutANameSurvivesAnAdd) {
    WriteStore({Record("", "Work", "http://nameless.example"),
                Record("One", "Work", "http://one.example")},
               {"Work"});
    ASSERT_TRUE(StartList());
    OnShow("frmAddName",
           [&](Form&) { TypeAndSave(app.frmAddName, "Two", "Work", "http://two.example"); });

    ASSERT_TRUE(Click(app.main.menuaddname));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "", "Work", "http://nameless.example"),
                              Rec(1, "One", "Work", "http://one.example"),
                              Rec(2, "Two", "Work", "http://two.example", "12/6/2026")}));
}

TEST_F(AddBookmark, RefusalsKeepTheDialogOpenAndWriteNothing) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartList());
    const std::string before = StoreBytes();
    struct Case {
        std::string name, group, url, message, focus;
    };
    const std::vector<Case> cases = {
        {"   ", "Work", "http://x.example", "Please Enter A Bookmark Name", "Text1"},
        {"X", "Work", "  ", "Please Enter A URL", "Text3"},
        {"a[N]b", "Work", "http://x.example",
         "A Bookmark Name Cannot Contain [r], [n], [g], [d], [l] Or [u]", "Text1"},
        {"X", "my[G]roup", "http://x.example",
         "A Group Name Cannot Contain [r], [n], [g], [d], [l] Or [u]", "Combo1"},
        {"X", " all GROUPS ", "http://x.example",
         "Cannot Use The Name <ALL GROUPS> For A Group Name", "Combo1"},
        {"X", "Work", "http://x.example/[u]", "A URL Cannot Contain [r], [n], [g], [d], [l] Or [u]",
         "Text3"},
    };
    for (const Case& c : cases) {
        fake.messages.clear();
        OnShow("frmAddName", [&](Form&) {
            AddNameForm& d = app.frmAddName;
            TypeAndSave(d, c.name, c.group, c.url);
            EXPECT_TRUE(d.visible()) << c.message;
            EXPECT_EQ(d.focusedControl(), c.focus) << c.message;
            // The user's input stays as typed.
            EXPECT_EQ(d.Text1.text(), c.name);
            EXPECT_EQ(d.Text3.text(), c.url);
        });
        ASSERT_TRUE(Click(app.main.menuaddname));
        ASSERT_EQ(fake.messages.size(), 1u) << c.message;
        EXPECT_EQ(fake.messages[0].text, c.message);
        EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
        EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OK);
        EXPECT_EQ(StoreBytes(), before) << c.message;
    }
}

TEST_F(AddBookmark, EnterMovesTheFocusFromNameToGroupToUrlToSave) {
    WriteStore({});
    ASSERT_TRUE(StartList());
    AddNameForm& d = app.frmAddName;
    ASSERT_TRUE(Run([&] { d.Text1.onKeyPress('a'); }));
    EXPECT_EQ(d.focusedControl(), "");
    ASSERT_TRUE(Run([&] { d.Text1.onKeyPress(13); }));
    EXPECT_EQ(d.focusedControl(), "Combo1");
    ASSERT_TRUE(Run([&] { d.Combo1.onKeyPress(13); }));
    EXPECT_EQ(d.focusedControl(), "Text3");
    ASSERT_TRUE(Run([&] { d.Text3.onKeyPress(13); }));
    EXPECT_EQ(d.focusedControl(), "Command1");
}

} // namespace
} // namespace tabbern::test
