// The entry procedure: create the main window and run its load handler, the start-up
// sequence, which shows it. The program then waits for the user; it ends only through the
// exit sequence.
#include "app/App.h"
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
    tabbern::App app(platform);
    platform.setApp(app);
    tabbern::MainWindowView mainWindow(platform, app);
    // The dialogs exist, hidden, from the start; the core only shows and hides them.
    tabbern::BookmarkDialogView addDialog(platform, app.frmAddName);
    tabbern::BookmarkDialogView editDialog(platform, app.frmEditName);
    tabbern::GroupNameDialogView renameDialog(platform, app.frmEditGroupName);
    tabbern::AboutView aboutBox(platform, app.frmAbout);
    tabbern::HelpView helpWindow(platform, app.frmHelp);
    tabbern::AddConfirmView confirmDialog(platform, app.frmAddConfirm);
    tabbern::AssignNameView assignDialog(platform, app.frmAssignName);
    // The status icon's clicks: restore the window, or pop up the Bookmarks menu.
    platform.setTrayHandler([&app](int action) { tabbern::TrayIcon_MouseAction(app, action); });

    tabbern::QuitAfterFirstPaint quitWhenShown(mainWindow);
    quitWhenShown.installIfRequested();

    platform.runEvent([&app] { tabbern::MainForm_Load(app); });
    return QApplication::exec();
}
