// The Linux desktop's services as the program meets them: program facts, message boxes,
// autostart entries, the shell, file-dialog filters and web fetches.
#include "GuiTestSupport.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

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
    struct Case {
        MsgButtons buttons;
        B::StandardButtons shown;
        B::StandardButton pressed; // NoButton: closed through the frame
        MsgResult answer;
    };
    // clang-format off
    const Case cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.pressed));
        WhenModalShows([&c](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->standardButtons(), c.shown);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Tabbern 5.2"));
            EXPECT_EQ(box->text(), QStringLiteral(" Could Not Find <x>"));
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            if (c.pressed == B::NoButton)
                box->close();
            else
                box->button(c.pressed)->click();
        });
        EXPECT_EQ(platform.messageBox(" Could Not Find <x>", "Tabbern 5.2", c.buttons), c.answer);
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

} // namespace
} // namespace tabbern::test

#include "QtPlatformTest.moc"
