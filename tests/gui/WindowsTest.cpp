// The program's windows as real widgets: laid out and named from their tables, menus, controls
// that forward input once and render without running a handler, place, state and tray; the
// dialogs' close boxes, Escape, nested loops, activation and keyboard paths.
#include "GuiTestSupport.h"

#include "app/Exit.h"
#include "platform/qt/StopRequests.h"

#include <QAccessible>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPlainTextEdit>

#include <algorithm>
#include <ranges>

namespace tabbern::test {
namespace {

int Px(int twips) {
    return qRound(twips / 15.0);
}

class Windows : public StartedProgram {
protected:
    void SetUp() override { start(); }
};

// Each window as shown: fixed at its table's size, each control where the table (and the core's
// arrangement) puts it, no button that Enter typed elsewhere could press, and in the dialogs
// every control inside, none overlapping, every label's text whole. Each button, box and list is
// named as a sighted user reads it (the label before it, its buddy; or its face or tooltip).
TEST_F(Windows, LieAsTheirLayoutTablesSayAndNameEachControlAsItReads) {
    const auto nameOf = [this](Form& form, QtFormWindow* window, QWidget* w) {
        const std::string name = w->objectName().toStdString();
        auto* button = qobject_cast<QPushButton*>(w);
        auto* combo = qobject_cast<QComboBox*>(w);
        // On Linux a combo box's own name is the text it holds; its name is on the box typed
        // in, where the screen reader's focus goes.
        QAccessibleInterface* typedIn =
            QAccessible::queryAccessibleInterface(combo ? combo->lineEdit() : w);
        const QString spoken = typedIn->text(QAccessible::Name);
        EXPECT_FALSE(spoken.isEmpty()) << name;
        const Control* model = form.findControl(name);
        ASSERT_NE(model, nullptr) << name;
        QString read = button ? button->text().trimmed() : QString();
        if (read.isEmpty())
            read = w->toolTip().trimmed();
        if (const Label* caption = model->label()) {
            auto* label = in<QLabel>(window, caption->name().c_str());
            EXPECT_EQ(label->buddy(), w) << name;
            read = label->text().isEmpty() ? read : label->text();
        }
        EXPECT_TRUE(read.isEmpty() || spoken == read) << name << ": " << spoken.toStdString();
        const Label* shows = model->describedBy();
        if (shows && shows->visible() && !shows->caption().empty()) {
            EXPECT_EQ(typedIn->text(QAccessible::Description),
                      QString::fromStdString(shows->caption()))
                << name;
        }
    };
    const auto check = [&](Form& form) {
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
            for (const auto& [name, r] : rects) {
                auto* w = client->findChild<QWidget*>(QString::fromStdString(name),
                                                      Qt::FindDirectChildrenOnly);
                ASSERT_NE(w, nullptr) << name;
                EXPECT_EQ(w->geometry(), QRect(Px(r.left), Px(r.top), Px(r.width), Px(r.height)))
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
                if (button || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                    qobject_cast<QAbstractScrollArea*>(w))
                    nameOf(form, window, w);
                // The main window keeps the places it was designed with, where the detail
                // rows share their space.
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
    // An address too long for the assign dialog's two lines; the group the rename dialog renames.
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
    // The confirmation's list makes room for what it leaves out, or for the clipboard's boxes.
    host->runEvent([this] {
        app->frmAddConfirm.GroupList.setVisible(false);
        app->frmAddConfirm.Label3.setCaption("2 Bookmarks To Import. 1 Left Out.");
        app->frmAddConfirm.Label3.setVisible(true);
    });
    check(app->frmAddConfirm);
    host->runEvent([this] {
        app->frmAddConfirm.Label3.setVisible(false);
        showClipboardBoxes();
    });
    check(app->frmAddConfirm);
}

// Tab goes through the buttons, boxes and lists shown, in table order, and back to the first;
// a picture button looks different while focused. The confirmation shows the clipboard's boxes.
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
    // The sort orders and the options carry ticks; commands, the data folder's too, do not.
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
    // Keys go to the focus widget: for an editable combo box, the box and not its line edit.
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

TEST_F(MainWindowInput, TheSearchBoxButtonAndLabelForwardTheirInput) {
    MainForm& m = app->main;
    m.Command2.onClick = [this] { events.push_back("find"); };
    m.TextNameSearch.onKeyPress = [this](int k) { events.push_back("key " + std::to_string(k)); };
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
    QTest::mouseDClick(widget<QLabel>("lblAltDatapath"), Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"key 13", "find", "folder"}));
}

// Also where the box has the focus already, as after a refusal of what was typed there.
TEST_F(MainWindowInput, FocusGoesWhereTheCoreAsksAndTypingReplacesTheText) {
    MainForm& m = app->main;
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
    for (Form* form : forms() | std::views::drop(1)) {
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

// A message box over a modal dialog is no activation of it; shown again in one event, while the
// window system still gives it the focus, the dialog is activated again.
TEST_F(Dialogs, ActivationCountsShowingsNotMessageBoxesOverTheDialog) {
    Form& about = app->frmAbout;
    QtFormWindow* window = windowOf(about);
    int activations = 0;
    about.onActivate = [&] { ++activations; };
    inModal(about, [&] {
        WhenModalShows([](QWidget* box) { box->close(); });
        host->runEvent([&] { platform->messageBox("Please Enter A URL", "", MsgButtons::OK); });
        // As the window manager does, the focus goes back to the dialog.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        host->runEvent([&] { host->hideForm(about); });
    });
    host->runEvent([&] { host->showModal(about); });
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
    std::vector<QString> focusPath; // Enter pressing a button would close the dialog early
    inModal(app->frmAddName, [&] {
        EXPECT_EQ(in<QLineEdit>(dialog, "Text3")->text(), QStringLiteral("https://clip.example/x"));
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

    EXPECT_EQ(focusPath, (std::vector<QString>{"Text1", "Combo1", "Text3", "Command1"}));
    // Enter's focus selected what the boxes offered (the first group, the clipboard's address).
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

// A text file's links, each named in an assign dialog looping inside the confirmation's: Enter
// presses the focused Assign button, and the second link's close box ends the import.
TEST_F(Dialogs, TheLinksOfAFileAreNamedInDialogsNestedInTheConfirmation) {
    const std::string page = home.temp.file("links.html");
    WriteBytes(page, "<p>https://docs.example/a www.never.example/</p>\r\n");
    platform->setOpenFileDialogHook([&page](const FileDialogRequest&) { return page; });
    Form& assign = app->frmAssignName;
    QtFormWindow* dialog = windowOf(assign);
    std::vector<QString> focusPath;
    inModal(app->frmAddConfirm, [&] {
        inModal(assign, [&] {
            inModal(assign, [&] {
                type("Never Stored");
                dialog->close();
            });
            for (const char* text : {"Docs", "Reference", ""}) {
                focusPath.push_back(focusedName());
                type(text);
                press(Qt::Key_Return);
            }
        });
        QTest::mouseClick(in<QPushButton>(windowOf(app->frmAddConfirm), "Command1"),
                          Qt::LeftButton);
    });
    widget<QAction>("menuimportfromtextfile")->trigger();

    EXPECT_EQ(focusPath, (std::vector<QString>{"Text1", "Combo1", "Command1"}));
    EXPECT_EQ(std::ranges::count(app->main.List1.items(), "Docs"), 1);
    EXPECT_EQ(std::ranges::count(app->main.List1.items(), "Never Stored"), 0);
}

// The about box's title and web address take a click released over them while enabled.
TEST_F(Dialogs, TheAboutBoxsLinksTakeClicksReleasedOverThemWhileEnabled) {
    std::vector<std::string> clicks;
    AboutForm& about = app->frmAbout;
    QtFormWindow* dialog = windowOf(about);
    about.lblTitle.onClick = [&] { clicks.push_back("title"); };
    about.Label2.onClick = [&] { clicks.push_back("address"); };
    inModal(about, [&] {
        auto* web = in<QLabel>(dialog, "Label2");
        QTest::mouseClick(in<QLabel>(dialog, "lblTitle"), Qt::LeftButton);
        QTest::mouseClick(web, Qt::LeftButton);
        // Pressed on the label but released off it is no click.
        QTest::mousePress(web, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(2, -30));
        host->runEvent([&] { about.Label2.setEnabled(false); });
        QTest::mouseClick(web, Qt::LeftButton);
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
