// The Options menu: the three toggles kept in the settings file, and starting with the
// desktop session.
#include "support/AppFixture.h"

#include "app/Exit.h"
#include "support/CfgBytes.h"

namespace tabbern::test {
namespace {

class OptionsTest : public AppTest {
protected:
    CfgBytes Cfg() const { return CfgBytes::Read(ProgramFile("tabbern.cfg")); }
    bool Click(MenuItem& item) {
        return Run([&] { item.click(); });
    }
};

// ---- the toggles kept in the settings file ----------------------------------------------

TEST_F(OptionsTest, LoadMinimisedAndRememberSortFlipTheirTickAndTheirField) {
    struct Case {
        const char* item;
        std::size_t offset;
    };
    for (const Case& c : {Case{"menuloadminimized", 42}, Case{"menuremembersortchoices", 126}}) {
        SCOPED_TRACE(c.item);
        TempDir folder;
        FakePlatform platform(folder.path());
        App other(platform);
        Dispatch(other, [&] { MainForm_Load(other); });
        auto& item = dynamic_cast<MenuItem&>(*other.main.findControl(c.item));
        const std::string before = ReadBytes(folder.file("tabbern.cfg"));

        Dispatch(other, [&] { item.click(); });
        EXPECT_TRUE(item.checked());
        CfgBytes on{ReadBytes(folder.file("tabbern.cfg"))};
        ASSERT_EQ(on.bytes.size(), 128u);
        EXPECT_EQ(on.num(c.offset, 2), 1);
        // Nothing else in the record moves.
        std::string expected = before;
        expected[c.offset] = '\x01';
        EXPECT_EQ(on.bytes, expected);

        Dispatch(other, [&] { item.click(); });
        EXPECT_FALSE(item.checked());
        EXPECT_EQ(ReadBytes(folder.file("tabbern.cfg")), before);
    }
}

TEST_F(OptionsTest, RememberSortDoesNotReorderTheList) {
    WriteBytes(ProgramFile("tabbern.dat"),
               FileWithHeader({Record("Beta", "G", "http://b.example"),
                               Record("Alpha", "G", "http://a.example")}));
    ASSERT_TRUE(Start());
    const std::vector<std::string> listed = {"Beta", "Alpha"};
    ASSERT_EQ(app.main.List1.items(), listed);

    ASSERT_TRUE(Click(app.main.menuremembersortchoices));

    EXPECT_EQ(app.rememberSortFlag, 1);
    EXPECT_EQ(app.main.List1.items(), listed);
}

TEST_F(OptionsTest, ScreenLocationOnStoresThePositionNowAndOffClearsIt) {
    ASSERT_TRUE(Start());
    app.main.move(4000.5, 2501.5);

    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    EXPECT_TRUE(app.main.menuscreenlocation.checked());
    CfgBytes on = Cfg();
    ASSERT_EQ(on.bytes.size(), 128u);
    EXPECT_EQ(on.rememberLocation(), -1);
    EXPECT_EQ(on.top(), 2502);  // halves go to the even number
    EXPECT_EQ(on.left(), 4000); // likewise

    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    EXPECT_FALSE(app.main.menuscreenlocation.checked());
    CfgBytes off = Cfg();
    ASSERT_EQ(off.bytes.size(), 128u);
    EXPECT_EQ(off.rememberLocation(), 0);
    EXPECT_EQ(off.top(), 0);
    EXPECT_EQ(off.left(), 0);
}

TEST_F(OptionsTest, RememberedLocationPlacesTheWindowAtTheNextStart) {
    ASSERT_TRUE(Start());
    app.main.move(3000, 1200);
    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    ASSERT_FALSE(Run([&] { MainForm_Unload(app); }));

    FakePlatform platform(dir.path());
    App next(platform);
    Dispatch(next, [&] { MainForm_Load(next); });
    EXPECT_TRUE(next.main.menuscreenlocation.checked());
    EXPECT_DOUBLE_EQ(next.main.left(), 3000);
    EXPECT_DOUBLE_EQ(next.main.top(), 1200);
}

TEST_F(OptionsTest, RememberedLocationAtTheOriginCentresTheWindowAtTheNextStart) {
    ASSERT_TRUE(Start());
    app.main.move(0, 0);
    ASSERT_TRUE(Click(app.main.menuscreenlocation));
    ASSERT_EQ(Cfg().rememberLocation(), -1);
    ASSERT_FALSE(Run([&] { MainForm_Unload(app); }));

    FakePlatform platform(dir.path());
    App next(platform);
    Dispatch(next, [&] { MainForm_Load(next); });
    EXPECT_TRUE(next.main.menuscreenlocation.checked());
    EXPECT_DOUBLE_EQ(next.main.left(), platform.screenWidth / 2 - next.main.width() / 2);
    EXPECT_DOUBLE_EQ(next.main.top(), platform.screenHeight / 2 - next.main.height() / 2);
}

TEST_F(OptionsTest, LoadMinimisedFiveCountsAsOffAndTheToggleWritesOne) {
    WriteCfg(ProgramFile("tabbern.cfg"), 5, 0, 0, 0);
    ASSERT_TRUE(Start());
    EXPECT_EQ(app.main.windowState(), WindowState::Normal);
    EXPECT_TRUE(app.main.visible());
    EXPECT_FALSE(app.main.menuloadminimized.checked());
    EXPECT_EQ(app.loadMinimisedFlag, 0);

    ASSERT_TRUE(Click(app.main.menuloadminimized));
    EXPECT_EQ(Cfg().loadMinimised(), 1);
    ASSERT_TRUE(Click(app.main.menuloadminimized));
    EXPECT_EQ(Cfg().loadMinimised(), 0);
}

TEST_F(OptionsTest, DisabledOptionsDoNotRespond) {
    fake.commandLineText = "uvwx";
    ASSERT_TRUE(Start());
    const std::string cfg = ReadBytes(ProgramFile("tabbern.cfg"));
    for (MenuItem* item : {&app.main.menuremembersortchoices, &app.main.menuscreenlocation,
                           &app.main.menustartwhenwindowsstarts, &app.main.menuloadminimized}) {
        ASSERT_TRUE(Click(*item));
        EXPECT_FALSE(item->checked()) << item->name();
    }
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.cfg")), cfg);
    EXPECT_TRUE(fake.autostart.empty());
}

// ---- start with the desktop session -----------------------------------------------------

TEST_F(OptionsTest, StartWithTheSessionWritesAndRemovesTheEntryUnderTheProgramName) {
    ASSERT_TRUE(Start());
    MenuItem& item = app.main.menustartwhenwindowsstarts;
    ASSERT_FALSE(item.checked());

    ASSERT_TRUE(Click(item));
    EXPECT_TRUE(item.checked());
    EXPECT_EQ(fake.autostart,
              (std::map<std::string, std::string>{{"Tabbern", "/opt/tabbern/tabbern"}}));

    ASSERT_TRUE(Click(item));
    EXPECT_FALSE(item.checked());
    EXPECT_TRUE(fake.autostart.empty());
    EXPECT_TRUE(fake.messages.empty());
    // The option lives only in the entry, never in the settings file.
    EXPECT_EQ(Cfg().bytes.size(), 128u);
}

TEST_F(OptionsTest, AnyEntryUnderTheProgramNameTicksTheItemAtStart) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> entries;
        bool ticked;
    };
    const Case cases[] = {
        {"none", {}, false},
        {"ours", {{"Tabbern", "/opt/tabbern/tabbern"}}, true},
        {"pointing elsewhere", {{"Tabbern", "/elsewhere/tabbern --old"}}, true},
        {"empty command", {{"Tabbern", ""}}, true},
        {"another program's", {{"Other", "/opt/other"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        FakePlatform platform(folder.path());
        platform.autostart = c.entries;
        App other(platform);
        Dispatch(other, [&] { MainForm_Load(other); });
        EXPECT_EQ(other.main.menustartwhenwindowsstarts.checked(), c.ticked);
    }
}

TEST_F(OptionsTest, UntickingRemovesAnEntryThatPointsElsewhere) {
    fake.autostart = {{"Tabbern", "/elsewhere/tabbern"}, {"Other", "/opt/other"}};
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menustartwhenwindowsstarts));
    EXPECT_FALSE(app.main.menustartwhenwindowsstarts.checked());
    EXPECT_EQ(fake.autostart, (std::map<std::string, std::string>{{"Other", "/opt/other"}}));
}

TEST_F(OptionsTest, TheEntryIsNamedAfterTheProgramAsThePlatformNamesIt) {
    fake.programNameText = "Tabbern Portable";
    fake.programCommandText = "/media/stick/tabbern/tabbern";
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Click(app.main.menustartwhenwindowsstarts));
    EXPECT_EQ(fake.autostart, (std::map<std::string, std::string>{
                                  {"Tabbern Portable", "/media/stick/tabbern/tabbern"}}));
}

} // namespace
} // namespace tabbern::test
