// The link check's window on a real desktop: it leaves the main window in use while the check
// runs, and its bar shows what the model says. Only the local machine's discard port is asked,
// where nothing listens.
#include "GuiTestSupport.h"

#include <QLabel>
#include <QProgressBar>

namespace tabbern::test {
namespace {

class CheckLinksWindow : public StartedProgram {};

TEST_F(CheckLinksWindow, LeavesTheMainWindowInUseAndShowsTheProgressOfTheModel) {
    startWith({{"One", "Work", "http://127.0.0.1:9/one"},
               {"Two", "Work", "http://127.0.0.1:9/two"},
               {"Three", "Work", "http://127.0.0.1:9/three"}});
    host->runEvent([this] { app->main.menuchecklinks.click(); });
    QtFormWindow* window = windowOf(app->frmCheckLinks);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    auto* bar = in<QProgressBar>(window, "ProgressBar1");
    EXPECT_EQ(bar->maximum(), 3);

    // A click in the main window's list still selects, as if no other window were open.
    auto* list = widget<QListWidget>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(app->main.List1.listIndex(), 2);

    QTRY_VERIFY_WITH_TIMEOUT(!app->linkCheck.check->running(), 20000);
    EXPECT_EQ(bar->value(), app->frmCheckLinks.ProgressBar1.value());
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(in<QLabel>(window, "Label1")->text().toStdString(),
              app->frmCheckLinks.Label1.caption());
    EXPECT_EQ(Items(in<QListWidget>(window, "List1")).size(), 3);
}

} // namespace
} // namespace tabbern::test
