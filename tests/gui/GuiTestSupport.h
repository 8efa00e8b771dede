// Shared pieces of the GUI tests: answering modal windows from inside their own event loop,
// and the real program's pieces started in a fresh folder.
#pragma once

#include "app/App.h"
#include "app/Startup.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPlatform.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"
#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Failed checks show Qt texts as text rather than as bytes.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace tabbern::test {

// Acts on the next modal window once its event loop runs; fails if none comes in 50 rounds.
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

// Fails the test on, and closes, a message box that no step answers within a second.
struct StrayMessageBoxes {
    StrayMessageBoxes() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box == last_) {
                ADD_FAILURE() << "unexpected message box: " << box->text().toStdString();
                box->reject();
            }
            last_ = box;
        });
        timer_.start(1000);
    }
    QTimer timer_;
    QMessageBox* last_ = nullptr;
};

// Points the XDG folders into a fresh temporary folder for the test's lifetime.
struct XdgHome {
    TempDir temp;
    const std::string data = temp.makeDir("data"), config = temp.makeDir("config");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    XdgHome() {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config));
    }
    ~XdgHome() {
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    std::string programFolder() const { return data + "/tabbern"; }
};

// The program as main() builds it, in a fresh data home; ending the process is only counted.
class StartedProgram : public ::testing::Test {
protected:
    // Starts the program, with a notification area if `tray`, and waits for its window.
    void start(bool tray = false) {
        platform = std::make_unique<QtPlatform>(QStringList{});
        platform->setEndProcessHook([this] { ++processEnds; });
        platform->setTrayAvailable(tray);
        host = std::make_unique<ViewHost>(*platform);
        app = std::make_unique<App>(*platform, *host);
        host->setApp(*app);
        platform->setHost(*host);
        view = windowOf(app->main);
        host->runEvent([this] { MainForm_Load(*app); });
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    }

    // Starts on data files that hold these bookmarks (name, group, web address) and their groups.
    void startWith(const std::vector<std::array<const char*, 3>>& bookmarks) {
        const std::string folder = home.temp.makeDir("data/tabbern");
        std::string store = HeaderLine() + "\r\n";
        WriteBytes(folder + "/tabbern.grp", store); // start-up adds the groups the bookmarks use
        int rec = 0;
        for (const auto& [name, group, url] : bookmarks)
            store += "[r]" + std::to_string(rec++) + "[n]" + name + "[g]" + group +
                     "[d]1/2/2025[l][u]" + url + "\r\n";
        WriteBytes(folder + "/tabbern.dat", store);
        start();
    }

    // The window of a form; every form has one made on first use.
    QtFormWindow* windowOf(Form& form) const {
        return static_cast<QtFormWindow*>(&host->windowOf(form));
    }
    // Every form of the program, the main window first.
    std::vector<Form*> forms() const {
        return {&app->main,          &app->frmAddName,    &app->frmEditName, &app->frmEditGroupName,
                &app->frmAddConfirm, &app->frmAssignName, &app->frmAbout,    &app->frmHelp,
                &app->frmCheckLinks};
    }
    // Shows the confirmation's name and group boxes, which only a link from the clipboard gets.
    void showClipboardBoxes() {
        AddConfirmForm& c = app->frmAddConfirm;
        for (Control* box : std::vector<Control*>{&c.Label1, &c.Text2, &c.Label2, &c.GroupList}) {
            box->setVisible(true);
            box->setEnabled(true);
        }
    }
    // Runs the check on the form's window as its showing renders it, then hides it as it was.
    void asShown(Form& form, const std::function<void(QtFormWindow*)>& check) {
        SCOPED_TRACE(form.name());
        const bool shown = form.visible();
        form.setVisible(true);
        host->renderAll();
        check(windowOf(form));
        form.setVisible(shown);
    }
    // A control of one of the program's windows; a missing one fails the test.
    template <class W = QWidget> W* in(QWidget* window, const char* name) const {
        W* w = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    template <class W = QWidget> W* widget(const char* name) const { return in<W>(view, name); }

    // Keys go where a user's keys go: to the widget that has the focus.
    static QWidget* focused() { return QApplication::focusWidget(); }
    static QString focusedName() { return focused() ? focused()->objectName() : QString(); }
    static void type(const char* text) {
        ASSERT_NE(focused(), nullptr);
        QTest::keyClicks(focused(), QString::fromUtf8(text));
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        ASSERT_NE(focused(), nullptr);
        QTest::keyClick(focused(), key, mods);
    }

    XdgHome home;
    int processEnds = 0;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<ViewHost> host;
    std::unique_ptr<App> app;
    QtFormWindow* view = nullptr; // the main window; the windows belong to the host
};

} // namespace tabbern::test
