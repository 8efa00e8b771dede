// The entry procedure: create the main window and run its load handler, the start-up sequence,
// which shows it. The program then waits for the user; it ends only through the exit sequence.
#include "app/App.h"
#include "app/Exit.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "platform/win32/Bitmaps.h"
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
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    GdiplusSession gdiplus;

    Win32Platform platform;
    ViewHost host(platform);
    App app(platform, host);
    host.setApp(app);
    platform.setHost(host);
    // The main window exists from the start; each dialog's window is made when it is first
    // shown.
    host.windowOf(app.main);

    host.runEvent([&app] { MainForm_Load(app); });

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!platform.preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The program ends through the exit sequence; a quit request from outside ends it the same
    // way.
    host.runEvent([&app] { MainForm_Unload(app); });
    return 0;
}
