// The editing commands through the real windows: the add, edit and rename dialogs typed into
// with the keyboard, the list double-clicked, the confirmations answered in real message boxes,
// and what the data files hold afterwards.
#include "GuiTestSupport.h"

#include "ui/MainForm.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <string>
#include <vector>

namespace tabbern::test {
namespace {

// Records what would have gone to the browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    std::vector<QString> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url.toString()); }
};

class EditingDialogs : public StartedProgram {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->setText(QString());
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser, "open");
    }
    void TearDown() override {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    // Three bookmarks in two groups, written before start-up reads them.
    void startWithStore() {
        home.temp().makeDir("data/tabbern");
        WriteBytes(dat(), FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                                  Rec(1, "Beta", "Work", "1/3/2025", "", "http://beta.example/"),
                                  Rec(2, "Gamma", "Work", "1/4/2025", "2/5/2025",
                                      "http://gamma.example/")}));
        WriteBytes(grp(), FileOf({Lines({"Home", "Work"})}));
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
        today = platform->todayShortDate();
    }

    std::string dat() const { return home.programFolder() + "/tabbern.dat"; }
    std::string grp() const { return home.programFolder() + "/tabbern.grp"; }

    static void clearBox() {
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Backspace);
    }

    void inDialog(QtFormWindow& dialog, std::function<void()> script) {
        InModal(*host, dialog, std::move(script));
    }

    // Answers the next message box, with the button that `answer` picks.
    static void answerBox(std::function<QMessageBox::StandardButton(QMessageBox*)> answer,
                          int roundsLeft = 50) {
        QTimer::singleShot(0, [answer = std::move(answer), roundsLeft]() mutable {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(answer(box))->click();
            else if (roundsLeft > 0)
                answerBox(std::move(answer), roundsLeft - 1);
            else
                ADD_FAILURE() << "no message box appeared";
        });
    }

    QListWidget* list() const { return widget<QListWidget>("List1"); }
    QComboBox* selector() const { return widget<QComboBox>("Combo1"); }
    QString label(const char* name) const { return widget<QLabel>(name)->text(); }

    // Chooses a group in the selector with the arrow keys, as a user can.
    void chooseGroup(const QString& name) {
        QComboBox* box = selector();
        const int wanted = box->findText(name);
        ASSERT_GE(wanted, 0) << name.toStdString();
        box->setFocus();
        while (box->currentIndex() != wanted)
            QTest::keyClick(box, box->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(app->main.Combo1.text(), name.toStdString());
    }

    UrlRecorder browser;
    std::string today;
    StrayMessageBoxes strayBoxes;
};

// ---- looks --------------------------------------------------------------------------------------

TEST_F(EditingDialogs, AreFixedWindowsOnTheirPictureWithPictureButtons) {
    startWithStore();
    for (QtFormWindow* dialog : std::vector<QtFormWindow*>{addDialog, editDialog, renameDialog}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        EXPECT_FALSE(dialog->isVisible());
        // A hidden dialog is rendered when it is shown; render it as showing does.
        dialog->form().setVisible(true);
        dialog->render();
        dialog->form().setVisible(false);
        EXPECT_EQ(dialog->minimumSize(), QSize(420, 280));
        EXPECT_EQ(dialog->maximumSize(), QSize(420, 280));
        EXPECT_EQ(dialog->windowTitle(), QString::fromStdString(dialog->form().caption()));
        EXPECT_EQ(in<QLabel>(dialog, "Picture1")->pixmap().size(), QSize(420, 280));
        auto* save = in<PictureButton>(dialog, "Command1");
        auto* cancel = in<PictureButton>(dialog, "Command2");
        ASSERT_TRUE(save && cancel);
        EXPECT_EQ(save->face().size(), QSize(115, 24));
        EXPECT_EQ(cancel->face().size(), QSize(110, 24));
        EXPECT_GE(ExpectLaidOut(dialog), 5u);
        // Enter typed in a box must never reach a button through the dialog.
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
            EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();
        }
    }
    EXPECT_EQ(addDialog->objectName(), QStringLiteral("frmAddName"));
    EXPECT_EQ(editDialog->objectName(), QStringLiteral("frmEditName"));
    EXPECT_EQ(renameDialog->objectName(), QStringLiteral("frmEditGroupName"));
    for (const char* name : {"Label1", "Label2", "Label3", "Text1", "Combo1", "Text3"})
        EXPECT_NE(addDialog->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    // Captions and tooltips are the models'.
    EXPECT_EQ(in<QLabel>(addDialog, "Label1")->text(), QStringLiteral("Bookmark Name"));
    EXPECT_EQ(in<QWidget>(editDialog, "Command1")->toolTip(),
              QString::fromStdString(app->frmEditName.Command1.toolTip()));
    // A shown dialog follows its model after every event.
    host->showModeless(app->frmEditGroupName);
    host->runEvent([this] { app->frmEditGroupName.Label1.setCaption("Rename"); });
    EXPECT_EQ(in<QLabel>(renameDialog, "Label1")->text(), QStringLiteral("Rename"));
    host->hideForm(app->frmEditGroupName);
}

// ---- add ----------------------------------------------------------------------------------------

TEST_F(EditingDialogs, AddWithTheKeyboardEnterMovesThroughTheBoxesThenSaves) {
    startWithStore();
    const std::string before = ReadBytes(dat());
    std::vector<QString> focusPath;
    bool openAfterEveryBoxEnter = true;

    inDialog(*addDialog, [&] {
        focusPath.push_back(focusedName());
        type("Example Site");
        press(Qt::Key_Return);
        focusPath.push_back(focusedName());
        // The group box shows the first group, selected by the focus move: typing replaces it.
        type("Reading");
        press(Qt::Key_Return);
        focusPath.push_back(focusedName());
        type("example.org/page");
        openAfterEveryBoxEnter = addDialog->isVisible() && ReadBytes(dat()) == before;
        press(Qt::Key_Return);
        focusPath.push_back(focusedName());
        // All three boxes filled and Enter pressed in each: still nothing is stored.
        openAfterEveryBoxEnter =
            openAfterEveryBoxEnter && addDialog->isVisible() && ReadBytes(dat()) == before;
        press(Qt::Key_Return);
    });
    widget<QAction>("menuaddname")->trigger();

    EXPECT_EQ(focusPath, (std::vector<QString>{"Text1", "Combo1", "Text3", "Command1"}));
    EXPECT_TRUE(openAfterEveryBoxEnter);
    EXPECT_FALSE(addDialog->isVisible());
    EXPECT_EQ(ReadBytes(dat()),
              FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                      Rec(1, "Beta", "Work", "1/3/2025", "", "http://beta.example/"),
                      Rec(2, "Gamma", "Work", "1/4/2025", "2/5/2025", "http://gamma.example/"),
                      Rec(3, "Example Site", "Reading", today, "", "www.example.org/page")}));
    EXPECT_EQ(ReadBytes(grp()), FileOf({Lines({"Home", "Work", "Reading"})}));
    // The new group is shown, with the new bookmark selected and its details.
    EXPECT_EQ(selector()->currentText(), QStringLiteral("Reading"));
    EXPECT_EQ(Items(list()), QStringList{"Example Site"});
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(label("lblWhatGroup"), QStringLiteral("Reading"));
    EXPECT_EQ(label("LabelShowURLAddress"), QStringLiteral("www.example.org/page "));
}

TEST_F(EditingDialogs, AFailedCheckKeepsWhatWasTypedAndTheFrameCancels) {
    startWithStore();
    QGuiApplication::clipboard()->setText(QStringLiteral("  https://clip.example/x  "));
    const std::string before = ReadBytes(dat());
    QString offered, message, nameAfterBox, focusAfterBox;

    inDialog(*addDialog, [&] {
        QLineEdit* url = in<QLineEdit>(addDialog, "Text3");
        offered = url->text();
        type("Kept Name");
        // Empty the URL box, then save with the mouse.
        url->setFocus();
        clearBox();
        answerBox([&](QMessageBox* box) {
            message = box->text();
            return QMessageBox::Ok;
        });
        QTest::mouseClick(in<QPushButton>(addDialog, "Command1"), Qt::LeftButton);
        // As the window manager does, the focus goes back to the dialog; that is no activation,
        // which would empty the boxes.
        addDialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(addDialog));
        nameAfterBox = in<QLineEdit>(addDialog, "Text1")->text();
        focusAfterBox = focusedName();
        addDialog->close();
    });
    widget<QAction>("menuaddname")->trigger();

    EXPECT_EQ(offered, QStringLiteral("https://clip.example/x"));
    EXPECT_EQ(message, QStringLiteral("Please Enter A URL"));
    EXPECT_EQ(nameAfterBox, QStringLiteral("Kept Name"));
    EXPECT_EQ(focusAfterBox, QStringLiteral("Text3"));
    EXPECT_FALSE(addDialog->isVisible());
    EXPECT_FALSE(app->frmAddName.visible());
    EXPECT_EQ(ReadBytes(dat()), before);
}

TEST_F(EditingDialogs, EscapeCancelsAndTheNextShowStartsAfresh) {
    startWithStore();
    QString textOnSecondShow = QStringLiteral("unset");
    inDialog(*addDialog, [&] {
        type("Half Typed");
        press(Qt::Key_Escape);
    });
    widget<QAction>("menuaddname")->trigger();
    EXPECT_FALSE(addDialog->isVisible());

    inDialog(*addDialog, [&] {
        textOnSecondShow = in<QLineEdit>(addDialog, "Text1")->text();
        QTest::mouseClick(in<QPushButton>(addDialog, "Command2"), Qt::LeftButton);
    });
    widget<QAction>("menuaddname")->trigger();
    EXPECT_EQ(textOnSecondShow, QString());
    EXPECT_EQ(app->recordCount, 3);
}

// ---- find, open, edit and delete ----------------------------------------------------------------

TEST_F(EditingDialogs, FindWithTheSearchBoxThenOpenByDoubleClicks) {
    startWithStore();
    auto* search = widget<QLineEdit>("TextNameSearch");
    search->setFocus();
    type("  beta ");
    press(Qt::Key_Return);
    ASSERT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(search->text(), QString());
    EXPECT_EQ(label("lblWhatGroup"), QStringLiteral("Work"));
    EXPECT_EQ(label("LabelShowURLAddress"), QStringLiteral("http://beta.example/ "));

    const QPoint row = list()->visualItemRect(list()->item(1)).center();
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(browser.opened, std::vector<QString>{"http://beta.example/"});
    EXPECT_EQ(ReadBytes(dat()),
              FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                      Rec(1, "Beta", "Work", "1/3/2025", today, "http://beta.example/"),
                      Rec(2, "Gamma", "Work", "1/4/2025", "2/5/2025", "http://gamma.example/")}));
    // The opened entry stays selected and shows its new date.
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(label("lblDateAccessed"), QString::fromStdString(" " + today + " "));

    // The URL under the list opens the selected bookmark as well.
    QTest::mouseDClick(widget<QLabel>("LabelShowURLAddress"), Qt::LeftButton);
    EXPECT_EQ(browser.opened,
              (std::vector<QString>{"http://beta.example/", "http://beta.example/"}));
}

TEST_F(EditingDialogs, EditShowsTheSelectionAndSpaceOnTheFocusedSaveButtonSaves) {
    startWithStore();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(2)).center());
    ASSERT_EQ(app->main.List1.selectedText(), "Gamma");
    QString shownName, shownGroup, shownUrl, firstFocus;

    inDialog(*editDialog, [&] {
        shownName = in<QLineEdit>(editDialog, "Text1")->text();
        shownGroup = in<QComboBox>(editDialog, "Combo1")->currentText();
        shownUrl = in<QLineEdit>(editDialog, "Text3")->text();
        firstFocus = focusedName();
        retype("Gamma Ray");
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        retype("gamma.example/new");
        press(Qt::Key_Return);
        EXPECT_EQ(focusedName(), QStringLiteral("Command1"));
        press(Qt::Key_Space);
    });
    widget<QAction>("menunamesedit")->trigger();

    EXPECT_EQ(shownName, QStringLiteral("Gamma"));
    EXPECT_EQ(shownGroup, QStringLiteral("Work"));
    EXPECT_EQ(shownUrl, QStringLiteral("http://gamma.example/"));
    EXPECT_EQ(firstFocus, QStringLiteral("Text1"));
    EXPECT_FALSE(editDialog->isVisible());
    // The edit stamps today as the date added and keeps the last access.
    EXPECT_EQ(ReadBytes(dat()),
              FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                      Rec(1, "Beta", "Work", "1/3/2025", "", "http://beta.example/"),
                      Rec(2, "Gamma Ray", "Work", today, "2/5/2025", "www.gamma.example/new")}));
    ASSERT_NE(list()->currentItem(), nullptr);
    EXPECT_EQ(list()->currentItem()->text(), QStringLiteral("Gamma Ray"));
    EXPECT_EQ(label("LabelShowURLAddress"), QStringLiteral("www.gamma.example/new "));
}

TEST_F(EditingDialogs, DeleteAsksInARealMessageBox) {
    startWithStore();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(1)).center());
    const std::string before = ReadBytes(dat());
    QString question;
    answerBox([&](QMessageBox* box) {
        question = box->text();
        return QMessageBox::Cancel;
    });
    widget<QAction>("menunamesdelete")->trigger();
    EXPECT_EQ(question, QStringLiteral("Delete The Bookmark:\rBeta\r\rFrom The Group: \rWork\r\r"
                                       "For URL: \rhttp://beta.example/"));
    EXPECT_EQ(ReadBytes(dat()), before);

    answerBox([](QMessageBox*) { return QMessageBox::Ok; });
    widget<QAction>("menunamesdelete")->trigger();
    // The rest are written with the numbers they had; the reload numbers them afresh.
    EXPECT_EQ(ReadBytes(dat()),
              FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                      Rec(2, "Gamma", "Work", "1/4/2025", "2/5/2025", "http://gamma.example/")}));
    EXPECT_EQ(app->main.List3.items(), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(Items(list()), (QStringList{"Alpha", "Gamma"}));
    EXPECT_EQ(selector()->currentText(), QStringLiteral("All Groups"));
}

// ---- groups -------------------------------------------------------------------------------------

TEST_F(EditingDialogs, AddAGroupTypedIntoTheSelector) {
    startWithStore();
    selector()->setFocus();
    retype("Travel");
    widget<QAction>("menuaddgroup")->trigger();
    // The selector's path writes the rebuilt table as it stands, with its empty ends.
    EXPECT_EQ(ReadBytes(grp()), FileOf({Lines({"", "Home", "Work", "Travel", ""})}));
    EXPECT_EQ(selector()->currentText(), QStringLiteral("Travel"));
    EXPECT_NE(selector()->findText(QStringLiteral("Travel")), -1);
    EXPECT_EQ(list()->count(), 0);

    // Nothing typed: refused, and the selector gets the focus for the name.
    selector()->setFocus();
    clearBox();
    widget<QLineEdit>("TextNameSearch")->setFocus();
    QString refusal;
    answerBox([&](QMessageBox* box) {
        refusal = box->text();
        return QMessageBox::Ok;
    });
    widget<QAction>("menuaddgroup")->trigger();
    EXPECT_EQ(refusal, QStringLiteral("No Group To Add"));
    // As the window manager does, the focus goes back to the window under the box.
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    EXPECT_EQ(focused(), selector());
}

TEST_F(EditingDialogs, RenameInTheModelessDialogWhichFollowsTheSelectorOnEverySwitch) {
    startWithStore();
    chooseGroup(QStringLiteral("Home"));
    widget<QAction>("menueditselectedgroup")->trigger();
    // Not modal: the main window stays usable.
    ASSERT_TRUE(renameDialog->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(renameDialog));
    EXPECT_EQ(in<QLabel>(renameDialog, "Label2")->text(), QStringLiteral("<Home>"));
    EXPECT_EQ(focusedName(), QStringLiteral("Text3"));
    type("Office");

    // The user goes back to the main window, chooses another group and returns.
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    chooseGroup(QStringLiteral("Work"));
    renameDialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(renameDialog));
    EXPECT_EQ(in<QLabel>(renameDialog, "Label2")->text(), QStringLiteral("<Work>"));
    EXPECT_EQ(in<QLineEdit>(renameDialog, "Text3")->text(), QStringLiteral("Office"));

    in<QLineEdit>(renameDialog, "Text3")->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(focusedName(), QStringLiteral("Command1"));
    EXPECT_EQ(ReadBytes(grp()), FileOf({Lines({"Home", "Work"})}));
    QString done;
    answerBox([&](QMessageBox* box) {
        done = box->text();
        return QMessageBox::Ok;
    });
    press(Qt::Key_Return);

    EXPECT_EQ(done, QStringLiteral("Group <Work> Renamed To <Office>"));
    EXPECT_FALSE(renameDialog->isVisible());
    EXPECT_EQ(ReadBytes(grp()), FileOf({Lines({"Home", "Office"})}));
    EXPECT_EQ(ReadBytes(dat()),
              FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                      Rec(1, "Beta", "Office", "1/3/2025", "", "http://beta.example/"),
                      Rec(2, "Gamma", "Office", "1/4/2025", "2/5/2025", "http://gamma.example/")}));
    EXPECT_EQ(selector()->currentText(), QStringLiteral("All Groups"));
    EXPECT_NE(selector()->findText(QStringLiteral("Office")), -1);
    EXPECT_EQ(selector()->findText(QStringLiteral("Work")), -1);
}

TEST_F(EditingDialogs, TheRenameDialogsFrameCancelsAndKeepsTheTypedName) {
    startWithStore();
    chooseGroup(QStringLiteral("Work"));
    widget<QAction>("menueditselectedgroup")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(renameDialog));
    type("Never Saved");
    renameDialog->close();
    EXPECT_FALSE(renameDialog->isVisible());
    EXPECT_EQ(ReadBytes(grp()), FileOf({Lines({"Home", "Work"})}));

    widget<QAction>("menueditselectedgroup")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(renameDialog));
    EXPECT_EQ(in<QLineEdit>(renameDialog, "Text3")->text(), QStringLiteral("Never Saved"));
    renameDialog->close();
}

TEST_F(EditingDialogs, DeleteAGroupWithItsBookmarks) {
    startWithStore();
    chooseGroup(QStringLiteral("Work"));
    std::vector<QString> questions;
    answerBox([&](QMessageBox* box) {
        questions.push_back(box->text());
        answerBox([&](QMessageBox* second) {
            questions.push_back(second->text());
            return QMessageBox::Yes;
        });
        return QMessageBox::Ok;
    });
    widget<QAction>("menudeletegroup")->trigger();

    EXPECT_EQ(questions,
              (std::vector<QString>{"Delete The Group <Work>?",
                                    "Do You Want To Delete All Bookmarks Associated With This "
                                    "Group"}));
    // The table kept the empty ends that start-up's rebuild gave it; they are written as they
    // stand.
    EXPECT_EQ(ReadBytes(grp()), FileOf({Lines({"", "Home", ""})}));
    EXPECT_EQ(ReadBytes(dat()),
              FileOf({Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/")}));
    EXPECT_EQ(selector()->currentText(), QStringLiteral("All Groups"));
    EXPECT_EQ(selector()->findText(QStringLiteral("Work")), -1);
    EXPECT_EQ(Items(list()), QStringList{"Alpha"});
}

} // namespace
} // namespace tabbern::test

#include "EditingDialogsTest.moc"
