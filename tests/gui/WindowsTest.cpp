// The program's windows as real widgets: every window built from its layout table, the menus
// bound to their models, the main window's controls forwarding the user's input once and
// rendering the models without running a handler, and the window's place and state.
#include "GuiTestSupport.h"

#include "app/Exit.h"
#include "platform/qt/StopRequests.h"

#include <QCoreApplication>
#include <QEvent>

namespace tabbern::test {
namespace {

int Px(int twips) {
    return qRound(twips / 15.0);
}

using Windows = StartedProgram;

// Each window as its showing renders it: fixed at its table's size, each control where the
// table (and the core's arrangement of the moment) puts it, no button that Enter typed
// elsewhere could press, and in the dialogs every control on the window, none overlapping
// another, and every label's text whole.
TEST_F(Windows, LieAsTheirLayoutTablesSay) {
    const auto check = [this](Form& form) {
        asShown(form, [&](QtFormWindow* window) {
            const FormLayout layout = LayoutOf(*app, form);
            QWidget* client = window->clientArea();
            EXPECT_EQ(client->size(), QSize(Px(layout.clientWidth), Px(layout.clientHeight)));
            EXPECT_EQ(window->minimumSize(), window->maximumSize());

            std::map<std::string, TwipRect> rects;
            for (const Placement& p : layout.controls)
                if (form.findControl(p.name))
                    rects[p.name] = p.rect;
            ArrangePlaces(*app, form, [&](const char* c, const TwipRect& r) { rects[c] = r; });
            for (const auto& [name, rect] : rects) {
                auto* w = client->findChild<QWidget*>(QString::fromStdString(name),
                                                      Qt::FindDirectChildrenOnly);
                ASSERT_NE(w, nullptr) << name;
                EXPECT_EQ(w->geometry(),
                          QRect(Px(rect.left), Px(rect.top), Px(rect.width), Px(rect.height)))
                    << name;
            }
            std::vector<QWidget*> onTop; // everything but the background picture
            for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!w->isHidden() && w->objectName() != QStringLiteral("Picture1"))
                    onTop.push_back(w);
            for (QWidget* w : onTop) {
                const std::string name = w->objectName().toStdString();
                auto* button = qobject_cast<QPushButton*>(w);
                EXPECT_FALSE(button && (button->isDefault() || button->autoDefault())) << name;
                // The main window keeps the places it was designed with, where the detail rows
                // share their space.
                if (&form == &app->main)
                    continue;
                EXPECT_TRUE(client->rect().contains(w->geometry())) << name;
                for (QWidget* other : onTop)
                    EXPECT_TRUE(w == other || !w->geometry().intersects(other->geometry()))
                        << name << " " << other->objectName().toStdString();
                if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
                    const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                         : label->sizeHint().height();
                    EXPECT_LE(needed, label->height()) << name;
                    EXPECT_TRUE(label->wordWrap() || label->sizeHint().width() <= label->width())
                        << name;
                }
            }
        });
    };
    // A web address too long for the assign dialog's two lines is shortened in the middle.
    start();
    app->frmAssignName.Label3.setCaption("https://docs.example/" + std::string(200, 'x') + "/end");
    for (Form* form : forms())
        check(*form);
    auto* link = in<QLabel>(windowOf(app->frmAssignName), "Label3");
    const QStringList lines = link->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("https://docs.example/") && lines[1].endsWith("/end") &&
                lines[1].contains(QChar(0x2026)));
    for (const QString& line : lines)
        EXPECT_LE(link->fontMetrics().horizontalAdvance(line), link->width());
    // The confirmation's list gives room to the clipboard import's name and group boxes.
    showClipboardBoxes();
    check(app->frmAddConfirm);
}

TEST_F(Windows, MenusFollowTheirModelsAndTheCoreOwnsTheTicks) {
    start();
    MainForm& m = app->main;
    // The sort orders and the options carry ticks; the commands, the data folder's among them,
    // do not.
    for (const char* toggle : {"menusortbyname", "menuloadminimized"})
        EXPECT_TRUE(widget<QAction>(toggle)->isCheckable()) << toggle;
    for (const char* command : {"menusetdata", "menuaddname"})
        EXPECT_FALSE(widget<QAction>(command)->isCheckable()) << command;

    // A handler that ticks nothing: the action's own flip does not stay.
    int clicks = 0;
    m.menusortbyurl.onClick = [&] { ++clicks; };
    QAction* byUrl = widget<QAction>("menusortbyurl");
    const bool before = byUrl->isChecked();
    byUrl->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(byUrl->isChecked(), before);

    host->runEvent([&m, before] {
        m.menusortbyurl.setChecked(!before);
        m.menuaddname.setCaption("&Add");
        m.menusetdata.setEnabled(false);
        m.menunames.setEnabled(false);
        m.menuquit.setVisible(false);
    });
    EXPECT_EQ(byUrl->isChecked(), !before);
    EXPECT_EQ(widget<QAction>("menuaddname")->text(), QStringLiteral("&Add"));
    EXPECT_FALSE(widget<QAction>("menusetdata")->isEnabled());
    EXPECT_FALSE(widget<QMenu>("menunames")->menuAction()->isEnabled());
    EXPECT_FALSE(widget<QAction>("menuquit")->isVisible());
}

// Qt turns the session manager's last word into the application's quit.
TEST_F(Windows, TheSessionsQuitEndsTheProgramOnceTheStartUpIsDone) {
    start();
    StopRequests stops(*host, [this] { MainForm_Unload(*app); });
    // In the notification area: no window is left for Qt to close.
    host->runEvent([this] { host->hideForm(app->main); });
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    EXPECT_EQ(processEnds, 0);
    stops.startUpDone();
    EXPECT_EQ(processEnds, 1);
}

TEST_F(Windows, PlaceAndStateFollowTheModelAndTheUser) {
    start();
    MainForm& m = app->main;
    host->runEvent([&m] { m.move(300 * 15, 200 * 15); });
    EXPECT_EQ(view->frameGeometry().topLeft(), QPoint(300, 200));

    // Moved by the user: the model follows, and the next render does not move it back.
    view->move(310, 220);
    EXPECT_EQ(QPoint(m.left(), m.top()), QPoint(310 * 15, 220 * 15));
    EXPECT_EQ(m.height(), view->frameGeometry().height() * 15);
    host->renderAll();
    EXPECT_EQ(view->frameGeometry().topLeft(), QPoint(310, 220));

    view->showMinimized();
    EXPECT_EQ(m.windowState(), WindowState::Minimized);
    host->runEvent([&m, this] {
        m.setWindowState(WindowState::Normal);
        host->applyWindowState(m);
    });
    EXPECT_FALSE(view->isMinimized());
    EXPECT_EQ(m.windowState(), WindowState::Normal);
}

// ---- the main window's controls ----------------------------------------------------------------

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
            m.Combo1.clear();
            for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"})
                m.List1.addItem(name);
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

TEST_F(MainWindowInput, ASelectionFromCodeIsShownWithoutASecondClick) {
    host->runEvent([this] {
        app->main.List1.setListIndex(2);
        app->main.Combo1.setListIndex(1);
    });
    // The models' own clicks ran once each; rendering the selections ran none.
    EXPECT_EQ(events, (std::vector<std::string>{"click Gamma", "group Home"}));
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Home"));
    host->runEvent([this] { app->main.List1.setListIndex(-1); });
    EXPECT_EQ(list->currentRow(), -1);
}

TEST_F(MainWindowInput, ClicksArrowKeysAndDoubleClicksReachTheListOnceEach) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(app->main.List1.listIndex(), 1);
    // Clicking the selected entry again is a click too.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(app->main.List1.listIndex(), 2);
    // A double-click comes after one click.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(events, (std::vector<std::string>{"click Beta", "click Beta", "click Gamma",
                                                "click Alpha", "dblclick"}));
}

TEST_F(MainWindowInput, GroupSelectorForwardsChoicesTypingAndEnter) {
    // A keyboard sends its keys to the focus widget, which for an editable combo box is the
    // combo box itself, not its line edit.
    combo->setFocus();
    ASSERT_EQ(focused(), combo);
    press(Qt::Key_Down);
    EXPECT_EQ(app->main.Combo1.listIndex(), 1);

    combo->lineEdit()->selectAll();
    type("Wk");
    EXPECT_EQ(app->main.Combo1.text(), "Wk");
    EXPECT_EQ(app->main.Combo1.listIndex(), -1);
    // Typing inside the text keeps the cursor there: the render leaves an unchanged text alone.
    press(Qt::Key_Left);
    type("or");
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 3);
    press(Qt::Key_Return);
    EXPECT_EQ(app->main.Combo1.text(), "Work");
    // Neither Enter nor leaving the box chooses the entry whose name was typed.
    widget<QLineEdit>("TextNameSearch")->setFocus();
    EXPECT_EQ(events, (std::vector<std::string>{"group Home", "key 13"}));
    EXPECT_EQ(combo->count(), 3);
}

TEST_F(MainWindowInput, TheSearchBoxButtonAndLabelsForwardTheirInput) {
    int finds = 0;
    int folderChanges = 0;
    MainForm& m = app->main;
    m.Command2.onClick = [&] { ++finds; };
    m.TextNameSearch.onKeyPress = [this](int key) {
        events.push_back("search " + std::to_string(key));
    };
    m.lblAltDatapath.onDblClick = [&] { ++folderChanges; };
    auto* search = widget<QLineEdit>("TextNameSearch");
    QTest::keyClicks(search, "gama");
    // As in the group box: typing inside the text keeps the cursor there.
    QTest::keyClick(search, Qt::Key_Left);
    QTest::keyClicks(search, "m");
    EXPECT_EQ(m.TextNameSearch.text(), "gamma");
    EXPECT_EQ(search->cursorPosition(), 4);
    QTest::keyClick(search, Qt::Key_Return);
    QTest::mouseClick(widget<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(events, std::vector<std::string>{"search 13"});

    // A label takes double-clicks only while enabled.
    auto* label = widget<QLabel>("lblAltDatapath");
    QTest::mouseDClick(label, Qt::LeftButton);
    host->runEvent([&m] { m.lblAltDatapath.setEnabled(false); });
    QTest::mouseDClick(label, Qt::LeftButton);
    EXPECT_EQ(folderChanges, 1);
}

// Also where the box has the focus already, as after a refusal of what was typed there.
TEST_F(MainWindowInput, FocusGoesWhereTheCoreAsksAndTypingReplacesTheText) {
    MainForm& m = app->main;
    widget("TextNameSearch")->setFocus();
    type("ab");
    host->runEvent([&m] {
        m.TextNameSearch.setText("gamma");
        m.setFocusedControl("TextNameSearch");
    });
    type("delta");
    EXPECT_EQ(m.TextNameSearch.text(), "delta");
    combo->setFocus();
    type("ab");
    host->runEvent([&m] {
        m.Combo1.setText("Home");
        m.setFocusedControl("Combo1");
    });
    type("Work");
    EXPECT_EQ(m.Combo1.text(), "Work");
    host->runEvent([&m] { m.setFocusedControl("List1"); });
    EXPECT_TRUE(list->hasFocus());
}

} // namespace
} // namespace tabbern::test
