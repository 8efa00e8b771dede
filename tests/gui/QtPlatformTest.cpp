// The Linux desktop's services as the program meets them: program facts, message boxes,
// autostart entries, the shell, file-dialog filters and web fetches; the link check on Qt against
// the test's own web server: the fetcher's shared facts, and in the real program a main window
// still in use, a bar that follows the model, and the answers remembered.
#include "GuiTestSupport.h"
#include "platform/qt/QtLinkFetcher.h"
#include "support/FetcherChecks.h"

#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QProgressBar>
#include <QUrl>

#include <tuple>

namespace tabbern::test {
namespace {

TEST(QtPlatformFacts, TheProgramFolderIsTheDataHomesUnlessASettingsFileLiesBesideTheProgram) {
    XdgHome home;
    const std::string exe = home.temp.makeDir("portable");
    WriteBytes(exe + "/tabbern.cfg", std::string(128, ' '));
    QtPlatform portable(QStringList{});
    portable.setExecutableFolder(QString::fromStdString(exe));
    EXPECT_EQ(portable.programFolder(), exe);
    EXPECT_FALSE(Exists(home.programFolder()));

    QtPlatform installed(QStringList{});
    EXPECT_EQ(installed.programFolder(), home.programFolder());
    EXPECT_TRUE(Exists(home.programFolder()));
}

TEST(QtPlatformFacts, TheCommandThatStartsTheProgramIsAnAbsolutePathQuotedForTheDesktop) {
    EXPECT_TRUE(
        QDir::isAbsolutePath(QString::fromStdString(QtPlatform(QStringList{}).programCommand())));
    // A path as one argument of the desktop's command line.
    EXPECT_EQ(QuoteCommandArgument("/usr/bin/tabbern"), "/usr/bin/tabbern");
    EXPECT_EQ(QuoteCommandArgument("/opt/my apps/tabbern"), "\"/opt/my apps/tabbern\"");
    EXPECT_EQ(QuoteCommandArgument("/opt/$HOME \"x\"/t"), "\"/opt/\\$HOME \\\"x\\\"/t\"");
}

TEST(QtPlatformMessageBox, ShowsTheButtonsAskedForAndAnswersWithThePressedOne) {
    using B = QMessageBox;
    // Asked for, shown, pressed (NoButton: closed through the frame), answered.
    // clang-format off
    const std::tuple<MsgButtons, B::StandardButtons, B::StandardButton, MsgResult> cases[] = {
        {MsgButtons::OK, B::Ok, B::Ok, MsgResult::OK},
        {MsgButtons::OK, B::Ok, B::NoButton, MsgResult::OK},
        {MsgButtons::OKCancel, B::Ok | B::Cancel, B::Ok, MsgResult::OK},
        {MsgButtons::OKCancel, B::Ok | B::Cancel, B::NoButton, MsgResult::Cancel},
        {MsgButtons::YesNo, B::Yes | B::No, B::Yes, MsgResult::Yes},
        {MsgButtons::YesNo, B::Yes | B::No, B::No, MsgResult::No},
        {MsgButtons::YesNo, B::Yes | B::No, B::NoButton, MsgResult::No},
    };
    // clang-format on
    QtPlatform platform(QStringList{});
    for (const auto& [buttons, shown, pressed, answer] : cases) {
        SCOPED_TRACE(static_cast<int>(pressed));
        WhenModalShows([shown = shown, pressed = pressed](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->standardButtons(), shown);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Tabbern 5.2"));
            EXPECT_EQ(box->text(), QStringLiteral(" Could Not Find <x>"));
            if (pressed == B::NoButton)
                box->close();
            else
                box->button(pressed)->click();
        });
        EXPECT_EQ(platform.messageBox(" Could Not Find <x>", "Tabbern 5.2", buttons), answer);
    }
}

TEST(QtPlatformAutostart, EntryIsWrittenReadBackAndRemoved) {
    XdgHome home;
    QtPlatform platform(QStringList{});
    EXPECT_FALSE(platform.autostartEntry("Tabbern").has_value());
    const std::string command = "\"/opt/my apps/tabbern\" 100%\\";
    platform.writeAutostartEntry("Tabbern", command);
    const std::string path = home.config + "/autostart/Tabbern.desktop";
    const std::string file = ReadBytes(path);
    EXPECT_EQ(file.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line :
         {"\nType=Application\n", "\nName=Tabbern\n", "\nExec=\"/opt/my apps/tabbern\" 100%%\\\\\n",
          "\nX-GNOME-Autostart-enabled=true\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_EQ(platform.autostartEntry("Tabbern"), command);

    platform.removeAutostartEntry("Tabbern");
    EXPECT_FALSE(Exists(path));
    platform.removeAutostartEntry("Tabbern"); // absent: no error

    // Entries that start nothing count as absent.
    for (const char* entry : {"[Desktop Entry]\nType=Application\nName=Tabbern\n",
                              "[Desktop Entry]\nExec=/usr/bin/tabbern\nHidden=true\n"}) {
        WriteBytes(path, entry);
        EXPECT_FALSE(platform.autostartEntry("Tabbern").has_value()) << entry;
    }
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
    const QStringList schemes{"http", "https", "file"};
    for (const QString& scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    QtPlatform platform(QStringList{});
    EXPECT_TRUE(platform.shellOpen("https://example.org/a?b=c"));
    EXPECT_TRUE(platform.shellOpen("www.example.org/page"));
    EXPECT_FALSE(platform.shellOpen("file:///etc/passwd")); // a browser would, the core refuses
    for (const QString& scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    EXPECT_EQ(recorder.opened,
              (std::vector<QString>{"https://example.org/a?b=c", "http://www.example.org/page"}));
}

TEST(QtPlatformFetch, ReturnsTheBodyOrEmptyTextOnAnyFailureOrTooLongAnAnswer) {
    QtPlatform platform(QStringList{});
    LocalHttpServer server;
    platform.setFetchTimeoutMs(300);
    EXPECT_EQ(platform.fetchUrl(server.url("/ok")), "ok");
    for (const std::string& url : {server.url("/missing"), server.url("/long"), server.url("/slow"),
                                   std::string("file:///etc/hostname"), std::string("not a url")})
        EXPECT_EQ(platform.fetchUrl(url), "") << url;
}

const MakeFetcher kMakeQtFetcher = [] { return std::make_unique<QtLinkFetcher>(); };

void RunQtEventsBriefly() {
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(QtLinkFetcher, EachKindOfAnswerAndWhatTheRequestsSend) {
    CheckEachKindOfAnswer(kMakeQtFetcher, RunQtEventsBriefly);
}

TEST(QtLinkFetcher, NothingIsAnsweredAfterCancelOrDestruction) {
    CheckSilenceAfterCancelAndDestruction(kMakeQtFetcher, RunQtEventsBriefly);
}

using CheckLinksWindow = StartedProgram;

TEST_F(CheckLinksWindow, ChecksAgainstALocalServerWhileTheMainWindowStaysInUse) {
    // A refused connection is the fetcher's test's; /slow keeps the check running for a while.
    LocalHttpServer server;
    const std::string live = server.url("/ok"), missing = server.url("/missing"),
                      found = server.url("/found"), slow = server.url("/slow");
    startWith({{"Live", "Work", live.c_str()},
               {"Missing", "Work", missing.c_str()},
               {"Found", "Work", found.c_str()},
               {"Slow", "Work", slow.c_str()}});
    app->linkCheck.limits.timeoutSeconds = 1;

    host->runEvent([this] { app->main.menuchecklinks.click(); });
    QtFormWindow* window = windowOf(app->frmCheckLinks);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // A click in the main window's list still selects, as no modal window would let it.
    auto* list = widget<QListWidget>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(app->main.List1.listIndex(), 2);

    auto* bar = in<QProgressBar>(window, "ProgressBar1");
    EXPECT_EQ(bar->maximum(), 4);
    QTRY_VERIFY_WITH_TIMEOUT(!app->linkCheck.check->running(), 20000);
    EXPECT_EQ(bar->value(), 4);
    // The rows' wording and the data files left alone are the core's to show; here the window
    // lists the two failures, and the answers the real fetches brought are remembered.
    EXPECT_EQ(in<QListWidget>(window, "List1")->count(), 2);
    const std::string chk = ReadBytes(app->dataFolder + "/tabbern.chk");
    for (const std::string& line :
         {live + "\t200\t" + live + "\t", missing + "\t404\t" + missing + "\t",
          found + "\t200\t" + live + "\t", slow + "\ttimeout\t" + slow + "\t"})
        EXPECT_NE(chk.find(line), std::string::npos) << line;
}

} // namespace
} // namespace tabbern::test

#include "QtPlatformTest.moc"
