// The program's windows as real widgets: built from their layout tables and named as a sighted
// user reads them, menus bound to their models, controls that forward input once and render the
// models without running a handler, place, state and tray; the dialogs' close boxes, Escape,
// nested loops and activation, and the keyboard paths through them.
#include "GuiTestSupport.h"

#include "app/Exit.h"
#include "platform/qt/Resources.h"
#include "platform/qt/StopRequests.h"

#include <QAccessible>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>

namespace tabbern::test {
namespace {

int Px(int twips) {
    return qRound(twips / 15.0);
}

// The buttons, boxes and lists under an accessible object, depth first; the controls' own parts
// (a combo box's list, a list's entries) and the menus are not walked into.
void Controls(QAccessibleInterface* parent, std::vector<QAccessibleInterface*>& out) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        const QAccessible::Role role = child ? child->role() : QAccessible::MenuBar;
        if (role == QAccessible::PushButton || role == QAccessible::EditableText ||
            role == QAccessible::ComboBox || role == QAccessible::List)
            out.push_back(child);
        else if (role != QAccessible::MenuBar)
            Controls(child, out);
    }
}

class Windows : public StartedProgram {
protected:
    void SetUp() override { start(); }
};

// Each window as its showing renders it: fixed at its table's size, each control where the
// table (and the core's arrangement of the moment) puts it, no button that Enter typed
// elsewhere could press, and in the dialogs every control on the window, none overlapping
// another, and every label's text whole. And as a screen reader meets it: each button, box and
// list is named after what a sighted user reads for it (the label before it, which is its
// buddy, or the button's face or tooltip) and told what it acts on.
TEST_F(Windows, LieAsTheirLayoutTablesSayAndNameEachControlAsItReads) {
    const auto layoutOf = [this](Form& form, QtFormWindow* window) {
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
    };
    const auto namesOf = [this](Form& form, QtFormWindow* window) {
        std::vector<QAccessibleInterface*> found;
        Controls(QAccessible::queryAccessibleInterface(window), found);
        EXPECT_FALSE(found.empty());
        for (QAccessibleInterface* control : found) {
            auto* w = qobject_cast<QWidget*>(control->object());
            if (!w || !w->isVisibleTo(window))
                continue;
            const std::string name = w->objectName().toStdString();
            // On Linux a combo box's own name is the text it holds; its name is on the box
            // typed in, where the screen reader's focus goes.
            QAccessibleInterface* typedIn = control;
            if (control->role() == QAccessible::ComboBox)
                for (int i = 0; i < control->childCount(); ++i)
                    if (control->child(i)->role() == QAccessible::EditableText)
                        typedIn = control->child(i);
            const QString spoken = typedIn->text(QAccessible::Name);
            EXPECT_FALSE(spoken.isEmpty()) << name;
            // The label the core says captions the box is the box's buddy, and read for it;
            // else a button's face, else the tooltip.
            const Control* model = form.findControl(name);
            ASSERT_NE(model, nullptr) << name;
            auto* button = qobject_cast<QPushButton*>(w);
            QString read = button ? button->text().trimmed() : QString();
            if (read.isEmpty())
                read = w->toolTip().trimmed();
            if (const Label* caption = model->label()) {
                auto* label = in<QLabel>(window, caption->name().c_str());
                EXPECT_EQ(label->buddy(), w) << name;
                read = label->text().isEmpty() ? read : label->text();
            }
            EXPECT_TRUE(read.isEmpty() || spoken == read) << name << ": " << spoken.toStdString();
            // A label showing what the box acts on is read after its name.
            const Label* shows = model->describedBy();
            if (shows && shows->visible() && !shows->caption().empty()) {
                EXPECT_EQ(typedIn->text(QAccessible::Description),
                          QString::fromStdString(shows->caption()))
                    << name;
            }
        }
    };
    const auto check = [&](Form& form) {
        asShown(form, [&](QtFormWindow* window) {
            layoutOf(form, window);
            namesOf(form, window);
        });
    };
    // A web address too long for the assign dialog's two lines is shortened in the middle, and
    // the rename dialog's label tells which group it renames.
    host->runEvent([this] {
        app->frmAssignName.Label3.setCaption("https://docs.example/" + std::string(200, 'x') +
                                             "/end");
        app->frmEditGroupName.Label2.setCaption("<Work>");
    });
    for (Form* form : forms())
        check(*form);
    auto* link = in<QLabel>(windowOf(app->frmAssignName), "Label3");
    const QStringList lines = link->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2); // each fits, as the walk found
    EXPECT_TRUE(lines[0].startsWith("https://docs.example/") && lines[1].endsWith("/end") &&
                lines[1].contains(QChar(0x2026)));
    // The confirmation's list gives room to the clipboard import's name and group boxes, and
    // tells what it leaves out.
    host->runEvent([this] { showClipboardBoxes(); });
    check(app->frmAddConfirm);
    host->runEvent([this] {
        app->frmAddConfirm.Label3.setCaption("2 Bookmarks To Import. 1 Left Out.");
        app->frmAddConfirm.Label3.setVisible(true);
    });
    asShown(app->frmAddConfirm, [&](QtFormWindow* window) { namesOf(app->frmAddConfirm, window); });
}

// Tab goes through the buttons, boxes and lists that the window shows, in its table's order,
// and back to the first; each picture button looks different while it has the focus. The
// confirmation shows the boxes that name and group a link from the clipboard.
TEST_F(Windows, TabReachesEveryControlInTurnAndAFocusedPictureButtonShowsIt) {
    host->runEvent([this] { showClipboardBoxes(); });
    for (Form* form : forms()) {
        SCOPED_TRACE(form->name());
        QtFormWindow* window = windowOf(*form);
        form->onActivate = nullptr;
        if (form != &app->main)
            host->showModeless(*form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QStringList stops;
        for (const Placement& p : LayoutOf(*app, *form).controls) {
            const Control* c = form->findControl(p.name);
            auto* w = window->clientArea()->findChild<QWidget*>(QString::fromLatin1(p.name));
            if (c && w && !AccessibleName(*c).empty() && w->isVisibleTo(window))
                stops << w->objectName();
        }
        ASSERT_FALSE(stops.isEmpty());
        in(window, stops.first().toLatin1().constData())->setFocus(Qt::TabFocusReason);
        QStringList reached;
        std::map<QPushButton*, QImage> withFocus;
        for (qsizetype i = 0; i < stops.size(); ++i) {
            if (auto* button = qobject_cast<PictureButton*>(focused());
                button && !button->face().isNull())
                withFocus[button] = button->grab().toImage();
            press(Qt::Key_Tab);
            reached << focusedName();
        }
        stops.append(stops.takeFirst());
        EXPECT_EQ(reached, stops);
        for (const auto& [button, image] : withFocus) {
            button->clearFocus();
            EXPECT_TRUE(button->grab().toImage() != image) << button->objectName().toStdString();
        }
        if (form != &app->main)
            host->hideForm(*form);
    }
}

TEST_F(Windows, MenusFollowTheirModelsAndTheCoreOwnsTheTicks) {
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

using Tray = StartedProgram;

TEST_F(Tray, MinimisingHidesTheWindowIntoTheTrayWhoseClicksBringItBackInFront) {
    start(true);
    view->setWindowState(view->windowState() | Qt::WindowMinimized);
    EXPECT_FALSE(view->isVisible());
    // Which clicks restore it is the core's to say; the window must come back whole and in front.
    host->trayAction(QtPlatform::kTrayLeftDoubleClick);
    EXPECT_TRUE(!view->isMinimized() && QTest::qWaitForWindowActive(view));
}

TEST_F(Windows, PopupMenuRunsTheChosenCommandBeforeReturning) {
    int adds = 0;
    app->main.menuaddname.onClick = [&] { ++adds; };
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_A); // the access key of "&Add A Bookmark"
    });
    host->runEvent([&] {
        host->popupMenu(app->main.menunames);
        EXPECT_EQ(adds, 1);
    });
}

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
    // Clicking the selected entry again is a click too.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::keyClick(list, Qt::Key_Down);
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

    combo->lineEdit()->selectAll();
    type("Wk");
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
    MainForm& m = app->main;
    m.Command2.onClick = [this] { events.push_back("find"); };
    m.TextNameSearch.onKeyPress = [this](int k) {
        events.push_back("search " + std::to_string(k));
    };
    m.lblAltDatapath.onDblClick = [this] { events.push_back("folder"); };
    auto* search = widget<QLineEdit>("TextNameSearch");
    QTest::keyClicks(search, "gama");
    // As in the group box: typing inside the text keeps the cursor there.
    QTest::keyClick(search, Qt::Key_Left);
    QTest::keyClicks(search, "m");
    EXPECT_EQ(m.TextNameSearch.text(), "gamma");
    EXPECT_EQ(search->cursorPosition(), 4);
    QTest::keyClick(search, Qt::Key_Return);
    QTest::mouseClick(widget<QPushButton>("Command2"), Qt::LeftButton);

    // A label takes double-clicks only while enabled.
    auto* label = widget<QLabel>("lblAltDatapath");
    QTest::mouseDClick(label, Qt::LeftButton);
    host->runEvent([&m] { m.lblAltDatapath.setEnabled(false); });
    QTest::mouseDClick(label, Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"search 13", "find", "folder"}));
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

class Dialogs : public StartedProgram {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->setText(QString());
        startWith({{"Alpha", "Home", "http://alpha.example/"},
                   {"Beta", "Work", "http://beta.example/"},
                   {"Gamma", "Work", "http://gamma.example/"}});
    }

    // Runs the script inside the modal dialog once it is active; one left open fails and is
    // closed. The focus goes back to the main window, as the window manager gives it back.
    void inModal(Form& form, std::function<void()> script) {
        WhenModalShows([this, &form, script = std::move(script)](QWidget* modal) {
            QtFormWindow* dialog = windowOf(form);
            EXPECT_EQ(modal, dialog);
            if (QTest::qWaitForWindowActive(dialog))
                script();
            else
                ADD_FAILURE() << "the dialog never became active";
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                host->hideForm(form);
            }
            view->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(view));
        });
    }

    // Chooses a group in the selector, as the user's choice does.
    void chooseGroup(const char* group) {
        ComboBox& box = app->main.Combo1;
        const auto at = std::ranges::find(box.items(), group) - box.items().begin();
        host->runEvent([&] { box.setListIndex(static_cast<int>(at)); });
    }

    StrayMessageBoxes strayBoxes;
};

TEST_F(Dialogs, TheCloseBoxAndEscapeCancelEveryDialogButOnlyTheMainWindowsCloseBoxEndsTheProgram) {
    const std::vector<Form*> all = forms();
    for (Form* form : std::vector<Form*>(all.begin() + 1, all.end())) {
        SCOPED_TRACE(form->name());
        for (bool escape : {true, false}) {
            host->showModeless(*form);
            QtFormWindow* window = windowOf(*form);
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            escape ? press(Qt::Key_Escape) : (void)window->close();
            EXPECT_FALSE(window->isVisible() || form->visible());
        }
    }
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    press(Qt::Key_Escape);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(processEnds, 0);
    view->close();
    EXPECT_EQ(processEnds, 1);
}

// A message box over a modal dialog is no activation of it, and the dialog's loop ends with the
// dialog; shown again at once, in one event, while the window system still gives it the focus,
// it is activated again.
TEST_F(Dialogs, ActivationCountsShowingsNotMessageBoxesOverTheDialog) {
    Form& about = app->frmAbout;
    QtFormWindow* window = windowOf(about);
    int activations = 0;
    about.onActivate = [&] { ++activations; };
    bool returned = false;
    // Every path ends by hiding the dialog, so that a failure cannot leave the test waiting.
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        EXPECT_FALSE(returned);
        WhenModalShows([](QWidget* w) {
            ASSERT_TRUE(qobject_cast<QMessageBox*>(w));
            w->close();
        });
        host->runEvent([&] { platform->messageBox("Please Enter A URL", "", MsgButtons::OK); });
        // As the window manager does, the focus goes back to the dialog.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        host->runEvent([&] { host->hideForm(about); });
    });
    host->runEvent([&] {
        host->showModal(about);
        returned = true;
    });
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(activations, 1);

    host->showModeless(about);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    host->runEvent([&] {
        host->hideForm(about);
        host->showModeless(about);
    });
    EXPECT_EQ(activations, 3);
    host->hideForm(about);
}

TEST_F(Dialogs, EnterMovesThroughTheAddDialogAndTypingReplacesWhatEachBoxOffers) {
    QGuiApplication::clipboard()->setText(QStringLiteral("https://clip.example/x"));
    QtFormWindow* dialog = windowOf(app->frmAddName);
    QString offered;
    std::vector<QString> focusPath; // Enter pressing a button would close the dialog early
    inModal(app->frmAddName, [&] {
        offered = in<QLineEdit>(dialog, "Text3")->text();
        press(Qt::Key_Return, Qt::ControlModifier); // no Enter: the focus stays
        focusPath.push_back(focusedName());
        for (const char* text : {"Example Site", "Reading", "example.org/page"}) {
            type(text);
            press(Qt::Key_Return);
            focusPath.push_back(focusedName());
        }
        press(Qt::Key_Return);
    });
    widget<QAction>("menuaddname")->trigger();

    EXPECT_EQ(offered, QStringLiteral("https://clip.example/x"));
    EXPECT_EQ(focusPath, (std::vector<QString>{"Text1", "Combo1", "Text3", "Command1"}));
    // The group box offered the first group and the URL box the clipboard's address: the focus
    // that Enter moved there selected them, and typing replaced them.
    EXPECT_EQ(widget<QComboBox>("Combo1")->currentText(), QStringLiteral("Reading"));
    EXPECT_EQ(widget<QLabel>("LabelShowURLAddress")->text().trimmed(),
              QStringLiteral("www.example.org/page"));
}

TEST_F(Dialogs, TheModelessRenameDialogIsActivatedByEverySwitchToIt) {
    chooseGroup("Home");
    widget<QAction>("menueditselectedgroup")->trigger();
    QtFormWindow* dialog = windowOf(app->frmEditGroupName);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(in<QLabel>(dialog, "Label2")->text(), QStringLiteral("<Home>"));
    EXPECT_EQ(focusedName(), QStringLiteral("Text3"));

    // The user goes back to the main window, chooses another group and returns.
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    chooseGroup("Work");
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(in<QLabel>(dialog, "Label2")->text(), QStringLiteral("<Work>"));
    host->hideForm(app->frmEditGroupName);
}

// The links of a text file, each named in the assign dialog that runs its own loop inside the
// confirmation's: the focused Assign button is pressed with Enter, then with Space, and the
// third link's close box ends the import.
TEST_F(Dialogs, TheLinksOfAFileAreNamedInDialogsNestedInTheConfirmation) {
    const std::string page = home.temp.file("links.html");
    WriteBytes(page, "<p>https://docs.example/a http://old.example/ www.never.example/</p>\r\n");
    platform->setOpenFileDialogHook([&page](const FileDialogRequest&) { return page; });
    Form& assign = app->frmAssignName;
    QtFormWindow* dialog = windowOf(assign);
    std::vector<QString> focusPath;
    const auto nameIt = [&](const char* name, const char* group, Qt::Key pressKey) {
        for (const char* text : {name, group}) {
            focusPath.push_back(focusedName());
            type(text);
            press(Qt::Key_Return);
        }
        focusPath.push_back(focusedName());
        press(pressKey);
    };
    inModal(app->frmAddConfirm, [&] {
        inModal(assign, [&] {
            inModal(assign, [&] {
                inModal(assign, [&] {
                    type("Never Stored");
                    dialog->close();
                });
                nameIt("Old Site", "Work", Qt::Key_Space);
            });
            nameIt("Docs", "Reference", Qt::Key_Return);
        });
        QTest::mouseClick(in<QPushButton>(windowOf(app->frmAddConfirm), "Command1"),
                          Qt::LeftButton);
    });
    widget<QAction>("menuimportfromtextfile")->trigger();

    EXPECT_EQ(focusPath,
              (std::vector<QString>{"Text1", "Combo1", "Command1", "Text1", "Combo1", "Command1"}));
    const std::vector<std::string>& shown = app->main.List1.items();
    const auto has = [&shown](const char* name) { return std::ranges::count(shown, name) == 1; };
    EXPECT_TRUE(has("Docs") && has("Old Site") && !has("Never Stored"));
}

// The about box's title and web address take a click released over them while enabled, and
// its picture lies on the window's background colour.
TEST_F(Dialogs, TheAboutBoxsLinksTakeClicksAndItsPictureLiesOnItsColour) {
    std::vector<std::string> clicks;
    AboutForm& about = app->frmAbout;
    QtFormWindow* dialog = windowOf(about);
    about.lblTitle.onClick = [&] { clicks.push_back("title"); };
    about.Label2.onClick = [&] { clicks.push_back("address"); };
    inModal(about, [&] {
        auto* title = in<QLabel>(dialog, "lblTitle");
        auto* web = in<QLabel>(dialog, "Label2");
        EXPECT_EQ(web->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(title, Qt::LeftButton);
        QTest::mouseClick(web, Qt::LeftButton);
        // Pressed on the label but released off it is no click.
        QTest::mousePress(web, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(2, -30));
        host->runEvent([&] { about.Label2.setEnabled(false); });
        QTest::mouseClick(web, Qt::LeftButton);
        EXPECT_NE(web->cursor().shape(), Qt::PointingHandCursor);

        // The card's ribbon, and the highlight colour in the corner the card leaves free.
        const QImage shown = dialog->grab().toImage();
        const QImage picture = tabbernBitmap(102).toImage();
        EXPECT_EQ(shown.pixelColor(383, 30), picture.pixelColor(383, 30));
        EXPECT_EQ(shown.pixelColor(0, 0), QApplication::palette().color(QPalette::Highlight));
        host->runEvent([&] { host->hideForm(about); });
    });
    widget<QAction>("menuabout")->trigger();
    EXPECT_EQ(clicks, (std::vector<std::string>{"title", "address"}));
}

TEST_F(Dialogs, TheHelpIsReadOnlyAndScrolledByTheKeyboard) {
    QtFormWindow* dialog = windowOf(app->frmHelp);
    inModal(app->frmHelp, [&] {
        auto* text = in<QPlainTextEdit>(dialog, "Text1");
        const QString shown = text->toPlainText();
        text->setFocus();
        QTest::keyClick(text, Qt::Key_PageDown);
        EXPECT_GT(text->verticalScrollBar()->value(), 0);
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        EXPECT_TRUE(text->viewport()->rect().contains(text->cursorRect()));
        QTest::keyClicks(text, "typed");
        EXPECT_EQ(text->toPlainText(), shown);
        QTest::mouseClick(in<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    });
    widget<QAction>("helpdocument")->trigger();
}

} // namespace
} // namespace tabbern::test
