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
#include "platform/qt/Resources.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace {

// For the start-up benchmark: with TABBERN_EXIT_WHEN_SHOWN set, the event loop ends as soon as
// the main window's first paint has been processed, and the program returns normally.
class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(const QWidget& window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return false;
    }

private:
    const QWidget& window_;
};

} // namespace

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

    QuitAfterFirstPaint quitWhenShown(mainWindow);
    if (qEnvironmentVariableIsSet("TABBERN_EXIT_WHEN_SHOWN"))
        application.installEventFilter(&quitWhenShown);

    platform.runEvent([&app] { tabbern::MainForm_Load(app); });
    return QApplication::exec();
}
