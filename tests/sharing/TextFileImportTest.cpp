// The text-file import: the links listed for confirmation, the naming of each link, and the
// records stored.
#include "sharing/SharingFixture.h"

#include <cerrno>
#include <functional>
#include <system_error>

namespace tabbern::test {
namespace {

class TextFileImport : public SharingTest {
protected:
    // Imports the file; `name` answers each assign dialog, given its link.
    bool ImportText(const std::string& path, std::function<void(AssignNameForm&)> name) {
        fake.openAnswers.push_back(path);
        OnShow("frmAssignName", [this, name](Form&) {
            links.push_back(app.frmAssignName.Label3.caption());
            tooltips.push_back(app.frmAssignName.Label3.toolTip());
            name(app.frmAssignName);
        });
        return Click(app.main.menuimportfromtextfile);
    }
    static void Assign(AssignNameForm& d, const std::string& name, const std::string& group) {
        d.Text1.setText(name);
        d.Combo1.setText(group);
        d.Command1.click();
    }
    Names links, tooltips;
};

TEST_F(TextFileImport, NamedLinksAreStoredAndTheOthersLeftOut) {
    WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("page.html");
    WriteBytes(path,
               "See https://A.example/x and www.b.example.\r\n<a href=\"http://c.example\">\r\n");
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(),
                  "https://a.example/x\r\nwww.b.example.\r\nhttp://c.example\">\r\n");
        EXPECT_FALSE(d.GroupList.visible());
        d.Command1.click();
    });

    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) {
        if (d.Label3.caption() == "https://a.example/x")
            d.Command1.click(); // no name: not stored
        else if (d.Label3.caption() == "www.b.example.")
            d.Command2.click();
        else
            Assign(d, " C ", " New ");
    }));

    EXPECT_EQ(links, (Names{"https://a.example/x", "www.b.example.", "http://c.example\">"}));
    EXPECT_EQ(tooltips.at(0), " https://a.example/x ");
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(3, "C", "New", "http://c.example\">", "12/6/2026")}));
    EXPECT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.assignedGroup, "New");
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "New"}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_TRUE(app.frmAddConfirm.GroupList.visible());
    EXPECT_EQ(app.frmAssignName.Label3.caption(), "");
    EXPECT_EQ(app.frmAssignName.Label3.toolTip(), "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TextFileImport, CancellingImportingKeepsTheLinksNamedBefore) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("links.txt");
    WriteBytes(path, "www.one www.two www.three");
    ConfirmImport();

    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) {
        if (d.Label3.caption() == "www.one")
            Assign(d, "One", "Work");
        else
            d.Command3.click();
    }));

    EXPECT_EQ(links, (Names{"www.one", "www.two"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "One", "Work", "www.one", "12/6/2026")}));
}

TEST_F(TextFileImport, NoMoreLinksAreNamedThanTheStoreHasRoomFor) {
    std::vector<std::string> records;
    for (int i = 0; i < 999; ++i)
        records.push_back(Rec(i, "n" + std::to_string(i), "Work", "http://h/" + std::to_string(i)));
    WriteStore(records, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("links.txt");
    WriteBytes(path, "www.one www.two");
    ConfirmImport();

    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) { Assign(d, "Named", "Work"); }));

    EXPECT_EQ(links, Names{"www.one"});
    EXPECT_EQ(Messages(), (Names{"1000 Bookmark Limit Reached. Please Delete Bookmarks Before "
                                 "Adding Additional Bookmarks."}));
    EXPECT_EQ(app.recordCount, 1000);
    EXPECT_EQ(app.bookmarks.at(999, kColUrl), "www.one");
}

TEST_F(TextFileImport, GroupsComeFromTheBoxOrTodayAndTheLastOneOutlivesTheImport) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("links.txt");
    WriteBytes(path, "www.one");
    ConfirmImport();
    // No group in the box: today's "Misc - " group.
    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) { Assign(d, "One", ""); }));
    EXPECT_EQ(app.bookmarks.at(0, kColGroup), "Misc - 12/6/2026");
    EXPECT_EQ(app.assignedGroup, "Misc - 12/6/2026");

    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) { Assign(d, "Two", "Later"); }));
    EXPECT_EQ(app.bookmarks.at(1, kColGroup), "Later");
    // A run that names nothing leaves the group of the one before.
    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) { d.Command2.click(); }));
    EXPECT_EQ(app.assignedGroup, "Later");
    EXPECT_EQ(app.recordCount, 2);
}

TEST_F(TextFileImport, NothingIsStoredWithoutConfirmationOrLinks) {
    WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();
    const std::string path = SharePath("plain.txt");
    WriteBytes(path, "no links at all");
    ConfirmImport(false);
    ASSERT_TRUE(ImportText(path, [](AssignNameForm&) { ADD_FAILURE() << "asked for a name"; }));
    ConfirmImport();
    ASSERT_TRUE(ImportText(path, [](AssignNameForm&) { ADD_FAILURE() << "asked for a name"; }));

    // The confirmation shows even an empty list.
    EXPECT_EQ(ShownForms(), (Names{"frmAddConfirm", "frmAddConfirm"}));
    EXPECT_EQ(StoreBytes(), before);

    // A cancelled dialog, and a file that cannot be read.
    ASSERT_TRUE(Click(app.main.menuimportfromtextfile));
    const std::string missing = SharePath("missing.txt");
    ASSERT_TRUE(ImportText(missing, [](AssignNameForm&) {}));
    EXPECT_EQ(Messages(), Names{"Cannot Read The File:\r" + missing + "\r" +
                                std::generic_category().message(ENOENT)});
    EXPECT_EQ(ShownForms().size(), 2u);
    ASSERT_EQ(fake.fileDialogs.size(), 4u);
    EXPECT_EQ(fake.fileDialogs[0].fileName, "");
    EXPECT_EQ(fake.fileDialogs[0].filters.at(0).pattern, "*");
}

TEST_F(TextFileImport, CollectingStopsAtTheCapacity) {
    WriteStore({});
    ASSERT_TRUE(StartQuietly());
    std::string text;
    for (int i = 0; i < 1005; ++i)
        text += "http://l" + std::to_string(i) + "\n";
    const std::string path = SharePath("many.txt");
    WriteBytes(path, text);
    std::size_t listed = 0;
    OnShow("frmAddConfirm", [&](Form&) {
        const std::string& list = app.frmAddConfirm.Text1.text();
        listed = static_cast<std::size_t>(std::count(list.begin(), list.end(), '\n'));
        EXPECT_TRUE(list.ends_with("http://l1000\r\n"));
        app.frmAddConfirm.Command1.click();
    });

    ASSERT_TRUE(ImportText(path, [](AssignNameForm& d) { d.Command3.click(); }));

    EXPECT_EQ(listed, 1001u);
}

} // namespace
} // namespace tabbern::test
