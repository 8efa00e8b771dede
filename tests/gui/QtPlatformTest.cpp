// The Linux platform services: program folder, message boxes, modal forms, pop-up menus,
// autostart entries, the shell, file-dialog filters and web fetches.
#include "GuiTestSupport.h"

#include "ui/Controls.h"
#include "ui/MainForm.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tabbern::test {
namespace {

// ---- program facts ----------------------------------------------------------------------------

TEST(QtPlatformFacts, ProgramFolderIsCreatedInTheDataHome) {
    XdgHome home;
    QtPlatform platform(QStringList{});
    const std::string folder = platform.programFolder();
    EXPECT_EQ(folder, home.programFolder());
    EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists());
}

TEST(QtPlatformFacts, ASettingsFileBesideTheExecutableMakesACopyPortable) {
    XdgHome home;
    const std::string exe = home.temp().makeDir("portable");
    WriteBytes(exe + "/tabbern.cfg", std::string(128, ' '));
    QtPlatform platform(QStringList{});
    platform.setExecutableFolder(QString::fromStdString(exe));
    EXPECT_EQ(platform.programFolder(), exe);
    EXPECT_FALSE(Exists(home.programFolder()));
}

TEST(QtPlatformFacts, CommandLineAndProgramCommand) {
    QtPlatform platform(QStringList{QStringLiteral("-X"), QStringLiteral("/Y")});
    EXPECT_EQ(platform.commandLine(), "-X /Y");
    EXPECT_EQ(QtPlatform(QStringList{}).commandLine(), "");
    EXPECT_EQ(platform.programName(), "Tabbern");
    EXPECT_EQ(platform.programFileBaseName(), "tabbern");
    EXPECT_TRUE(QDir::isAbsolutePath(QString::fromStdString(platform.programCommand())));

    EXPECT_EQ(QuoteCommandArgument(QStringLiteral("/usr/bin/tabbern")),
              QStringLiteral("/usr/bin/tabbern"));
    EXPECT_EQ(QuoteCommandArgument(QStringLiteral("/opt/my apps/tabbern")),
              QStringLiteral("\"/opt/my apps/tabbern\""));
    EXPECT_EQ(QuoteCommandArgument(QStringLiteral("/opt/$HOME \"x\"/t")),
              QStringLiteral("\"/opt/\\$HOME \\\"x\\\"/t\""));
}

// ---- message boxes ------------------------------------------------------------------------------

struct BoxCase {
    const char* name;
    MsgButtons buttons;
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton pressed; // NoButton: closed through the frame
    MsgResult expected;
};

class QtPlatformMessageBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtPlatformMessageBox, ShowsExactButtonsAndAnswers) {
    const BoxCase c = GetParam();
    QtPlatform platform(QStringList{});
    QMessageBox::StandardButtons shown;
    QString title, text;
    WhenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shown = box->standardButtons();
        title = box->windowTitle();
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        if (c.pressed == QMessageBox::NoButton)
            box->close();
        else
            box->button(c.pressed)->click();
    });
    EXPECT_EQ(platform.messageBox(" Could Not Find Bookmark <x>", "Tabbern 5.2", c.buttons),
              c.expected);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(title, QStringLiteral("Tabbern 5.2"));
    EXPECT_EQ(text, QStringLiteral(" Could Not Find Bookmark <x>"));
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, QtPlatformMessageBox,
    ::testing::Values(
        BoxCase{"OkPressed", MsgButtons::OK, QMessageBox::Ok, QMessageBox::Ok, MsgResult::OK},
        BoxCase{"OkClosed", MsgButtons::OK, QMessageBox::Ok, QMessageBox::NoButton, MsgResult::OK},
        BoxCase{"OkCancelOk", MsgButtons::OKCancel, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok, MsgResult::OK},
        BoxCase{"OkCancelClosed", MsgButtons::OKCancel, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::NoButton, MsgResult::Cancel},
        BoxCase{"YesNoYes", MsgButtons::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                MsgResult::Yes},
        BoxCase{"YesNoNo", MsgButtons::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                MsgResult::No},
        BoxCase{"YesNoClosed", MsgButtons::YesNo, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::NoButton, MsgResult::No}),
    [](const ::testing::TestParamInfo<BoxCase>& param) { return std::string(param.param.name); });

// ---- events, errors and the end of the process ------------------------------------------------

using QtPlatformEvents = StartedProgram;

TEST_F(QtPlatformEvents, EndProcessLeavesTheEventAtOnce) {
    start();
    bool after = false;
    host->runEvent([&] {
        platform->endProcess();
        after = true;
    });
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(after);
}

TEST_F(QtPlatformEvents, AnUnexpectedErrorIsShownThenEndsTheProcess) {
    start();
    QString text;
    WhenModalShows([&](QWidget* w) {
        text = qobject_cast<QMessageBox*>(w)->text();
        qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
    });
    host->runEvent([] { throw std::runtime_error("disk on fire"); });
    EXPECT_TRUE(text.contains(QStringLiteral("disk on fire"))) << text.toStdString();
    EXPECT_EQ(processEnds, 1);
}

TEST_F(QtPlatformEvents, PopupMenuRunsTheChosenCommandBeforeReturning) {
    start();
    MainForm& m = app->main;
    int adds = 0;
    m.menuaddname.onClick = [&] { ++adds; };
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            captions << a->text();
        QTest::keyClick(menu, Qt::Key_A); // the access key of "&Add A Bookmark"
    });
    host->runEvent([&] {
        host->popupMenu(m.menunames);
        EXPECT_EQ(adds, 1);
    });
    EXPECT_EQ(captions, (QStringList{"&Add A Bookmark", "&Edit Selected Bookmark",
                                     "&Delete Selected Bookmark", "&Sort By", "", "E&xit"}));
}

TEST_F(QtPlatformEvents, ShowModalWaitsUntilTheFormIsHidden) {
    start();
    Form& about = app->frmAbout;
    int activations = 0;
    about.onActivate = [&] { ++activations; };
    bool returned = false;

    // Inside the dialog: a message box over it, then the dialog hides itself.
    // Every path ends by hiding the dialog, so that a failure cannot leave the test waiting.
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(aboutBox));
        EXPECT_FALSE(returned);
        WhenModalShows([](QWidget* w) { qobject_cast<QMessageBox*>(w)->accept(); });
        host->runEvent(
            [&] { platform->messageBox("Please Enter A URL", "Tabbern 5.2", MsgButtons::OK); });
        // As the window manager does, the focus goes back to the dialog.
        aboutBox->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(aboutBox));
        host->runEvent([&] { host->hideForm(about); });
    });
    host->runEvent([&] {
        host->showModal(about);
        returned = true;
    });
    EXPECT_TRUE(returned);
    EXPECT_FALSE(aboutBox->isVisible());
    EXPECT_FALSE(about.visible());
    // Shown once, activated once: the message box closing over it was no activation.
    EXPECT_EQ(activations, 1);
}

// ---- desktop services ---------------------------------------------------------------------------

TEST(QtPlatformAutostart, EntryIsWrittenReadBackAndRemoved) {
    XdgHome home;
    QtPlatform platform(QStringList{});
    EXPECT_FALSE(platform.autostartEntry("Tabbern").has_value());

    const std::string command = "\"/opt/my apps/tabbern\" 100%\\";
    platform.writeAutostartEntry("Tabbern", command);
    const std::string path = home.config() + "/autostart/Tabbern.desktop";
    ASSERT_TRUE(Exists(path));
    const std::string file = ReadBytes(path);
    EXPECT_EQ(file.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line :
         {"\nType=Application\n", "\nName=Tabbern\n", "\nExec=\"/opt/my apps/tabbern\" 100%%\\\\\n",
          "\nX-GNOME-Autostart-enabled=true\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_EQ(platform.autostartEntry("Tabbern"), command);

    platform.removeAutostartEntry("Tabbern");
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(platform.autostartEntry("Tabbern").has_value());
    platform.removeAutostartEntry("Tabbern"); // absent: no error
}

TEST(QtPlatformAutostart, EntriesThatStartNothingCountAsAbsent) {
    XdgHome home;
    QtPlatform platform(QStringList{});
    const std::string path = home.config() + "/autostart/Tabbern.desktop";
    home.temp().makeDir("config/autostart");
    WriteBytes(path, "[Desktop Entry]\nType=Application\nName=Tabbern\n");
    EXPECT_FALSE(platform.autostartEntry("Tabbern").has_value());
    WriteBytes(path, "[Desktop Entry]\nExec=/usr/bin/tabbern\nHidden=true\n");
    EXPECT_FALSE(platform.autostartEntry("Tabbern").has_value());
    WriteBytes(path, "[Desktop Entry]\nExec=/usr/bin/other\n");
    EXPECT_EQ(platform.autostartEntry("Tabbern"), "/usr/bin/other");
}

TEST(QtPlatformDialogs, FiltersTakeQtsForm) {
    EXPECT_EQ(
        QtNameFilters(
            {{"Tabbern Files", "*.tbn"}, {"Text Files (*.txt;*.htm)", "*.txt;*.htm"}, {"", "*.*"}}),
        (QStringList{"Tabbern Files (*.tbn)", "Text Files (*.txt *.htm)", "*.* (*.*)"}));
}

// Records what would have gone to the browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    std::vector<QString> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url.toString()); }
};

TEST(QtPlatformShell, OnlyWhatTheCoreCallsAWebAddressReachesTheBrowserInItsFullForm) {
    UrlRecorder recorder;
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    QtPlatform platform(QStringList{});

    EXPECT_TRUE(platform.shellOpen("https://example.org/a?b=c"));
    EXPECT_TRUE(platform.shellOpen("www.example.org/page"));
    // A browser would take both; the core's rule refuses them.
    EXPECT_FALSE(platform.shellOpen("file:///etc/passwd"));
    EXPECT_FALSE(platform.shellOpen("https://user@example.org/"));

    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    EXPECT_EQ(recorder.opened,
              (std::vector<QString>{"https://example.org/a?b=c", "http://www.example.org/page"}));
}

// A one-connection web server that answers every request with a fixed reply, or not at all.
class TinyServer {
public:
    explicit TinyServer(QByteArray reply) : reply_(std::move(reply)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                if (!reply_.isEmpty()) {
                    socket->write(reply_);
                    socket->disconnectFromHost();
                }
            });
        });
    }
    std::string url() const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/linkto/url.txt";
    }

private:
    QByteArray reply_;
    QTcpServer server_;
};

TEST(QtPlatformFetch, ReturnsTheBodyOrEmptyTextOnAnyFailure) {
    QtPlatform platform(QStringList{});
    TinyServer ok("HTTP/1.1 200 OK\r\nContent-Length: 21\r\nConnection: close\r\n\r\n"
                  "http://example.org/p\n");
    EXPECT_EQ(platform.fetchUrl(ok.url()), "http://example.org/p\n");

    TinyServer missing("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n"
                       "\r\nnope");
    EXPECT_EQ(platform.fetchUrl(missing.url()), "");

    TinyServer silent{QByteArray()};
    platform.setFetchTimeoutMs(100);
    EXPECT_EQ(platform.fetchUrl(silent.url()), "");

    EXPECT_EQ(platform.fetchUrl("file:///etc/hostname"), "");
    EXPECT_EQ(platform.fetchUrl("not a url"), "");
}

} // namespace
} // namespace tabbern::test

#include "QtPlatformTest.moc"
