// The dialogs as real windows: their close boxes and Escape, the nested loops of the modal ones,
// activation (a message box over a dialog is none, switching to the modeless one is), and the
// keyboard paths through them: Enter moves the focus and presses no button but the focused one,
// and typing replaces the text a box was given.
#include "GuiTestSupport.h"

#include "platform/qt/Resources.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>

namespace tabbern::test {
namespace {

class Dialogs : public StartedProgram {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->setText(QString());
        startWith({{"Alpha", "Home", "http://alpha.example/"},
                   {"Beta", "Work", "http://beta.example/"},
                   {"Gamma", "Work", "http://gamma.example/"}});
    }

    // Runs the script inside the modal dialog once it is active; a dialog left open fails the
    // test and is closed, so that nothing waits forever. The focus then goes back to the main
    // window, as the window manager gives it back, so that the dialog's next showing activates it.
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

    // Chooses a group in the selector with the arrow keys, as a user can.
    void chooseGroup(const QString& name) {
        auto* box = widget<QComboBox>("Combo1");
        const int wanted = box->findText(name);
        ASSERT_GE(wanted, 0) << name.toStdString();
        box->setFocus();
        while (box->currentIndex() != wanted)
            QTest::keyClick(box, box->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
    }

    StrayMessageBoxes strayBoxes;
};

TEST_F(Dialogs, TheCloseBoxAndEscapeCancelEveryDialogButOnlyTheMainWindowsCloseBoxEndsTheProgram) {
    const std::vector<Form*> all = forms();
    for (Form* form : std::vector<Form*>(all.begin() + 1, all.end())) {
        SCOPED_TRACE(form->name());
        for (bool escape : {true, false}) {
            host->showModeless(*form);
            ASSERT_TRUE(QTest::qWaitForWindowActive(windowOf(*form)));
            escape ? press(Qt::Key_Escape) : (void)windowOf(*form)->close();
            EXPECT_FALSE(windowOf(*form)->isVisible() || form->visible());
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
        AnswerBox(QMessageBox::Ok);
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
    chooseGroup(QStringLiteral("Home"));
    widget<QAction>("menueditselectedgroup")->trigger();
    QtFormWindow* dialog = windowOf(app->frmEditGroupName);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(in<QLabel>(dialog, "Label2")->text(), QStringLiteral("<Home>"));
    EXPECT_EQ(focusedName(), QStringLiteral("Text3"));

    // The user goes back to the main window, chooses another group and returns.
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    chooseGroup(QStringLiteral("Work"));
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
        EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
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
        QScrollBar* bar = text->verticalScrollBar();
        text->setFocus();
        QTest::keyClick(text, Qt::Key_PageDown);
        EXPECT_GT(bar->value(), 0);
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        EXPECT_TRUE(text->viewport()->rect().contains(text->cursorRect()));
        QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(bar->value(), 0);
        QTest::keyClicks(text, "typed");
        EXPECT_EQ(text->toPlainText(), shown);
        QTest::mouseClick(in<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    });
    widget<QAction>("helpdocument")->trigger();
}

} // namespace
} // namespace tabbern::test
