// The real main window, started the way the program starts: the files start-up leaves, the
// window's looks, and the binding of widgets to models in both directions.
#include "GuiTestSupport.h"

#include "app/Exit.h"
#include "platform/qt/StopRequests.h"
#include "ui/MainForm.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace tabbern::test {
namespace {

using MainWindow = StartedProgram;

TEST_F(MainWindow, StartUpLeavesTheProgramFilesInTheDataHome) {
    start();
    const std::string folder = home.programFolder();
    EXPECT_TRUE(Exists(folder + "/tabbern.dat"));
    EXPECT_TRUE(Exists(folder + "/tabbern.grp"));
    ASSERT_TRUE(Exists(folder + "/tabbern.cfg"));
    EXPECT_EQ(ReadBytes(folder + "/tabbern.cfg").size(), 128u);
    EXPECT_EQ(ReadBytes(folder + "/tabbern.run"), "Tabbern\r\n");
    EXPECT_EQ(app->dataFolder, folder);
    EXPECT_EQ(processEnds, 0);
}

TEST_F(MainWindow, IsShownWithItsCaptionIconAndFixedClientArea) {
    start();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral(" Tabbern 5.2"));
    EXPECT_FALSE(view->windowIcon().isNull());
    EXPECT_EQ(view->clientArea()->size(), QSize(250, 495));
    // The layout is absolute: the window cannot be resized.
    EXPECT_EQ(view->minimumSize(), view->maximumSize());

    for (const char* name : {"Picture1", "lblAltDatapath", "Label1", "Combo1", "List1",
                             "TextNameSearch", "Command2", "LabelLastAccessed", "lblDateAccessed",
                             "Label2", "lblWhatGroup", "LabelShowURLAddress"}) {
        SCOPED_TRACE(name);
        QWidget* w = widget<QWidget>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), view->clientArea());
        const TwipRect* r = MainForm::layoutOf(name);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(w->geometry(), QRect(qRound(r->left / 15.0), qRound(r->top / 15.0),
                                       qRound(r->width / 15.0), qRound(r->height / 15.0)));
    }
    EXPECT_FALSE(widget<QLabel>("Picture1")->pixmap().isNull());
    EXPECT_EQ(widget<QLabel>("Label1")->text(), QStringLiteral("My Groups"));
    EXPECT_EQ(widget<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_FALSE(widget<QPushButton>("Command2")->icon().isNull());
}

TEST_F(MainWindow, DataFolderLabelShowsWhatTheModelSays) {
    start();
    const QLabel* label = widget<QLabel>("lblAltDatapath");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(),
              QStringLiteral("   %1 ").arg(QString::fromStdString(home.programFolder())));
    EXPECT_EQ(label->toolTip(), QString::fromStdString(app->main.lblAltDatapath.toolTip()));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_TRUE(label->autoFillBackground());
}

TEST_F(MainWindow, MenuBarCarriesTheMenusWithTheirAccessKeys) {
    start();
    std::vector<QString> captions;
    for (QAction* a : view->findChild<QMenuBar*>()->actions())
        captions.push_back(a->text());
    EXPECT_EQ(captions,
              (std::vector<QString>{"&Bookmarks", "&Groups", "&Share", "&Options", "&Help"}));
    EXPECT_EQ(QKeySequence::mnemonic(captions[0]), QKeySequence(Qt::ALT | Qt::Key_B));

    const QMenu* bookmarks = widget<QMenu>("menunames");
    ASSERT_NE(bookmarks, nullptr);
    const QList<QAction*> items = bookmarks->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("menuaddname"));
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Add A Bookmark"));
    ASSERT_NE(items[3]->menu(), nullptr);
    EXPECT_EQ(items[3]->menu()->actions().size(), 4);
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5]->text(), QStringLiteral("E&xit"));

    // The toggles carry ticks; the data-folder command is no toggle.
    EXPECT_TRUE(widget<QAction>("menusortbyurl")->isCheckable());
    EXPECT_TRUE(widget<QAction>("menuloadminimized")->isCheckable());
    EXPECT_FALSE(widget<QAction>("menusetdata")->isCheckable());
    EXPECT_FALSE(widget<QAction>("menuaddname")->isCheckable());
}

TEST_F(MainWindow, TheCoreOwnsTheTicks) {
    start();
    MainForm& m = app->main;
    QAction* byName = widget<QAction>("menusortbyname");
    QAction* byUrl = widget<QAction>("menusortbyurl");
    ASSERT_TRUE(byName && byUrl);

    // A handler that ticks nothing: the action's own flip must not stay.
    int clicks = 0;
    m.menusortbyurl.onClick = [&] { ++clicks; };
    const bool before = m.menusortbyurl.checked();
    byUrl->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(byUrl->isChecked(), before);

    m.menusortbyurl.onClick = [&] {
        m.menusortbyname.setChecked(false);
        m.menusortbyurl.setChecked(true);
    };
    byUrl->trigger();
    EXPECT_TRUE(byUrl->isChecked());
    EXPECT_FALSE(byName->isChecked());
}

TEST_F(MainWindow, CommandLineSwitchesDisableTheirItems) {
    start({QStringLiteral("-X"), QStringLiteral("/Y")});
    EXPECT_FALSE(widget<QAction>("menuloadminimized")->isEnabled());
    EXPECT_FALSE(widget<QAction>("menusetdata")->isEnabled());
    EXPECT_FALSE(widget<QLabel>("lblAltDatapath")->isEnabled());
    EXPECT_TRUE(widget<QAction>("menuscreenlocation")->isEnabled());
    EXPECT_TRUE(widget<QComboBox>("Combo1")->isEnabled());
}

TEST_F(MainWindow, ADisabledTopMenuCannotBeOpened) {
    start({QStringLiteral("0a")});
    EXPECT_FALSE(widget<QMenu>("menunames")->menuAction()->isEnabled());
    EXPECT_FALSE(widget<QComboBox>("Combo1")->isEnabled());
    EXPECT_TRUE(widget<QMenu>("menugroup")->menuAction()->isEnabled());
}

TEST_F(MainWindow, CloseBoxRunsTheExitSequenceWithoutAQuestion) {
    start();
    const std::string marker = home.programFolder() + "/tabbern.run";
    ASSERT_TRUE(Exists(marker));
    view->close();
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(Exists(marker));
}

TEST_F(MainWindow, TheSessionManagersQuitRunsTheExitSequenceOnceTheStartUpIsDone) {
    start();
    StopRequests stops(*host, [this] { MainForm_Unload(*app); });
    const std::string marker = home.programFolder() + "/tabbern.run";
    // In the notification area: no window is left for Qt to close.
    host->runEvent([this] { host->hideForm(app->main); });
    // Qt delivers the session manager's last word as the application's quit.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    EXPECT_EQ(processEnds, 0);
    EXPECT_TRUE(Exists(marker));
    stops.startUpDone();
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(Exists(marker));
}

TEST_F(MainWindow, ExitMenuAsksFirst) {
    start();
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    WhenModalShows([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    widget<QAction>("menuquit")->trigger();
    EXPECT_EQ(text, QStringLiteral("Exit Tabbern 5.2"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(processEnds, 0);

    WhenModalShows(
        [](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
    widget<QAction>("menuquit")->trigger();
    EXPECT_EQ(processEnds, 1);
}

// ---- the list, the group selector and the search box ------------------------------------------

class MainWindowInput : public StartedProgram {
protected:
    void SetUp() override {
        start();
        list = widget<QListWidget>("List1");
        combo = widget<QComboBox>("Combo1");
        ASSERT_TRUE(list && combo);
        MainForm& m = app->main;
        host->runEvent([&m] {
            m.List1.clear();
            for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"})
                m.List1.addItem(name);
            m.Combo1.clear();
            for (const char* group : {"All Groups", "Home", "Work"})
                m.Combo1.addItem(group);
        });
        m.List1.onClick = [this, &m] { events.push_back("click " + m.List1.selectedText()); };
        m.List1.onDblClick = [this] { events.push_back("dblclick"); };
        m.Combo1.onClick = [this, &m] { events.push_back("group " + m.Combo1.text()); };
        m.Combo1.onKeyPress = [this](int key) { events.push_back("key " + std::to_string(key)); };
    }

    QPoint rowCentre(int row) const { return list->visualItemRect(list->item(row)).center(); }

    QListWidget* list = nullptr;
    QComboBox* combo = nullptr;
    std::vector<std::string> events;
};

TEST_F(MainWindowInput, ListShowsTheModelAndSelectionFromCodeRunsNoSecondClick) {
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("Delta"));
    host->runEvent([this] { app->main.List1.setListIndex(2); });
    // The model's own click ran once; rendering the selection ran none.
    EXPECT_EQ(events, (std::vector<std::string>{"click Gamma"}));
    EXPECT_EQ(list->currentRow(), 2);

    host->runEvent([this] { app->main.List1.setListIndex(-1); });
    EXPECT_EQ(list->currentRow(), -1);
}

TEST_F(MainWindowInput, ClicksAndArrowKeysSelectThroughTheModel) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(app->main.List1.listIndex(), 1);
    // Clicking the selected entry again is a click too.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(app->main.List1.listIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"click Beta", "click Beta", "click Gamma"}));
}

TEST_F(MainWindowInput, DoubleClickComesAfterOneClick) {
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(events, (std::vector<std::string>{"click Alpha", "dblclick"}));
}

TEST_F(MainWindowInput, GroupSelectorForwardsChoicesTypingAndEnter) {
    QLineEdit* edit = combo->lineEdit();
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(app->main.Combo1.listIndex(), 1);

    edit->selectAll();
    QTest::keyClicks(edit, "Wk");
    EXPECT_EQ(app->main.Combo1.text(), "Wk");
    EXPECT_EQ(app->main.Combo1.listIndex(), -1);
    // Typing inside the text keeps the cursor there: the render leaves an unchanged text alone.
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClicks(edit, "or");
    EXPECT_EQ(edit->cursorPosition(), 3);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(app->main.Combo1.text(), "Work");
    // Typing an entry's name, pressing Enter or leaving the box is no choice of that entry.
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    edit->setFocus();
    widget<QLineEdit>("TextNameSearch")->setFocus();
    EXPECT_EQ(events, (std::vector<std::string>{"group Home", "key 13"}));
    EXPECT_EQ(combo->count(), 3);
}

TEST_F(MainWindowInput, EnterTypedAtTheFocusedGroupSelectorReachesTheCore) {
    // A keyboard sends its keys to the focus widget, which for an editable combo box is the
    // combo box itself, not its line edit.
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    combo->setFocus();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(focused, "Garden");
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_EQ(app->main.Combo1.text(), "Garden");
    EXPECT_EQ(events, (std::vector<std::string>{"key 13"}));
    EXPECT_EQ(combo->count(), 3);
}

TEST_F(MainWindowInput, SearchBoxAndFindButtonForwardInput) {
    int finds = 0;
    app->main.Command2.onClick = [&] { ++finds; };
    app->main.TextNameSearch.onKeyPress = [this](int key) {
        events.push_back("search key " + std::to_string(key));
    };
    auto* search = widget<QLineEdit>("TextNameSearch");
    QTest::keyClicks(search, "gamma");
    EXPECT_EQ(app->main.TextNameSearch.text(), "gamma");
    QTest::mouseClick(widget<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(finds, 1);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(events, (std::vector<std::string>{"search key 13"}));

    // A text set by the core reaches the box.
    host->runEvent([this] { app->main.TextNameSearch.setText(""); });
    EXPECT_TRUE(search->text().isEmpty());
}

TEST_F(MainWindowInput, DataFolderLabelTakesDoubleClicksOnlyWhileEnabled) {
    int changes = 0;
    app->main.lblAltDatapath.onDblClick = [&] { ++changes; };
    auto* label = widget<QLabel>("lblAltDatapath");
    QTest::mouseDClick(label, Qt::LeftButton);
    EXPECT_EQ(changes, 1);
    host->runEvent([this] { app->main.lblAltDatapath.setEnabled(false); });
    QTest::mouseDClick(label, Qt::LeftButton);
    EXPECT_EQ(changes, 1);
}

TEST_F(MainWindowInput, FocusGoesWhereTheCoreAsksAndTypingReplacesTheBoxsText) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    // The text and the focus request come in one event.
    host->runEvent([this] {
        app->main.TextNameSearch.setText("gamma");
        app->main.setFocusedControl("TextNameSearch");
    });
    type("delta");
    EXPECT_EQ(app->main.TextNameSearch.text(), "delta");
    host->runEvent([this] { app->main.setFocusedControl("List1"); });
    EXPECT_TRUE(list->hasFocus());
}

// ---- the window as a window ---------------------------------------------------------------------

TEST_F(MainWindow, PositionAndStateFollowTheModelAndTheUser) {
    start();
    MainForm& m = app->main;
    host->runEvent([&m] { m.move(300 * 15, 200 * 15); });
    EXPECT_EQ(view->frameGeometry().topLeft(), QPoint(300, 200));

    // Moved by the user: the model follows, and the next render does not move it back.
    view->move(310, 220);
    EXPECT_EQ(m.left(), 310 * 15);
    EXPECT_EQ(m.top(), 220 * 15);
    EXPECT_EQ(m.height(), view->frameGeometry().height() * 15);
    host->renderAll();
    EXPECT_EQ(view->frameGeometry().topLeft(), QPoint(310, 220));

    view->showMinimized();
    EXPECT_EQ(m.windowState(), WindowState::Minimized);
    host->runEvent([&m, this] {
        m.setWindowState(WindowState::Normal);
        host->applyWindowState(m);
        EXPECT_FALSE(view->isMinimized());
    });
    EXPECT_EQ(m.windowState(), WindowState::Normal);
}

TEST_F(MainWindow, MessageBoxClosingIsNoActivationButShowingAgainIs) {
    start();
    int activations = 0;
    app->main.onActivate = [&] { ++activations; };
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    const int atStart = activations;

    WhenModalShows([](QWidget* w) { qobject_cast<QMessageBox*>(w)->accept(); });
    host->runEvent([this] { platform->messageBox("Hello", "Tabbern 5.2", MsgButtons::OK); });
    // As the window manager does, the focus goes back to the window under the box.
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    EXPECT_EQ(activations, atStart);

    host->runEvent([this] { host->hideForm(app->main); });
    host->runEvent([this] { host->showModeless(app->main); });
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    EXPECT_EQ(activations, atStart + 1);
}

} // namespace
} // namespace tabbern::test
