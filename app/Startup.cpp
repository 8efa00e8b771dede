#include "app/Startup.h"

#include "app/App.h"
#include "app/Window.h"
#include "listview/ListView.h"
#include "settings/Autostart.h"
#include "settings/Settings.h"
#include "store/FileIo.h"
#include "store/Store.h"
#include "store/Text.h"
#include "store/TextFile.h"
#include "ui/InterfaceTexts.h"
#include "ui/Looks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace tabbern {

bool FileExists(App& app, const std::string& folder, const std::string& name) {
    return FileExistsIn(app.platform, folder, name);
}

void WriteOneLineFile(const std::string& path, const std::string& line) {
    WriteTextLines(path, {line});
}

void WriteMarkerFile(const std::string& path, const std::string& line) {
    WriteFileAtomically(path, EncodeLines({line}), false);
}

std::string StripTrailingSeparator(const std::string& folder) {
    std::string trimmed = Trim(folder);
    if (!trimmed.empty() && trimmed.back() == kPathSeparator) {
        trimmed.pop_back();
        return trimmed;
    }
    return folder;
}

void ApplyCommandLineSwitches(App& app) {
    MainForm& m = app.main;
    app.commandLineText = Trim(app.platform.commandLine());
    const std::pair<char, std::vector<Control*>> switches[] = {
        {'a', {&m.menunames}},
        {'b', {&m.menuaddname}},
        {'c', {&m.menunamesedit}},
        {'d', {&m.menunamesdelete}},
        {'e', {&m.menusortby}},
        {'f', {&m.menusortbyname}},
        {'g', {&m.menusortbyurl}},
        {'h', {&m.menusortbydateadded}},
        {'i', {&m.menulastaccessed}},
        {'j', {&m.menuquit}},
        {'k', {&m.menugroup}},
        {'l', {&m.menuaddgroup}},
        {'m', {&m.menueditselectedgroup}},
        {'n', {&m.menudeletegroup}},
        {'o', {&m.menushare}},
        {'p', {&m.menuimportfromtextfile}},
        {'q', {&m.menuimportfromclipboard}},
        {'r', {&m.menuimportfromtabbernfile}},
        {'s', {&m.menuexporttotabbernfile}},
        {'t', {&m.menuoptions}},
        {'u', {&m.menuremembersortchoices}},
        {'v', {&m.menuscreenlocation}},
        {'w', {&m.menustartwhenwindowsstarts}},
        {'x', {&m.menuloadminimized}},
        {'y', {&m.menusetdata, &m.lblAltDatapath}},
        {'0', {&m.Combo1}},
    };
    for (const auto& [letter, items] : switches)
        if (ContainsNoCase(app.commandLineText, std::string(1, letter)))
            for (Control* c : items)
                c->setEnabled(false);
}

void SetFoldersAndConstants(App& app) {
    app.groups.assign(2, std::string());
    const std::string reported = app.platform.programFolder();
    app.programFolder = reported;
    app.dataFolder = reported;
    app.programFolder = StripTrailingSeparator(app.programFolder);
    if (app.programFolder.empty())
        app.programFolder = reported;
    app.versionText = TABBERN_VERSION_TEXT;
    app.appTitle = "Tabbern " + app.versionText;
    app.programName = app.platform.programName();
    app.main.setIcon(101);
}

void CheckAlreadyRunning(App& app) {
    if (!FileExists(app, app.programFolder, app.ignoreMarkerName)) {
        if (!FileExists(app, app.programFolder, app.minimisedMarkerName) &&
            FileExists(app, app.programFolder, app.runningMarkerName)) {
            const MsgResult answer = app.platform.messageBox(
                app.appTitle + " May Already Be Running. Do You Want To Continue?", app.appTitle,
                MsgButtons::OKCancel);
            if (answer != MsgResult::OK)
                EndProcess(app.platform);
        }
    }
    WriteMarkerFile(app.programFile(app.runningMarkerName), app.programName);
    app.runningMarkerWritten = true;
}

void ResolveDataFolder(App& app) {
    if (FileExists(app, app.programFolder, app.dataPathFileName))
        app.dataFolder = Trim(ReadFirstLine(app.programFile(app.dataPathFileName)));
    if (app.dataFolder.empty())
        app.dataFolder = app.platform.programFolder();
    app.dataFolder = StripTrailingSeparator(app.dataFolder);
    app.main.lblAltDatapath.setCaption("   " + app.dataFolder + " ");
    app.main.lblAltDatapath.setToolTip(" " + app.dataFolder + " ");
}

void SetRemainingConstants(App& app) {
    app.currentGroupFilter = "all";
    app.itemNoun = "Bookmark";
    app.bookmarkLimit = 1000;
    app.groupLimit = 200;
    SetInterfaceTexts(app);
    app.storeHeaderLine = HeaderLine();
    app.groupHeaderLine = HeaderLine();
}

void ApplyStartMinimised(App& app) {
    app.main.menuloadminimized.setChecked(app.loadMinimisedFlag == 1);
    if (app.loadMinimisedFlag != 1)
        app.loadMinimisedFlag = 0;
    app.main.setWindowState(app.loadMinimisedFlag == 1 ? WindowState::Minimized
                                                       : WindowState::Normal);
}

void LoadStoreAtStartup(App& app) {
    CheckStoreFile(app);
    CheckGroupFile(app);
    LoadStore(app);
    LoadGroups(app);
    AddMissingGroups(app);
    LoadGroups(app);
    FillGroupSelector(app);
    RebuildGroupTable(app);
}

void FillListAtStartup(App& app) {
    MainForm& m = app.main;
    if (app.rememberSortFlag != 1) {
        m.menuremembersortchoices.setChecked(false);
        FillBookmarkList(app);
    } else {
        m.menuremembersortchoices.setChecked(true);
        ApplySortChoice(app);
    }
    // Selecting All Groups runs the selector's click: the filter becomes "all groups".
    if (m.Combo1.listCount() >= 1)
        m.Combo1.setListIndex(0);
    ShowSelectionDetails(app);
}

namespace {

// The part of a window's top that must lie on a screen for a person to drag it: its title bar,
// and as much of its width as a grip needs.
constexpr double kTitleBarTwips = 300;
constexpr double kGripTwips = 1500;

double Overlap(double a0, double aSize, double b0, double bSize) {
    return std::min(a0 + aSize, b0 + bSize) - std::max(a0, b0);
}

// How far apart two rectangles are: 0 when they touch or overlap.
double Distance(const ScreenArea& a, const ScreenArea& b) {
    const double dx = std::max(0.0, -Overlap(a.left, a.width, b.left, b.width));
    const double dy = std::max(0.0, -Overlap(a.top, a.height, b.top, b.height));
    return std::hypot(dx, dy);
}

double ClampInto(double start, double size, double areaStart, double areaSize) {
    return std::max(areaStart, std::min(start, areaStart + areaSize - size));
}

} // namespace

ScreenArea ReachablePlace(const ScreenArea& window, const std::vector<ScreenArea>& areas) {
    if (areas.empty())
        return window;
    const double grip = std::min(window.width, kGripTwips);
    for (const ScreenArea& a : areas)
        if (window.top >= a.top && window.top + kTitleBarTwips <= a.top + a.height &&
            Overlap(window.left, window.width, a.left, a.width) >= grip)
            return window;
    const ScreenArea* nearest = &areas.front();
    for (const ScreenArea& a : areas)
        if (Distance(window, a) < Distance(window, *nearest))
            nearest = &a;
    ScreenArea placed = window;
    placed.left = ClampInto(window.left, window.width, nearest->left, nearest->width);
    placed.top = ClampInto(window.top, window.height, nearest->top, nearest->height);
    return placed;
}

void PlaceMainWindow(App& app) {
    MainForm& m = app.main;
    auto centre = [&] {
        m.move(app.platform.screenWidthTwips() / 2 - m.width() / 2,
               app.platform.screenHeightTwips() / 2 - m.height() / 2);
    };
    if (app.rememberLocationFlag == -1) {
        m.menuscreenlocation.setChecked(true);
        if (std::int64_t{app.savedTop} + app.savedLeft != 0) {
            // The remembered place may lie on a screen that has been removed since.
            const ScreenArea place =
                ReachablePlace({static_cast<double>(app.savedLeft),
                                static_cast<double>(app.savedTop), m.width(), m.height()},
                               app.platform.screenWorkAreas());
            m.move(place.left, place.top);
        } else {
            centre();
        }
    } else {
        centre();
    }
}

void MainForm_Load(App& app) {
    ApplyCommandLineSwitches(app);
    SetFoldersAndConstants(app);
    CheckAlreadyRunning(app);
    ResolveDataFolder(app);
    ReadSettings(app);
    SetRemainingConstants(app);
    ApplyStartMinimised(app);
    LoadStoreAtStartup(app);
    FillListAtStartup(app);
    SetLooks(app);
    if (CheckForStartupKey(app))
        app.main.menustartwhenwindowsstarts.setChecked(true);
    PlaceMainWindow(app);

    app.main.setVisible(true);
    app.forms.showModeless(app.main);
    // The icon comes before a start minimised hides the window behind it.
    app.trayTip = " " + app.appTitle + " ";
    app.trayIconAdded = app.platform.trayAdd(app.trayTip, kProgramIcon);
    // The window cannot report a state it was created in, so minimising at start is handled
    // here: into the notification area, with the marker written.
    if (app.main.windowState() == WindowState::Minimized)
        MainForm_Resize(app);
}

} // namespace tabbern
