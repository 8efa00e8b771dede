// Start-up as a user meets it: first start, markers, data-path file, switches, position.
#include "support/AppFixture.h"

#include "store/FileIo.h"
#include "support/CfgBytes.h"

#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tabbern::test {
namespace {

const char* const kRunning = "tabbern.run";
const char* const kMinimised = "tabbern.min";
const char* const kIgnore = "tabbern.ign";
const std::string kAlreadyRunning = "Tabbern 5.2 May Already Be Running. Do You Want To Continue?";

using StartupTest = AppTest;

TEST_F(StartupTest, FirstStartInAnEmptyFolderWritesTheFourFilesAndShowsTheWindow) {
    ASSERT_TRUE(Start());

    EXPECT_EQ(ReadBytes(ProgramFile(kRunning)), "Tabbern\r\n");
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.dat")), HeaderLine() + "\r\n");
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.grp")), HeaderLine() + "\r\n");
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.cfg")).size(), 128u);
    EXPECT_FALSE(Exists(ProgramFile(kMinimised)));
    EXPECT_TRUE(fake.messages.empty());

    EXPECT_EQ(app.programFolder, dir.path());
    EXPECT_EQ(app.dataFolder, dir.path());
    EXPECT_EQ(app.main.caption(), " Tabbern 5.2");
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(app.main.windowState(), WindowState::Normal);
    EXPECT_EQ(app.main.lblAltDatapath.caption(), "   " + dir.path() + " ");
    EXPECT_EQ(app.main.lblAltDatapath.toolTip(), " " + dir.path() + " ");
    EXPECT_EQ(app.main.TextNameSearch.toolTip(), " Enter A Bookmark To Find ");
    EXPECT_EQ(app.main.Command2.toolTip(), " Find Bookmark ");
    EXPECT_EQ(app.main.Label1.caption(), "My Groups");
    EXPECT_EQ(app.main.icon(), 101);
    // The dialogs get their texts at start-up too, built from the item noun.
    EXPECT_EQ(app.frmAddName.Label1.caption(), "Bookmark Name");
    EXPECT_EQ(app.frmEditName.Command1.toolTip(), " Save This Bookmark ");
    EXPECT_EQ(app.frmAddName.Command2.toolTip(), " Do Not Save ");
    EXPECT_EQ(app.frmEditGroupName.Label1.caption(), "Enter A New Name For This Group");
    EXPECT_EQ(app.frmEditGroupName.Command2.toolTip(), " Do Not Save Group Name Change ");
    EXPECT_FALSE(app.frmAddName.visible());
    // With no group the start-up selection of All Groups is the run's first selector click.
    EXPECT_EQ(app.currentGroupFilter, "all groups");
    EXPECT_EQ(app.main.Combo1.items(), std::vector<std::string>{"All Groups"});
    EXPECT_EQ(app.recordCount, 0);
    EXPECT_EQ(app.groupCount, 0);
    // The tray icon is added last, with the title between two blanks as its tip.
    ASSERT_EQ(fake.trayCalls.size(), 1u);
    EXPECT_EQ(fake.trayCalls[0], "add 101 [ Tabbern 5.2 ]");
    ASSERT_EQ(fake.shownForms.size(), 1u);
    EXPECT_EQ(fake.shownForms[0], "frmMain");
}

TEST_F(StartupTest, HeaderLineNamesTheProductHostTwice) {
    const std::string host = kProductHost;
    EXPECT_EQ(HeaderLine(), "[ " + host +
                                " - Tabbern - Manage your Bookmarks and Favorite websites with "
                                "any web browser - " +
                                host + " ]");
}

// ---- the already-running question -------------------------------------------------------

TEST_F(StartupTest, RunningMarkerAloneAsksAndCancelEndsWithNothingWritten) {
    WriteBytes(ProgramFile(kRunning), "Other\r\n");
    fake.answers = {MsgResult::Cancel};

    EXPECT_FALSE(Start());

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, kAlreadyRunning);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OKCancel);
    // The other copy's marker is left alone, and nothing else was written.
    EXPECT_EQ(ReadBytes(ProgramFile(kRunning)), "Other\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(StartupTest, RunningMarkerAloneAnsweredOkContinuesAndRewritesTheMarker) {
    WriteBytes(ProgramFile(kRunning), "Other\r\n");
    fake.answers = {MsgResult::OK};

    ASSERT_TRUE(Start());

    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{kAlreadyRunning});
    EXPECT_EQ(ReadBytes(ProgramFile(kRunning)), "Tabbern\r\n");
    EXPECT_TRUE(app.main.visible());
}

TEST_F(StartupTest, MarkersThatSilenceTheQuestion) {
    struct Case {
        const char* what;
        std::vector<const char*> markers;
    };
    for (const Case& c :
         {Case{"ignore marker", {kIgnore, kRunning}},
          Case{"minimised marker", {kMinimised, kRunning}}, Case{"no marker", {}}}) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        FakePlatform platform(folder.path());
        App other(platform);
        for (const char* m : c.markers)
            WriteBytes(folder.file(m), "x\r\n");
        Dispatch(other, [&] { MainForm_Load(other); });
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(ReadBytes(folder.file(kRunning)), "Tabbern\r\n");
    }
}

TEST_F(StartupTest, HiddenMarkerCountsAsAbsent) {
    WriteBytes(ProgramFile(kRunning), "x\r\n");
    WriteBytes(ProgramFile(kIgnore), "x\r\n");
    fake.hiddenFiles.insert(JoinPath(dir.path(), kIgnore));
    fake.answers = {MsgResult::OK};

    ASSERT_TRUE(Start());
    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{kAlreadyRunning});
}

// ---- folders ----------------------------------------------------------------------------

TEST(StartupFolders, OneTrailingSeparatorIsRemoved) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(StripTrailingSeparator("base" + sep + "data" + sep), "base" + sep + "data");
    EXPECT_EQ(StripTrailingSeparator("  base" + sep + "  "), "base");
    EXPECT_EQ(StripTrailingSeparator("base" + sep + sep), "base" + sep);
    EXPECT_EQ(StripTrailingSeparator(sep), "");
    // Without a trailing separator the text stays as it was, blanks included.
    EXPECT_EQ(StripTrailingSeparator(" base "), " base ");
}

TEST_F(StartupTest, ProgramFolderReportedWithTrailingSeparator) {
    fake.folder = dir.path() + kPathSeparator;
    ASSERT_TRUE(Start());
    EXPECT_EQ(app.programFolder, dir.path());
    EXPECT_EQ(app.dataFolder, dir.path());
    EXPECT_TRUE(Exists(dir.path() + "/tabbern.cfg"));
}

TEST_F(StartupTest, DataPathFileChoosesTheDataFolder) {
    const std::string data = dir.makeDir("Bookmarks");
    struct Case {
        std::string content;
        std::string expected;
    };
    const Case cases[] = {
        {data + kPathSeparator + "\r\nignored second line\r\n", data},
        {"   " + data + "   \r\n", data},
        {data, data},           // no line end
        {"  \r\n", dir.path()}, // blank first line: the program folder
        {"", dir.path()},       // empty file: the program folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        FakePlatform platform(dir.path());
        App other(platform);
        WriteBytes(ProgramFile("tabbern.sdf"), c.content);
        std::filesystem::remove(ProgramFile(kRunning));
        Dispatch(other, [&] { MainForm_Load(other); });
        EXPECT_EQ(other.dataFolder, c.expected);
        EXPECT_EQ(other.main.lblAltDatapath.caption(), "   " + c.expected + " ");
        EXPECT_TRUE(Exists(c.expected + "/tabbern.dat"));
        EXPECT_TRUE(Exists(c.expected + "/tabbern.grp"));
    }
}

TEST_F(StartupTest, MissingDataFolderIsAFileErrorThatEndsTheProgram) {
    const std::string missing = dir.path() + "/no such folder";
    WriteBytes(ProgramFile("tabbern.sdf"), missing + "\r\n");

    EXPECT_FALSE(Start());

    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OK);
    EXPECT_NE(fake.messages[0].text.find(missing), std::string::npos) << fake.messages[0].text;
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(app.main.visible());
}

TEST_F(StartupTest, UnwritableProgramFolderIsReportedAndNothingIsWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX only: a Windows folder has no write permission bit to take away";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    EXPECT_FALSE(Start());
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find(JoinPath(dir.path(), kRunning)), std::string::npos)
        << fake.messages[0].text;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
#endif
}

// ---- command-line switches --------------------------------------------------------------

std::vector<std::string> DisabledControls(MainForm& m) {
    std::vector<std::string> names;
    for (Control* c : m.allControls())
        if (!c->enabled())
            names.push_back(c->name());
    return names;
}

TEST_F(StartupTest, SwitchesDisableTheirItemsWhateverTheirCase) {
    struct Case {
        std::string commandLine;
        std::vector<std::string> disabled; // in the main window's control order
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"zZ 123456789 -/", {}},
        {"-X /Y", {"lblAltDatapath", "menuloadminimized", "menusetdata"}},
        {"0", {"Combo1"}},
        {"B", {"menuaddname"}},
        {"a", {"menunames"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("command line '" + c.commandLine + "'");
        TempDir folder;
        FakePlatform platform(folder.path());
        platform.commandLineText = c.commandLine;
        App other(platform);
        Dispatch(other, [&] { MainForm_Load(other); });
        EXPECT_EQ(DisabledControls(other.main), c.disabled);
    }
}

TEST_F(StartupTest, EverySwitchCharacterDisablesExactlyOneItemOrPair) {
    fake.commandLineText = "ABCDEFGHIJKLMNOPQRSTUVWXY0";
    ASSERT_TRUE(Start());
    const auto disabled = DisabledControls(app.main);
    // Every menu item except those of the Help menu, the group selector and the folder label.
    std::vector<std::string> expected = {"lblAltDatapath", "Combo1"};
    for (Control* c : app.main.allControls()) {
        const std::string& n = c->name();
        if (dynamic_cast<MenuItem*>(c) && n != "menuhelp" && n != "menuabout" &&
            n != "helpdocument" && n != "menutabbernwebsite")
            expected.push_back(n);
    }
    EXPECT_EQ(disabled, expected);
    EXPECT_EQ(app.commandLineText, "ABCDEFGHIJKLMNOPQRSTUVWXY0");
}

TEST_F(StartupTest, DisabledExitItemDoesNotRespond) {
    fake.commandLineText = "j";
    ASSERT_TRUE(Start());
    fake.answers = {MsgResult::Yes};
    ASSERT_TRUE(Run([&] { app.main.menuquit.click(); }));
    EXPECT_TRUE(fake.messages.empty());
}

// ---- start minimised and the window position --------------------------------------------

TEST_F(StartupTest, WindowIsCentredInTwipsWithFractions) {
    fake.screenWidth = 1367 * 15.0;
    fake.screenHeight = 769 * 15.0;
    app.main.setSize(3871, 8131);
    ASSERT_TRUE(Start());
    EXPECT_DOUBLE_EQ(app.main.left(), 1367 * 15.0 / 2 - 3871 / 2.0);
    EXPECT_DOUBLE_EQ(app.main.top(), 769 * 15.0 / 2 - 8131 / 2.0);
    EXPECT_FALSE(app.main.menuscreenlocation.checked());
}

TEST_F(StartupTest, RememberedPositionIsUsedUnlessTopPlusLeftIsZero) {
    struct Case {
        std::int16_t flag;
        std::int32_t top, left;
        bool placed;
        bool ticked;
    };
    const Case cases[] = {
        {-1, 1200, 3000, true, true},  {-1, 0, 0, false, true},
        {-1, -30, 30, false, true},    {1, 1200, 3000, false, false}, // only -1 means on
        {0, 1200, 3000, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.flag << " " << c.top << " " << c.left);
        TempDir folder;
        FakePlatform platform(folder.path());
        App other(platform);
        WriteCfg(folder.file("tabbern.cfg"), 0, c.flag, c.top, c.left);
        Dispatch(other, [&] { MainForm_Load(other); });
        const double centredLeft = platform.screenWidth / 2 - other.main.width() / 2;
        const double centredTop = platform.screenHeight / 2 - other.main.height() / 2;
        EXPECT_DOUBLE_EQ(other.main.left(), c.placed ? c.left : centredLeft);
        EXPECT_DOUBLE_EQ(other.main.top(), c.placed ? c.top : centredTop);
        EXPECT_EQ(other.main.menuscreenlocation.checked(), c.ticked);
    }
}

TEST_F(StartupTest, ARememberedPlaceOnAScreenRemovedSinceComesBackOnTheNearestOne) {
    WriteCfg(ProgramFile("tabbern.cfg"), 0, -1, 1200, 60000);
    ASSERT_TRUE(Start());
    EXPECT_DOUBLE_EQ(app.main.left(), fake.screenWidth - app.main.width());
    EXPECT_DOUBLE_EQ(app.main.top(), 1200);
}

// Two screens side by side, the second one narrower; a window of 9000 by 6000 twips.
TEST(ReachablePlace, AWindowWhoseTitleBarIsOnNoScreenMovesIntoTheNearest) {
    const std::vector<ScreenArea> screens = {{0, 0, 28800, 16200}, {28800, 0, 19200, 16200}};
    struct Case {
        double left, top, placedLeft, placedTop;
    };
    const Case cases[] = {
        {3000, 1200, 3000, 1200},   // on the first
        {30000, 1200, 30000, 1200}, // on the second
        {25000, 1200, 25000, 1200}, // across both
        {38000, 1200, 38000, 1200}, // enough of the title bar to grip
        {47000, 1200, 39000, 1200}, // too little of it
        {-20000, 1200, 0, 1200},    // beyond the left edge
        {60000, 1200, 39000, 1200}, // beyond the second screen
        {3000, -5000, 3000, 0},     // title bar above the top
        {3000, 16000, 3000, 10200}, // title bar below the bottom
        {-9000, 30000, 0, 10200},   // beyond a corner
    };
    for (const Case& c : cases) {
        const ScreenArea placed = ReachablePlace({c.left, c.top, 9000, 6000}, screens);
        EXPECT_EQ(placed.left, c.placedLeft) << c.left << "," << c.top;
        EXPECT_EQ(placed.top, c.placedTop) << c.left << "," << c.top;
    }
    // A desktop that tells nothing leaves the window where it is; one larger than its screen
    // shows its top-left corner.
    EXPECT_EQ(ReachablePlace({-20000, 1200, 9000, 6000}, {}).left, -20000);
    EXPECT_EQ(ReachablePlace({50000, 1200, 40000, 6000}, {screens[0]}).left, 0);
}

TEST_F(StartupTest, LoadMinimisedFlagOtherThanOneStartsNormallyAndBecomesZero) {
    WriteCfg(ProgramFile("tabbern.cfg"), 5, 0, 0, 0);
    ASSERT_TRUE(Start());
    EXPECT_EQ(app.loadMinimisedFlag, 0);
    EXPECT_EQ(app.main.windowState(), WindowState::Normal);
    EXPECT_FALSE(app.main.menuloadminimized.checked());
}

TEST_F(StartupTest, LoadMinimisedFlagOneStartsMinimisedAndTicksTheItem) {
    WriteCfg(ProgramFile("tabbern.cfg"), 1, 0, 0, 0);
    ASSERT_TRUE(Start());
    EXPECT_EQ(app.loadMinimisedFlag, 1);
    EXPECT_EQ(app.main.windowState(), WindowState::Minimized);
    EXPECT_TRUE(app.main.menuloadminimized.checked());
}

// ---- the store at start-up --------------------------------------------------------------

TEST_F(StartupTest, StoreIsLoadedAndGroupsUsedByBookmarksJoinTheGroupFile) {
    WriteBytes(ProgramFile("tabbern.dat"),
               FileWithHeader({Record("Alpha", "Work", "example.com"),
                               Record("Beta", " work ", "http://b.example"),
                               Record("Gamma", "Home", "www.c.example")}));
    WriteBytes(ProgramFile("tabbern.grp"), FileWithHeader({"Home"}));

    ASSERT_TRUE(Start());

    EXPECT_EQ(app.recordCount, 3);
    EXPECT_EQ(app.bookmarks.at(0, kColUrl), "www.example.com");
    EXPECT_EQ(ReadBytes(ProgramFile("tabbern.grp")), FileWithHeader({"Home", "Work"}));
    // The group count comes from the second load, so it includes the added group.
    EXPECT_EQ(app.groupCount, 2);
    // The table is then rebuilt from the selector, with empty entries at both ends.
    EXPECT_EQ(app.groups, (GroupTable{"", "Home", "Work", ""}));
    EXPECT_EQ(app.main.Combo1.items(), (std::vector<std::string>{"All Groups", "Home", "Work"}));
    EXPECT_EQ(app.main.List1.items(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    // The rebuild made the first click, so choosing All Groups refilled and normalised.
    EXPECT_EQ(app.currentGroupFilter, "all");
}

} // namespace
} // namespace tabbern::test
