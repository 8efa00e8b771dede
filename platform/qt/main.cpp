// The entry procedure: create the main window and run its load handler, the start-up
// sequence, which shows it. The program then waits for the user; it ends only through the
// exit sequence.
#include "app/App.h"
#include "app/Exit.h"
#include "app/Startup.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QuitAfterFirstPaint.h"
#include "platform/qt/Resources.h"
#include "platform/qt/StopRequests.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabbern"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tabbern"));
    QApplication::setWindowIcon(tabbern::tabbernIcon());
    // Minimising hides the window into the notification area; that is not the end.
    QApplication::setQuitOnLastWindowClosed(false);

    tabbern::QtPlatform platform;
    tabbern::ViewHost host(platform);
    tabbern::App app(platform, host);
    host.setApp(app);
    platform.setHost(host);
    // The main window exists from the start; each dialog's window is made when it is first
    // shown, and most runs open few of them.
    auto& mainWindow = static_cast<tabbern::QtFormWindow&>(host.windowOf(app.main));

    tabbern::QuitAfterFirstPaint quitWhenShown(mainWindow);
    quitWhenShown.installIfRequested();

    // The end of the desktop session, a closed terminal and Ctrl+C end the program the way its
    // close box does.
    tabbern::StopRequests stopRequests(host, [&app] { tabbern::MainForm_Unload(app); });

    host.runEvent([&app] { tabbern::MainForm_Load(app); });
    stopRequests.startUpDone();
    return QApplication::exec();
}
