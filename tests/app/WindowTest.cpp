// The main window as a desktop window: minimising into the notification area and back, the
// tray icon's mouse actions, activation, starting minimised, and the ways the program ends.
#include "support/AppFixture.h"

#include "app/Exit.h"
#include "app/Window.h"
#include "support/CfgBytes.h"

namespace tabbern::test {
namespace {

const char* const kMinimised = "tabbern.min";
const char* const kRunning = "tabbern.run";

class WindowTest : public AppTest {
protected:
    // The user minimises the window: the window takes the state, then reports the change.
    bool Minimise() {
        app.main.setWindowState(WindowState::Minimized);
        return Run([&] { app.main.onResize(); });
    }
};

// ---- minimise and restore ---------------------------------------------------------------

TEST_F(WindowTest, MinimisingHidesTheWindowIntoTheTrayAndWritesTheMarker) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app.main.visible());

    ASSERT_TRUE(Minimise());

    EXPECT_EQ(ReadBytes(ProgramFile(kMinimised)), "Tabbern 5.2\r\n");
    EXPECT_EQ(app.inTrayFlag, -1);
    EXPECT_FALSE(app.main.visible());
    // The tray icon stays as it is: added once at start-up, never touched here.
    EXPECT_EQ(fake.trayCalls, std::vector<std::string>{"add 101 [ Tabbern 5.2 ]"});
}

TEST_F(WindowTest, WithoutATrayMinimisingLeavesTheWindowInTheTaskBar) {
    fake.hasTray = false;
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Minimise());

    // Hiding it would leave no way back to the window.
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(app.main.windowState(), WindowState::Minimized);
    EXPECT_EQ(ReadBytes(ProgramFile(kMinimised)), "Tabbern 5.2\r\n");
    EXPECT_EQ(app.inTrayFlag, -1);
}

TEST_F(WindowTest, LeftReleaseOrDoubleClickOnTheTrayIconRestoresTheWindow) {
    for (int action : {kTrayLeftButtonUp, kTrayLeftDoubleClick}) {
        SCOPED_TRACE(action);
        TempDir folder;
        FakePlatform platform(folder.path());
        App other(platform);
        Dispatch(other, [&] { MainForm_Load(other); });
        other.main.setWindowState(WindowState::Minimized);
        Dispatch(other, [&] { other.main.onResize(); });
        ASSERT_TRUE(Exists(folder.file(kMinimised)));
        platform.shownForms.clear();

        Dispatch(other, [&] { TrayIcon_MouseAction(other, action); });

        EXPECT_EQ(other.main.windowState(), WindowState::Normal);
        EXPECT_TRUE(other.main.visible());
        EXPECT_EQ(platform.shownForms, std::vector<std::string>{"frmMain"});
        EXPECT_EQ(platform.foregroundCalls, 1);
        EXPECT_FALSE(Exists(folder.file(kMinimised)));
        EXPECT_EQ(other.inTrayFlag, 0);
    }
}

TEST_F(WindowTest, OtherTrayActionsDoNothing) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Minimise());
    int popups = 0;
    fake.popupScript = [&](MenuItem&) { ++popups; };
    fake.shownForms.clear();

    for (int action : {0, 512, 513, 516, 518, -514})
        ASSERT_TRUE(Run([&] { TrayIcon_MouseAction(app, action); })) << action;

    EXPECT_EQ(app.main.windowState(), WindowState::Minimized);
    EXPECT_FALSE(app.main.visible());
    EXPECT_TRUE(Exists(ProgramFile(kMinimised)));
    EXPECT_EQ(popups, 0);
    EXPECT_EQ(fake.foregroundCalls, 0);
    EXPECT_TRUE(fake.shownForms.empty());
}

TEST_F(WindowTest, RightClickOnTheTrayIconOpensTheBookmarksMenuWhoseExitEndsTheProgram) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Minimise());
    std::string poppedUp;
    int foregroundBeforePopup = -1;
    fake.popupScript = [&](MenuItem& menu) {
        poppedUp = menu.name();
        foregroundBeforePopup = fake.foregroundCalls;
        app.main.menuquit.click();
    };
    fake.answers = {MsgResult::Yes};

    EXPECT_FALSE(Run([&] { TrayIcon_MouseAction(app, kTrayRightButtonUp); }));

    EXPECT_EQ(poppedUp, "menunames");
    EXPECT_EQ(foregroundBeforePopup, 1);
    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{"Exit Tabbern 5.2"});
    EXPECT_FALSE(Exists(ProgramFile(kMinimised)));
    EXPECT_FALSE(Exists(ProgramFile(kRunning)));
    EXPECT_EQ(fake.trayCalls.back(), "remove");
}

TEST_F(WindowTest, FileErrorWhileRestoringIsIgnoredAndKeepsTheFlag) {
    ASSERT_TRUE(Start());
    app.inTrayFlag = -1;
    app.programFolder = dir.path() + "/no such folder";

    EXPECT_TRUE(Run([&] { app.main.onResize(); }));

    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.endProcessCalls, 0);
    EXPECT_EQ(app.inTrayFlag, -1);
}

TEST_F(WindowTest, MaximisingChangesNothing) {
    ASSERT_TRUE(Start());
    app.inTrayFlag = -1;
    app.main.setWindowState(WindowState::Maximized);

    ASSERT_TRUE(Run([&] { app.main.onResize(); }));

    EXPECT_FALSE(Exists(ProgramFile(kMinimised)));
    EXPECT_EQ(app.inTrayFlag, -1);
    EXPECT_TRUE(app.main.visible());
}

TEST_F(WindowTest, ActivationClearsTheTrayFlagAndRefreshesTheDetails) {
    WriteBytes(ProgramFile("tabbern.dat"),
               FileWithHeader({Record("Alpha", "Work", "http://a.example", "1/2/2025", "3/4/2025"),
                               Record("Beta", "Home", "http://b.example")}));
    ASSERT_TRUE(Start());
    app.inTrayFlag = -1;
    app.main.lblWhatGroup.setCaption("stale");
    app.main.LabelShowURLAddress.setCaption("stale");

    ASSERT_TRUE(Run([&] { app.main.onActivate(); }));

    EXPECT_EQ(app.inTrayFlag, 0);
    EXPECT_EQ(app.main.lblWhatGroup.caption(), "Work");
    EXPECT_EQ(app.main.LabelShowURLAddress.caption(), "http://a.example ");
    EXPECT_EQ(app.main.lblDateAccessed.caption(), " 3/4/2025 ");
}

// ---- starting minimised -----------------------------------------------------------------

TEST_F(WindowTest, StartWithLoadMinimisedGoesStraightIntoTheTray) {
    WriteCfg(ProgramFile("tabbern.cfg"), 1, 0, 0, 0);

    ASSERT_TRUE(Start());

    EXPECT_EQ(app.main.windowState(), WindowState::Minimized);
    EXPECT_FALSE(app.main.visible());
    EXPECT_TRUE(app.main.menuloadminimized.checked());
    EXPECT_EQ(ReadBytes(ProgramFile(kMinimised)), "Tabbern 5.2\r\n");
    EXPECT_EQ(app.inTrayFlag, -1);
    EXPECT_TRUE(app.trayIconAdded);
    EXPECT_EQ(fake.trayCalls, std::vector<std::string>{"add 101 [ Tabbern 5.2 ]"});
}

TEST_F(WindowTest, AnIconThatFailedAtStartIsTriedAgainAndTheWindowHidesOnlyBehindOne) {
    WriteCfg(ProgramFile("tabbern.cfg"), 1, 0, 0, 0);
    fake.trayAddFailures = 2; // at start, and when the window first minimises

    ASSERT_TRUE(Start());
    EXPECT_TRUE(app.main.visible());
    EXPECT_FALSE(app.trayIconAdded);

    // Restored and minimised again: the icon is there now, and the window goes behind it.
    app.main.setWindowState(WindowState::Normal);
    ASSERT_TRUE(Run([&] { app.main.onResize(); }));
    app.main.setWindowState(WindowState::Minimized);
    ASSERT_TRUE(Run([&] { app.main.onResize(); }));
    EXPECT_FALSE(app.main.visible());
    EXPECT_TRUE(app.trayIconAdded);
    EXPECT_EQ(fake.trayCalls, std::vector<std::string>(3, "add 101 [ Tabbern 5.2 ]"));
}

TEST_F(WindowTest, StartWithLoadMinimisedWithoutATrayStaysInTheTaskBar) {
    WriteCfg(ProgramFile("tabbern.cfg"), 1, 0, 0, 0);
    fake.hasTray = false;

    ASSERT_TRUE(Start());

    EXPECT_EQ(app.main.windowState(), WindowState::Minimized);
    EXPECT_TRUE(app.main.visible());
    EXPECT_TRUE(Exists(ProgramFile(kMinimised)));
    EXPECT_EQ(app.inTrayFlag, -1);
    EXPECT_FALSE(app.trayIconAdded);
}

// ---- the ways of ending -----------------------------------------------------------------

TEST_F(WindowTest, BothWaysOfEndingRunTheWholeExitSequence) {
    struct Case {
        const char* what;
        bool closeBox;
        bool rememberLocation;
    };
    for (const Case& c :
         {Case{"close box", true, false}, Case{"close box, remember", true, true},
          Case{"Exit, Yes", false, false}, Case{"Exit, Yes, remember", false, true}}) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        FakePlatform platform(folder.path());
        App other(platform);
        Dispatch(other, [&] { MainForm_Load(other); });
        if (c.rememberLocation)
            Dispatch(other, [&] { other.main.menuscreenlocation.click(); });
        other.main.setWindowState(WindowState::Minimized);
        Dispatch(other, [&] { other.main.onResize(); });
        Dispatch(other, [&] { TrayIcon_MouseAction(other, kTrayLeftButtonUp); });
        WriteBytes(folder.file(kMinimised), "left over\r\n");
        other.main.move(2500, 900);
        const std::string cfgBefore = ReadBytes(folder.file("tabbern.cfg"));
        platform.answers = {MsgResult::Yes};

        EXPECT_THROW(Dispatch(other,
                              [&] {
                                  if (c.closeBox)
                                      MainForm_Unload(other);
                                  else
                                      other.main.menuquit.click();
                              }),
                     ProcessEnded);

        EXPECT_EQ(platform.messages.size(), c.closeBox ? 0u : 1u);
        EXPECT_FALSE(Exists(folder.file(kRunning)));
        EXPECT_FALSE(Exists(folder.file(kMinimised)));
        EXPECT_EQ(platform.trayCalls.back(), "remove");
        const CfgBytes cfg = CfgBytes::Read(folder.file("tabbern.cfg"));
        if (c.rememberLocation) {
            EXPECT_EQ(cfg.rememberLocation(), -1);
            EXPECT_EQ(cfg.top(), 900);
            EXPECT_EQ(cfg.left(), 2500);
        } else {
            EXPECT_EQ(cfg.bytes, cfgBefore);
        }
    }
}

TEST_F(WindowTest, EndingFromTheTrayKeepsThePositionStoredEarlier) {
    WriteCfg(ProgramFile("tabbern.cfg"), 0, -1, 1200, 3000);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Minimise());
    // What a hidden window reports as its position means nothing.
    app.main.move(-32000, -32000);

    EXPECT_FALSE(Run([&] { MainForm_Unload(app); }));

    const CfgBytes cfg = CfgBytes::Read(ProgramFile("tabbern.cfg"));
    EXPECT_EQ(cfg.rememberLocation(), -1);
    EXPECT_EQ(cfg.top(), 1200);
    EXPECT_EQ(cfg.left(), 3000);
    EXPECT_FALSE(Exists(ProgramFile(kMinimised)));
}

} // namespace
} // namespace tabbern::test
