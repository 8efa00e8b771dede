// The link check in the real program against a web server of the test's own on 127.0.0.1: the
// main window stays in use while it runs, the window's bar shows what the model says, and what
// came back is remembered while the data files stay as they were.
#include "GuiTestSupport.h"
#include "support/LocalHttpServer.h"

#include <QLabel>
#include <QProgressBar>

namespace tabbern::test {
namespace {

class CheckLinksWindow : public StartedProgram {};

TEST_F(CheckLinksWindow, ChecksAgainstALocalServerWhileTheMainWindowStaysInUse) {
    LocalHttpServer server;
    const std::string closed =
        "http://127.0.0.1:" + std::to_string(LocalHttpServer::ClosedPort()) + "/";
    const std::string live = server.url("/ok"), missing = server.url("/missing"),
                      found = server.url("/found"), slow = server.url("/slow");
    startWith({{"Live", "Work", live.c_str()},
               {"Missing", "Work", missing.c_str()},
               {"Found", "Work", found.c_str()},
               {"Slow", "Work", slow.c_str()},
               {"Closed", "Work", closed.c_str()}});
    const std::string dataFolder = app->dataFolder;
    const std::string store = ReadBytes(dataFolder + "/tabbern.dat");
    app->linkCheck.limits.timeoutSeconds = 1;

    host->runEvent([this] { app->main.menuchecklinks.click(); });
    QtFormWindow* window = windowOf(app->frmCheckLinks);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // A click in the main window's list still selects, as if no other window were open.
    auto* list = widget<QListWidget>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(app->main.List1.listIndex(), 2);

    auto* bar = in<QProgressBar>(window, "ProgressBar1");
    EXPECT_EQ(bar->maximum(), 5);
    QTRY_VERIFY_WITH_TIMEOUT(!app->linkCheck.check->running(), 20000);
    EXPECT_EQ(bar->value(), 5);
    EXPECT_EQ(in<QLabel>(window, "Label1")->text().toStdString(),
              app->frmCheckLinks.Label1.caption());
    const std::string dash = "  \u2014  ";
    // In the order the answers came, which the server's timing decides.
    QStringList rows = Items(in<QListWidget>(window, "List1"));
    rows.sort();
    EXPECT_EQ(rows, (QStringList{
                        QString::fromStdString("Closed" + dash + closed + dash + "refused"),
                        QString::fromStdString("Missing" + dash + missing + dash + "404 Not Found"),
                        QString::fromStdString("Slow" + dash + slow + dash + "no answer in 1 s")}));

    const std::string chk = ReadBytes(dataFolder + "/tabbern.chk");
    for (const std::string& line :
         {live + "\t200\t" + live + "\t", missing + "\t404\t" + missing + "\t",
          found + "\t200\t" + live + "\t", slow + "\ttimeout\t" + slow + "\t",
          closed + "\trefused\t" + closed + "\t"})
        EXPECT_NE(chk.find(line), std::string::npos) << line;
    EXPECT_EQ(ReadBytes(dataFolder + "/tabbern.dat"), store);
}

} // namespace
} // namespace tabbern::test
