// The clipboard import and the text-file import, with their two dialogs.
#include "support/AppFixture.h"

#include "sharing/Sharing.h"
#include "store/Store.h"

#include <cerrno>
#include <system_error>

namespace tabbern::test {
namespace {

using ImportTest = AppTest;

const std::string kTags = " Cannot Contain [r], [n], [g], [d], [l] Or [u]";

TEST_F(ImportTest, TheClipboardBecomesABookmarkNamedAndGroupedAsTypedOrByDefault) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work", "Home"});
    ASSERT_TRUE(Start());
    fake.clipboard = " Example.com/Page ";
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(), "Example.com/Page");
        EXPECT_TRUE(d.Text2.visible() && d.Text2.enabled() && d.GroupList.visible());
        EXPECT_EQ(d.focusedControl(), "Text2");
        d.Text2.setText("  Clipped  ");
        d.GroupList.setListIndex(1);
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
    OnShow("frmAddConfirm", [this](Form&) { app.frmAddConfirm.Command2.click(); });
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one"),
                              Rec(1, "Clipped", "Work", "www.Example.com/Page", "12/6/2026"),
                              Rec(2, "http://a.example/x  second line", "Misc - 12/6/2026",
                                  "http://a.example/x  second line", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Home", "Work", "Misc - 12/6/2026"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ImportTest, TheClipboardImportRefusesRecordTagsAndAllGroups) {
    WriteStore({});
    ASSERT_TRUE(Start());
    fake.clipboard = "http://x.example/[U]y";
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    EXPECT_EQ(fake.shownForms, Names{"frmMain"});

    fake.clipboard = "http://x.example";
    OnShow("frmAddConfirm", [this](Form& form) {
        AddConfirmForm& d = app.frmAddConfirm;
        const std::tuple<const char*, const char*, const char*> refused[] = {
            {"a[n]b", "Good", "Text2"},
            {"Fine", "x[G]", "GroupList"},
            {"Fine", "ALL groups ", "GroupList"}};
        for (const auto& [name, group, focus] : refused) {
            d.Text2.setText(name);
            d.GroupList.setText(group);
            d.Command1.click();
            EXPECT_TRUE(form.visible());
            EXPECT_EQ(d.focusedControl(), focus);
        }
        d.GroupList.setText("  Good ");
        d.Command1.click();
    });
    ASSERT_TRUE(Click(app.main.menuimportfromclipboard));
    EXPECT_EQ(Messages(), (Names{"A URL" + kTags, "A Bookmark Name" + kTags, "A Group Name" + kTags,
                                 "Cannot Use The Name <ALL GROUPS> For A Group Name"}));
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "Fine", "Good", "http://x.example", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Good"}));
}

TEST_F(ImportTest, EveryAddingCommandRefusesAFullStoreBeforeAskingAnything) {
    Names records;
    for (int i = 0; i < 1000; ++i)
        records.push_back(Rec(i, "n", "Work", "http://h"));
    WriteStore(records, {"Work"});
    ASSERT_TRUE(Start());
    const std::string store = StoreBytes();
    fake.messages.clear();
    fake.clipboard = "http://clip.example";
    for (MenuItem* command : {&app.main.menuaddname, &app.main.menuimportfromclipboard,
                              &app.main.menuimportfromtextfile})
        ASSERT_TRUE(Click(*command));
    EXPECT_EQ(Messages(), Names(3, BookmarkLimitMessage(app)));
    EXPECT_EQ(fake.shownForms, Names{"frmMain"});
    EXPECT_TRUE(fake.fileDialogs.empty());
    EXPECT_EQ(StoreBytes(), store);
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

TEST_F(TextImport, TheLinksFoundAreListedThenEachNamedOneIsStored) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
    OnShow("frmAddConfirm", [this](Form&) {
        EXPECT_EQ(app.frmAddConfirm.Text1.text(),
                  "https://a.example/x\r\nwww.b.\r\nhttp://c\">\r\nwww.d\r\n");
        EXPECT_FALSE(app.frmAddConfirm.GroupList.visible());
        app.frmAddConfirm.Command1.click();
    });
    ASSERT_TRUE(Import("See https://A.example/x and www.b.\r<a href=\"http://c\">\nwww.d",
                       [](AssignNameForm& d) {
                           EXPECT_EQ(d.Label3.toolTip(), " " + d.Label3.caption() + " ");
                           if (d.Label3.caption() == "https://a.example/x")
                               d.Command1.click(); // no name: not stored
                           else if (d.Label3.caption() == "www.b.")
                               d.Command2.click();
                           else if (d.Label3.caption() == "www.d")
                               Assign(d, "D");
                           else
                               Assign(d, " C ", " New ");
                       }));

    EXPECT_EQ(links, (Names{"https://a.example/x", "www.b.", "http://c\">", "www.d"}));
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one"),
                              Rec(3, "C", "New", "http://c\">", "12/6/2026"),
                              Rec(4, "D", "Misc - 12/6/2026", "www.d", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Misc - 12/6/2026", "New"}));
    EXPECT_TRUE(app.frmAddConfirm.GroupList.visible());
    EXPECT_EQ(app.frmAssignName.Label3.caption(), "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TextImport, StopKeepsTheLinksNamedBeforeAndNoMoreAreNamedThanTheStoreHasRoomFor) {
    Names records;
    for (int i = 0; i < 998; ++i)
        records.push_back(Rec(i, "n", "Work", "http://h"));
    WriteStore(records, {"Work"});
    ASSERT_TRUE(Start());
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
    EXPECT_EQ(Messages(), Names{BookmarkLimitMessage(app)});
}

TEST_F(TextImport,
       NothingIsStoredWithoutAConfirmationOrAReadableFileAndAtMostAStoreOfLinksIsListed) {
    WriteStore({Rec(0, "One", "Work", "http://one")}, {"Work"});
    ASSERT_TRUE(Start());
    const std::string before = StoreBytes();
    std::string many;
    for (int i = 0; i < 1005; ++i)
        many += "http://l" + std::to_string(i) + "\n";
    std::size_t listed = 0;
    OnShow("frmAddConfirm", [&](Form&) {
        const std::string& list = app.frmAddConfirm.Text1.text();
        listed = static_cast<std::size_t>(std::count(list.begin(), list.end(), '\n'));
        app.frmAddConfirm.Command2.click();
    });
    ASSERT_TRUE(Import(many, [](AssignNameForm&) { ADD_FAILURE() << "asked for a name"; }));
    EXPECT_EQ(listed, 1001u);
    ASSERT_TRUE(
        Import("no links at all", [](AssignNameForm&) { ADD_FAILURE() << "asked for a name"; }));
    EXPECT_EQ(listed, 0u);
    ASSERT_TRUE(Click(app.main.menuimportfromtextfile)); // the open dialog cancelled
    fake.openAnswers.push_back(File("missing.txt"));
    ASSERT_TRUE(Click(app.main.menuimportfromtextfile));

    EXPECT_EQ(Messages(), Names{"Cannot Read The File:\r" + File("missing.txt") + "\r" +
                                std::generic_category().message(ENOENT)});
    EXPECT_EQ(fake.fileDialogs.at(0).filters.at(0).pattern, "*");
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(ImportTest, TheNamingDialogAppendsOnlyANewGroupAndRefusesTagsAndAllGroups) {
    WriteStore({}, {"Work", "Home"});
    ASSERT_TRUE(Start());
    AssignNameForm& d = app.frmAssignName;
    auto assign = [&](const std::string& name, const std::string& group) {
        ASSERT_TRUE(Run([&] {
            frmAssignName_Activate(app);
            d.setVisible(true);
            d.Text1.setText(name);
            if (!group.empty())
                d.Combo1.setText(group);
            d.Command1.click();
        }));
    };
    assign(" Picked ", ""); // the first group, as activation selects it
    EXPECT_EQ(app.assignedName, "Picked");
    EXPECT_EQ(app.assignedGroup, "Home");
    assign("n", "  wORK ");
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Home"}));
    assign("n", "  Brand New ");
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Home", "Brand New"}));
    EXPECT_FALSE(d.visible());

    app.assignedName.clear();
    const std::pair<const char*, const char*> refused[] = {
        {"x[d]", "Work"}, {"fine", "[L]"}, {"fine", " all Groups"}};
    for (const auto& [name, group] : refused)
        assign(name, group);
    EXPECT_TRUE(d.visible());
    EXPECT_EQ(app.assignedName, "");
    EXPECT_EQ(Messages(), (Names{"A Bookmark Name" + kTags, "A Group Name" + kTags,
                                 "Cannot Use The Name <ALL GROUPS> For A Group Name"}));
}

} // namespace
} // namespace tabbern::test
