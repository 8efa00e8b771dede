#include "app/Window.h"

#include "app/App.h"
#include "app/Startup.h"
#include "listview/ListView.h"
#include "settings/Autostart.h"
#include "settings/DataFolder.h"
#include "settings/Options.h"
#include "store/FileIo.h"
#include "ui/AboutHelp.h"
#include "ui/Looks.h"

namespace tabbern {

void TrayIcon_MouseAction(App& app, int action) {
    MainForm& m = app.main;
    switch (action) {
    case kTrayLeftButtonUp:
    case kTrayLeftDoubleClick:
        m.setWindowState(WindowState::Normal);
        app.forms.applyWindowState(m);
        // A state set from code is not reported back by the window, so its handling runs here.
        MainForm_Resize(app);
        app.forms.setForeground(m);
        app.forms.showModeless(m);
        break;
    case kTrayRightButtonUp:
        app.forms.setForeground(m);
        app.forms.popupMenu(m.menunames);
        break;
    default:
        break;
    }
}

void MainForm_Resize(App& app) {
    MainForm& m = app.main;
    switch (m.windowState()) {
    case WindowState::Normal:
        // A marker that cannot be removed now is removed by the exit sequence; the window is
        // back either way.
        try {
            if (FileExists(app, app.programFolder, app.minimisedMarkerName))
                DeleteFileIfExists(app.programFile(app.minimisedMarkerName));
            app.inTrayFlag = 0;
        } catch (const FileError&) {
        }
        break;
    case WindowState::Minimized:
        WriteMarkerFile(app.programFile(app.minimisedMarkerName), app.appTitle);
        app.inTrayFlag = -1;
        // A hidden window comes back only through its icon: one that could not be added before
        // (a desktop still starting) is tried again, and without one the window stays
        // minimised in the task bar.
        if (!app.trayIconAdded && app.platform.trayAvailable())
            app.trayIconAdded = app.platform.trayAdd(app.trayTip, kProgramIcon);
        if (app.trayIconAdded)
            app.forms.hideForm(m);
        break;
    case WindowState::Maximized:
        break;
    }
}

void MainForm_Activate(App& app) {
    app.inTrayFlag = 0;
    ShowSelectionDetails(app);
}

void WireDesktopHandlers(App& app) {
    MainForm& m = app.main;
    m.onResize = [&app] { MainForm_Resize(app); };
    m.onActivate = [&app] { MainForm_Activate(app); };

    m.menuloadminimized.onClick = [&app] { menuloadminimized_Click(app); };
    m.menuremembersortchoices.onClick = [&app] { menuremembersortchoices_Click(app); };
    m.menuscreenlocation.onClick = [&app] { menuscreenlocation_Click(app); };
    m.menustartwhenwindowsstarts.onClick = [&app] { menustartwhenwindowsstarts_Click(app); };
    m.menusetdata.onClick = [&app] { menusetdata_Click(app); };
    m.lblAltDatapath.onDblClick = [&app] { lblAltDatapath_DblClick(app); };

    WireAboutHelpHandlers(app);
}

} // namespace tabbern
