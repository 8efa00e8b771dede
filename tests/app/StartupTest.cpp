// The program as a whole: start-up, the window and its tray icon, and the ways it ends.
#include "support/AppFixture.h"

#include "app/Exit.h"
#include "app/Window.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <array>

namespace tabbern::test {
namespace {

using namespace std::string_literals;

void Minimise(TestProgram& p) {
    p.app.main.setWindowState(WindowState::Minimized);
    ASSERT_TRUE(p.Run([&] { p.app.main.onResize(); }));
}

TEST(Startup, TheGroupsTheBookmarksUseJoinTheGroupFile) {
    TestProgram p;
    ASSERT_TRUE(p.StartWith({Rec(0, "A", "Work", "a"), Rec(0, "B", " work ", "b")}, {"Home"}));
    EXPECT_EQ(p.GroupBytes(), FileWithHeader({"Home", "Work"}));
}

TEST(Startup, OnlyARunningMarkerAloneAsksWhetherToGoOnAndCancelEndsBeforeAnythingIsWritten) {
    const std::tuple<Names, bool, bool> cases[] = {
        // markers (a hidden one marked *), answered OK, asked
        {{}, false, false},
        {{"tabbern.run"}, true, true},
        {{"tabbern.run"}, false, true},
        {{"tabbern.run", "tabbern.ign"}, false, false},
        {{"tabbern.run", "*tabbern.ign"}, false, true},
        {{"tabbern.run", "tabbern.min"}, false, false},
    };
    for (const auto& [markers, ok, asked] : cases) {
        SCOPED_TRACE(testing::PrintToString(markers));
        TestProgram p;
        for (std::string m : markers) {
            if (m[0] == '*')
                p.fake.hiddenFiles.insert(JoinPath(p.dir.path(), m = m.substr(1)));
            WriteBytes(p.File(m), "Other\r\n");
        }
        p.fake.answers = {ok ? MsgResult::OK : MsgResult::Cancel};
        const bool starts = !asked || ok;
        EXPECT_EQ(p.Start(), starts);
        EXPECT_EQ(p.fake.messages.size(), asked ? 1u : 0u);
        EXPECT_EQ(ReadBytes(p.File("tabbern.run")), starts ? "Tabbern\r\n" : "Other\r\n");
    }
}

TEST(Startup, TheDataPathFileNamesTheDataFolderTrimmedOrEndsTheStartWhenItIsNotThere) {
    // {} stands for the program folder; the folder, or "!" and the one named in the error.
    const std::pair<std::string, std::string> cases[] = {
        {"", "{}"},
        {"  \r\n", "{}"},
        {"  {}/data/  \r", "{}/data"},
        {"{}/data\r\n{}/other\r\n", "{}/data"},
        {"\xEF\xBB\xBF  {}/data  \n", "{}/data"},
        {"{}/gone/deeper", "!{}/gone/deeper"},
        {"{}/a-file", "!{}/a-file"},
        {"{}/caf\xE9", "!{}/caf\xC3\xA9"},
        {"{}/gone\0more"s, "!{}/gone\0more"s},
    };
    for (const auto& [text, folder] : cases) {
        SCOPED_TRACE(text);
        TestProgram p;
        const auto fill = [&p](const std::string& t) {
            return ReplaceAll(ReplaceAll(t, "/", std::string(1, kPathSeparator)), "{}",
                              p.dir.path());
        };
        p.dir.makeDir("data");
        WriteBytes(p.File("a-file"), "not a folder");
        WriteBytes(p.File("tabbern.sdf"), fill(text));
        const bool missing = folder[0] == '!';
        const std::string expected = fill(folder.substr(missing ? 1 : 0));

        EXPECT_EQ(p.Start(), !missing);
        EXPECT_EQ(p.Messages(),
                  missing ? Names{"Cannot find the folder \"" + expected + "\": path not found"}
                          : Names{});
        EXPECT_EQ(Exists(JoinPath(expected, "tabbern.grp")), !missing); // the data files are there
    }
}

TEST(Startup, EachSwitchCharacterDisablesItsCommandInAnyLetterCase) {
    const std::pair<std::string, Names> cases[] = {
        {"zZ 123456789 -/", {}},
        {"-X /Y", {"lblAltDatapath", "menuloadminimized", "menusetdata"}},
        {"0B", {"Combo1", "menuaddname"}},
        {"a", {"menunames"}},
    };
    for (const auto& [commandLine, disabled] : cases) {
        TestProgram p;
        p.fake.commandLineText = commandLine;
        ASSERT_TRUE(p.Start());
        Names found;
        for (Control* c : p.app.main.allControls())
            if (!c->enabled())
                found.push_back(c->name());
        EXPECT_EQ(found, disabled) << commandLine;
    }
}

TEST(Startup, TheWindowOpensAtARememberedPlaceOnlyWhenOnAndNotAtTheOriginElseCentred) {
    const std::tuple<std::int16_t, std::int32_t, std::int32_t, bool> cases[] = {
        {-1, 1200, 3000, false}, {-1, 0, 0, true}, {-1, -30, 30, true}, {1, 1200, 3000, true}};
    for (const auto& [flag, top, left, centred] : cases) {
        TestProgram p;
        p.fake.screenWidth = 1367 * 15.0;
        WriteBytes(p.File("tabbern.cfg"),
                   CfgFile({.rememberLocation = flag, .top = top, .left = left}));
        ASSERT_TRUE(p.Start());
        const MainForm& m = p.app.main;
        EXPECT_DOUBLE_EQ(m.left(), centred ? p.fake.screenWidth / 2 - m.width() / 2 : left);
        EXPECT_DOUBLE_EQ(m.top(), centred ? p.fake.screenHeight / 2 - m.height() / 2 : top);
        EXPECT_EQ(m.menuscreenlocation.checked(), flag == -1);
    }
}

// Two screens side by side, the second one narrower; a window of 9000 by 6000 twips.
TEST(ReachablePlace, AWindowWhoseTitleBarIsOnNoScreenMovesIntoTheNearest) {
    const std::vector<ScreenArea> screens = {{0, 0, 28800, 16200}, {28800, 0, 19200, 16200}};
    const std::array<double, 4> cases[] = {
        {3000, 1200, 3000, 1200},   {30000, 1200, 30000, 1200}, {25000, 1200, 25000, 1200},
        {38000, 1200, 38000, 1200}, {47000, 1200, 39000, 1200}, {-20000, 1200, 0, 1200},
        {60000, 1200, 39000, 1200}, {3000, -5000, 3000, 0},     {3000, 16000, 3000, 10200},
        {-9000, 30000, 0, 10200},
    };
    for (const auto& [left, top, placedLeft, placedTop] : cases) {
        const ScreenArea placed = ReachablePlace({left, top, 9000, 6000}, screens);
        EXPECT_EQ(placed.left, placedLeft) << left << "," << top;
        EXPECT_EQ(placed.top, placedTop) << left << "," << top;
    }
    // A desktop that tells nothing leaves it; one larger than its screen shows its top left.
    EXPECT_EQ(ReachablePlace({-20000, 1200, 9000, 6000}, {}).left, -20000);
    EXPECT_EQ(ReachablePlace({50000, 1200, 40000, 6000}, {screens[0]}).left, 0);
}

TEST(Startup, OnlyFlagOneStartsMinimisedAndOnlyATrayIconHidesTheWindow) {
    const std::tuple<std::int16_t, bool, int, bool, bool> cases[] = {
        // flag, tray, tray additions failing, minimised, hidden
        {1, true, 0, true, true},  {1, false, 0, true, false}, {1, true, 1, true, true},
        {1, true, 2, true, false}, {5, true, 0, false, false},
    };
    for (const auto& [flag, tray, failures, minimised, hidden] : cases) {
        SCOPED_TRACE(testing::Message() << flag << tray << failures);
        TestProgram p;
        p.fake.hasTray = tray;
        p.fake.trayAddFailures = failures;
        WriteBytes(p.File("tabbern.cfg"), CfgFile({.loadMinimised = flag}));
        ASSERT_TRUE(p.Start());
        EXPECT_EQ(p.app.main.windowState() == WindowState::Minimized, minimised);
        EXPECT_EQ(p.app.main.menuloadminimized.checked(), minimised);
        EXPECT_EQ(p.app.main.visible(), !hidden);
        EXPECT_EQ(Exists(p.File("tabbern.min")), minimised);
    }
}

TEST(TrayIcon, ALeftClickOrDoubleClickBringsTheWindowBackAndOtherActionsDoNothing) {
    for (int action : {kTrayLeftButtonUp, kTrayLeftDoubleClick}) {
        TestProgram p;
        ASSERT_TRUE(p.Start());
        Minimise(p);
        for (int other : {0, 512, 513, 516, 518})
            ASSERT_TRUE(p.Run([&] { TrayIcon_MouseAction(p.app, other); }));
        EXPECT_FALSE(p.app.main.visible());
        ASSERT_TRUE(p.Run([&] { TrayIcon_MouseAction(p.app, action); }));
        EXPECT_EQ(p.app.main.windowState(), WindowState::Normal);
        EXPECT_TRUE(p.app.main.visible());
        EXPECT_EQ(p.fake.foregroundCalls, 1);
        EXPECT_FALSE(Exists(p.File("tabbern.min")));
    }
}

TEST(Ending, TheCloseBoxAndExitYesRemoveMarkersAndIconAndStoreARememberedPlace) {
    const std::tuple<bool, MsgResult, bool, bool> cases[] = {
        // the close box (else Exit), the answer to Exit, remember the place, from the tray
        {true, MsgResult::No, false, false}, {true, MsgResult::No, true, false},
        {true, MsgResult::No, true, true},   {false, MsgResult::Yes, true, false},
        {false, MsgResult::No, true, false},
    };
    for (const auto& [closeBox, answer, remember, fromTray] : cases) {
        SCOPED_TRACE(testing::Message() << closeBox << remember << fromTray);
        TestProgram p;
        WriteBytes(p.File("tabbern.cfg"),
                   CfgFile({.rememberLocation = remember ? -1 : 0, .top = 1200, .left = 3000}));
        ASSERT_TRUE(p.Start());
        if (fromTray)
            Minimise(p);
        else
            WriteBytes(p.File("tabbern.min"), "left over\r\n");
        // What a hidden window reports as its place means nothing.
        p.app.main.move(fromTray ? -32000 : 2500, fromTray ? -32000 : 900);
        const std::string cfg = ReadBytes(p.File("tabbern.cfg"));
        p.fake.answers = {answer};

        const bool ends = !p.Run([&] {
            if (closeBox)
                MainForm_Unload(p.app);
            else
                p.app.main.menuquit.click();
        });

        EXPECT_EQ(ends, closeBox || answer == MsgResult::Yes);
        EXPECT_EQ(p.Messages(), closeBox ? Names{} : Names{"Exit " + p.app.appTitle});
        EXPECT_EQ(Exists(p.File("tabbern.run")) || Exists(p.File("tabbern.min")), !ends);
        EXPECT_EQ(p.fake.trayCalls.back() == "remove", ends);
        EXPECT_EQ(ReadBytes(p.File("tabbern.cfg")),
                  ends && remember && !fromTray
                      ? CfgOf(p.app, {.rememberLocation = -1, .top = 900, .left = 2500})
                      : cfg);
    }
}

} // namespace
} // namespace tabbern::test
