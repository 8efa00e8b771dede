// Shared pieces of the GUI tests: answering modal windows from inside their own event loop,
// and the real program's pieces started in a fresh folder.
#pragma once

#include "app/App.h"
#include "app/Startup.h"
#include "app/Window.h"
#include "platform/qt/AboutHelpViews.h"
#include "platform/qt/BookmarkDialogView.h"
#include "platform/qt/GroupNameDialogView.h"
#include "platform/qt/ImportDialogViews.h"
#include "platform/qt/MainWindowView.h"
#include "platform/qt/QtPlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Failed checks show Qt texts as text rather than as bytes.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace tabbern::test {

// Acts on the next modal window (message box, dialog) once its event loop runs. Gives up with
// a test failure when none appears within a few rounds of the event loop.
inline void WhenModalShows(std::function<void(QWidget*)> act, int roundsLeft = 50) {
    QTimer::singleShot(0, [act = std::move(act), roundsLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (roundsLeft > 0)
            WhenModalShows(std::move(act), roundsLeft - 1);
        else
            ADD_FAILURE() << "no modal window appeared";
    });
}

// Points the XDG folders into a fresh temporary folder for the test's lifetime.
class XdgHome {
public:
    XdgHome()
        : data_(temp_.makeDir("data")), config_(temp_.makeDir("config")),
          oldData_(qgetenv("XDG_DATA_HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data_));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_));
    }
    ~XdgHome() {
        qputenv("XDG_DATA_HOME", oldData_);
        qputenv("XDG_CONFIG_HOME", oldConfig_);
    }
    XdgHome(const XdgHome&) = delete;
    XdgHome& operator=(const XdgHome&) = delete;

    const std::string& data() const { return data_; }
    const std::string& config() const { return config_; }
    std::string programFolder() const { return data_ + "/tabbern"; }
    const TempDir& temp() const { return temp_; }

private:
    TempDir temp_;
    std::string data_, config_;
    QByteArray oldData_, oldConfig_;
};

// The program as main() builds it, started in a fresh data home. Ending the process is
// counted instead of done.
class StartedProgram : public ::testing::Test {
protected:
    // `prepare` sets the platform up (its test hooks) before start-up runs.
    void start(const QStringList& arguments = {},
               const std::function<void(QtPlatform&)>& prepare = {}) {
        platform = std::make_unique<QtPlatform>(arguments);
        platform->setEndProcessHook([this] { ++processEnds; });
        if (prepare)
            prepare(*platform);
        app = std::make_unique<App>(*platform);
        platform->setApp(*app);
        view = std::make_unique<MainWindowView>(*platform, *app);
        addDialog = std::make_unique<BookmarkDialogView>(*platform, app->frmAddName);
        editDialog = std::make_unique<BookmarkDialogView>(*platform, app->frmEditName);
        renameDialog = std::make_unique<GroupNameDialogView>(*platform, app->frmEditGroupName);
        aboutBox = std::make_unique<AboutView>(*platform, app->frmAbout);
        helpWindow = std::make_unique<HelpView>(*platform, app->frmHelp);
        confirmDialog = std::make_unique<AddConfirmView>(*platform, app->frmAddConfirm);
        assignDialog = std::make_unique<AssignNameView>(*platform, app->frmAssignName);
        platform->setTrayHandler([this](int action) { TrayIcon_MouseAction(*app, action); });
        platform->runEvent([this] { MainForm_Load(*app); });
    }

    template <class W> W* widget(const char* name) const {
        return view->findChild<W*>(QString::fromLatin1(name));
    }

    XdgHome home;
    int processEnds = 0;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<App> app;
    std::unique_ptr<MainWindowView> view;
    std::unique_ptr<BookmarkDialogView> addDialog;
    std::unique_ptr<BookmarkDialogView> editDialog;
    std::unique_ptr<GroupNameDialogView> renameDialog;
    std::unique_ptr<AboutView> aboutBox;
    std::unique_ptr<HelpView> helpWindow;
    std::unique_ptr<AddConfirmView> confirmDialog;
    std::unique_ptr<AssignNameView> assignDialog;
};

} // namespace tabbern::test
