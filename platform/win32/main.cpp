// The entry procedure: create the main window and run its load handler, the start-up sequence,
// which shows it. The program then waits for the user; it ends only through the exit sequence.
#include "app/App.h"
#include "app/Exit.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "platform/win32/Bitmaps.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Layouts.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "store/CodePage.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tabbern;
    using namespace tabbern::win32;

    // The data files use the system's ANSI code page.
    static const AnsiCodePage ansi;
    SetActiveCodePage(ansi);

    // The folder browser needs COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    GdiplusSession gdiplus;

    Win32Platform platform;
    App app(platform);
    platform.setApp(app);

    FormWindow mainWindow(
        platform, app.main, MainWindowLayout(), [&app] { MainForm_Unload(app); }, true);
    platform.setTrayWindow(mainWindow.hwnd());
    // The dialogs exist, hidden, from the start; the core only shows and hides them. Their
    // frames' close buttons press their cancel buttons.
    FormWindow addDialog(platform, app.frmAddName, BookmarkDialogLayout(),
                         [&app] { app.frmAddName.Command2.click(); });
    FormWindow editDialog(platform, app.frmEditName, BookmarkDialogLayout(),
                          [&app] { app.frmEditName.Command2.click(); });
    FormWindow renameDialog(platform, app.frmEditGroupName, GroupNameDialogLayout(),
                            [&app] { app.frmEditGroupName.Command2.click(); });
    FormWindow aboutBox(platform, app.frmAbout, AboutLayout(),
                        [&app] { app.frmAbout.cmdOK.click(); });
    FormWindow helpWindow(platform, app.frmHelp, HelpLayout(),
                          [&app] { app.frmHelp.Command1.click(); });
    FormWindow confirmDialog(platform, app.frmAddConfirm, AddConfirmLayout(),
                             [&app] { app.frmAddConfirm.Command2.click(); });
    FormWindow assignDialog(platform, app.frmAssignName, AssignNameLayout(),
                            [&app] { app.frmAssignName.Command3.click(); });
    // The list of the confirmation is shortened while the name and group boxes are shown.
    confirmDialog.afterSync = [&app, &confirmDialog] {
        const AddConfirmForm& c = app.frmAddConfirm;
        const bool fieldsShown =
            c.Label1.visible() || c.Text2.visible() || c.Label2.visible() || c.GroupList.visible();
        confirmDialog.placeControl(c.Text1.name(), AddConfirmListRect(fieldsShown));
    };
    // The notification-area icon's clicks: restore the window, or pop up the Bookmarks menu.
    platform.setTrayHandler([&app](int action) { TrayIcon_MouseAction(app, action); });

    platform.runEvent([&app] { MainForm_Load(app); });

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!platform.preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The program ends through the exit sequence; a quit request from outside ends it the same
    // way.
    platform.runEvent([&app] { MainForm_Unload(app); });
    return 0;
}
