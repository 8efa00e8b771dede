// The entry procedure: create the main window and run its load handler, the start-up
// sequence, which shows it. The program then waits for the user; it ends only through the
// exit sequence.
#include "app/App.h"
#include "app/Exit.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "platform/qt/AboutHelpViews.h"
#include "platform/qt/BookmarkDialogView.h"
#include "platform/qt/GroupNameDialogView.h"
#include "platform/qt/ImportDialogViews.h"
#include "platform/qt/MainWindowView.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QuitAfterFirstPaint.h"
#include "platform/qt/Resources.h"
#include "platform/qt/StopRequests.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <memory>
#include <vector>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tabbern"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tabbern"));
    QApplication::setWindowIcon(tabbern::tabbernIcon());
    // Minimising hides the window into the notification area; that is not the end.
    QApplication::setQuitOnLastWindowClosed(false);

    tabbern::QtPlatform platform;
    tabbern::App app(platform);
    platform.setApp(app);
    tabbern::MainWindowView mainWindow(platform, app);
    // Each dialog's window is made when the core first shows it; most runs open few of them,
    // and a start pays only for the main window.
    std::vector<std::unique_ptr<tabbern::FormView>> dialogs;
    platform.setViewMaker([&](tabbern::Form& form) {
        if (&form == &app.frmAddName || &form == &app.frmEditName)
            dialogs.push_back(std::make_unique<tabbern::BookmarkDialogView>(
                platform, static_cast<tabbern::BookmarkDialog&>(form)));
        else if (&form == &app.frmEditGroupName)
            dialogs.push_back(
                std::make_unique<tabbern::GroupNameDialogView>(platform, app.frmEditGroupName));
        else if (&form == &app.frmAbout)
            dialogs.push_back(std::make_unique<tabbern::AboutView>(platform, app.frmAbout));
        else if (&form == &app.frmHelp)
            dialogs.push_back(std::make_unique<tabbern::HelpView>(platform, app.frmHelp));
        else if (&form == &app.frmAddConfirm)
            dialogs.push_back(
                std::make_unique<tabbern::AddConfirmView>(platform, app.frmAddConfirm));
        else if (&form == &app.frmAssignName)
            dialogs.push_back(
                std::make_unique<tabbern::AssignNameView>(platform, app.frmAssignName));
    });
    // The status icon's clicks: restore the window, or pop up the Bookmarks menu.
    platform.setTrayHandler([&app](int action) { tabbern::TrayIcon_MouseAction(app, action); });

    tabbern::QuitAfterFirstPaint quitWhenShown(mainWindow);
    quitWhenShown.installIfRequested();

    // The end of the desktop session, a closed terminal and Ctrl+C end the program the way its
    // close box does.
    tabbern::StopRequests stopRequests(platform, [&app] { tabbern::MainForm_Unload(app); });

    platform.runEvent([&app] { tabbern::MainForm_Load(app); });
    stopRequests.startUpDone();
    return QApplication::exec();
}
