// The link check on Qt against a web server of the test's own on 127.0.0.1: the fetcher held to
// the facts every fetcher must show, and in the real program the main window stays in use while
// it runs, the window's bar shows what the model says, and what came back is remembered.
#include "GuiTestSupport.h"
#include "platform/qt/QtLinkFetcher.h"
#include "support/FetcherChecks.h"

#include <QEventLoop>
#include <QProgressBar>

namespace tabbern::test {
namespace {

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
    // The rows' wording and the data files left alone are the core's to show; here the window
    // lists the three failures, and the answers the real fetches brought are remembered.
    EXPECT_EQ(in<QListWidget>(window, "List1")->count(), 3);
    const std::string chk = ReadBytes(app->dataFolder + "/tabbern.chk");
    for (const std::string& line :
         {live + "\t200\t" + live + "\t", missing + "\t404\t" + missing + "\t",
          found + "\t200\t" + live + "\t", slow + "\ttimeout\t" + slow + "\t",
          closed + "\trefused\t" + closed + "\t"})
        EXPECT_NE(chk.find(line), std::string::npos) << line;
}

} // namespace
} // namespace tabbern::test
