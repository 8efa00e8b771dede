#include "app/Exit.h"

#include "app/App.h"
#include "app/Startup.h"
#include "checking/CheckLinks.h"
#include "settings/Settings.h"
#include "store/FileIo.h"

namespace tabbern {

void ExitSequence(App& app) {
    // Outstanding requests are abandoned; what the check found so far is kept.
    StopLinkCheck(app);
    if (FileExists(app, app.programFolder, app.runningMarkerName))
        DeleteFileIfExists(app.programFile(app.runningMarkerName));
    if (FileExists(app, app.programFolder, app.minimisedMarkerName))
        DeleteFileIfExists(app.programFile(app.minimisedMarkerName));
    app.platform.trayRemove();
    app.trayIconAdded = false;
    if (app.main.menuscreenlocation.checked())
        SaveScreenLocation(app, true);
    EndProcess(app.platform);
}

void MainForm_Unload(App& app) {
    ExitSequence(app);
}

void menuquit_Click(App& app) {
    if (app.platform.messageBox("Exit " + app.appTitle, app.appTitle, MsgButtons::YesNo) ==
        MsgResult::Yes)
        ExitSequence(app);
}

} // namespace tabbern
