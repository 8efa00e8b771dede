// The entry procedure: create the main window and run its load handler, the start-up
// sequence, which shows it. The program then waits for the user; it ends only through the
// exit sequence.
#include "app/App.h"
#include "app/Startup.h"
#include "platform/qt/BookmarkDialogView.h"
#include "platform/qt/GroupNameDialogView.h"
#include "platform/qt/MainWindowView.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/Resources.h"

#include <QApplication>

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

    platform.runEvent([&app] { tabbern::MainForm_Load(app); });
    return QApplication::exec();
}
