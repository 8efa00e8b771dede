// The Share menu through the real windows: a group exported to a share file and imported into
// another data folder through the confirmation dialog, a clipboard link named there, and the
// links of a web page named one by one in the assign dialog, typed into with the keyboard.
#include "GuiTestSupport.h"

#include "ui/ImportDialogs.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <string>
#include <vector>

namespace tabbern::test {
namespace {

class Sharing : public StartedProgram {
protected:
    // Five bookmarks in three groups, written before start-up reads them.
    void startWithStore() {
        home.temp().makeDir("data/tabbern");
        WriteBytes(dat(), FileOf(stored()));
        WriteBytes(grp(), FileOf({Lines({"Home", "Work", "Reading"})}));
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
        today = platform->todayShortDate();
    }
    static std::vector<std::string> stored() {
        return {Rec(0, "Alpha", "Home", "1/2/2025", "", "http://alpha.example/"),
                Rec(1, "Beta", "Work", "1/3/2025", "", "beta.example/b"),
                Rec(2, "Gamma", "Work", "1/4/2025", "2/5/2025", "https://gamma.example/"),
                Rec(3, "Delta", "Reading", "1/5/2025", "", "http://delta.example/"),
                Rec(4, "Epsilon", "Work", "1/6/2025", "", "http://epsilon.example/")};
    }

    // Closes the program's windows and starts it afresh in another, empty data home.
    void restartInEmptyDataHome() {
        app.reset();
        host.reset();
        platform.reset();
        dataHome = home.temp().makeDir("other-data");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome));
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    }

    std::string programFile(const char* name) const {
        return (dataHome.empty() ? home.programFolder() : dataHome + "/tabbern") + "/" + name;
    }
    std::string dat() const { return programFile("tabbern.dat"); }
    std::string grp() const { return programFile("tabbern.grp"); }

    // Runs the script inside the modal dialog; the focus then goes back to the main window.
    void inModal(QtFormWindow& dialog, std::function<void()> script) {
        InModal(*host, dialog, std::move(script), view);
    }

    // Answers the next message box with OK and keeps its text.
    static void acknowledge(QString& text, int roundsLeft = 50) {
        QTimer::singleShot(0, [&text, roundsLeft] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->button(QMessageBox::Ok)->click();
            } else if (roundsLeft > 0) {
                acknowledge(text, roundsLeft - 1);
            } else {
                ADD_FAILURE() << "no message box appeared";
            }
        });
    }

    // The open dialog answers with the path, keeping what the core asked for.
    void openAnswers(const std::string& path) {
        platform->setOpenFileDialogHook([this, path](const FileDialogRequest& request) {
            asked.push_back(request);
            return path;
        });
    }

    void chooseGroup(const QString& name) {
        auto* box = widget<QComboBox>("Combo1");
        const int wanted = box->findText(name);
        ASSERT_GE(wanted, 0) << name.toStdString();
        box->setFocus();
        while (box->currentIndex() != wanted)
            QTest::keyClick(box, box->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(app->main.Combo1.text(), name.toStdString());
    }

    QTextEdit* confirmList() const { return in<QTextEdit>(confirmDialog, "Text1"); }
    QWidget* confirmPart(const char* name) const { return in<QWidget>(confirmDialog, name); }
    QListWidget* list() const { return widget<QListWidget>("List1"); }

    std::string today;
    std::string dataHome;
    std::vector<FileDialogRequest> asked;
    StrayMessageBoxes strayBoxes;
};

// ---- looks --------------------------------------------------------------------------------------

TEST_F(Sharing, TheImportDialogsAreFixedWindowsOnTheirPicturesWithPictureButtons) {
    startWithStore();
    struct Case {
        QtFormWindow* dialog;
        const char* name;
        QSize size;
        QSize face;
        std::vector<const char*> buttons;
    };
    for (const Case& c :
         {Case{confirmDialog, "frmAddConfirm", {600, 370}, {68, 26}, {"Command1", "Command2"}},
          Case{assignDialog,
               "frmAssignName",
               {420, 280},
               {83, 26},
               {"Command1", "Command2", "Command3"}}}) {
        SCOPED_TRACE(c.name);
        QtFormWindow* dialog = c.dialog;
        EXPECT_EQ(dialog->objectName(), QString::fromLatin1(c.name));
        // A hidden dialog is rendered when it is shown; render it as showing does.
        dialog->form().setVisible(true);
        dialog->render();
        EXPECT_EQ(dialog->minimumSize(), c.size);
        EXPECT_EQ(dialog->maximumSize(), c.size);
        EXPECT_EQ(dialog->windowTitle(), QString::fromStdString(dialog->form().caption()));
        EXPECT_EQ(in<QLabel>(dialog, "Picture1")->pixmap().size(), c.size);
        for (const char* name : c.buttons) {
            auto* button = in<PictureButton>(dialog, name);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->face().size(), c.face) << name;
            // Enter typed in a box must never reach a button through the dialog.
            EXPECT_FALSE(button->isDefault() || button->autoDefault()) << name;
        }
        ExpectLaidOut(dialog);
    }

    // The confirmation's list takes the room of the name and group boxes while they are hidden,
    // and gives it back when the clipboard import shows them.
    AddConfirmForm& confirm = app->frmAddConfirm;
    const std::vector<Control*> fields = {&confirm.Label1, &confirm.Text2, &confirm.Label2,
                                          &confirm.GroupList};
    std::vector<int> listHeights;
    for (bool shown : {false, true, false}) {
        for (Control* c : fields)
            c->setVisible(shown);
        host->renderAll();
        for (Control* c : fields)
            EXPECT_EQ(confirmPart(c->name().c_str())->isHidden(), !shown) << c->name();
        ExpectLaidOut(confirmDialog);
        listHeights.push_back(confirmList()->height());
    }
    EXPECT_GT(listHeights[0], listHeights[1]);
    EXPECT_EQ(listHeights[2], listHeights[0]);
    // Down to the etched line above the buttons, which lies 70 pixels above the bottom.
    EXPECT_GE(confirmList()->geometry().bottom(), 370 - 70 - 30);
    EXPECT_EQ(in<QLabel>(confirmDialog, "Label1")->text(), QStringLiteral("Bookmark:"));
    EXPECT_EQ(confirmPart("Command2")->toolTip(), QStringLiteral(" Cancel All Importports "));

    // A link too long for the assign dialog's two lines is shortened in the middle to fit them;
    // the tooltip holds it whole.
    const std::string longLink = "https://docs.example/" + std::string(200, 'x') + "/end";
    app->frmAssignName.Label3.setCaption(longLink);
    app->frmAssignName.Label3.setToolTip(" " + longLink + " ");
    host->renderAll();
    auto* link = in<QLabel>(assignDialog, "Label3");
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(link->text().endsWith(QStringLiteral("/end")));
    EXPECT_TRUE(link->text().contains(QChar(0x2026)));
    const QStringList lines = link->text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 2);
    for (const QString& line : lines)
        EXPECT_LE(link->fontMetrics().horizontalAdvance(line), link->width()) << line.toStdString();
    EXPECT_EQ(link->toolTip(), QString::fromStdString(" " + longLink + " "));
    for (QtFormWindow* dialog :
         {static_cast<QtFormWindow*>(confirmDialog), static_cast<QtFormWindow*>(assignDialog)})
        dialog->form().setVisible(false);
}

// ---- the share file -----------------------------------------------------------------------------

TEST_F(Sharing, ExportAGroupThenImportItIntoAnEmptyDataFolder) {
    startWithStore();
    chooseGroup(QStringLiteral("Work"));
    const std::string share = home.temp().file("work.tbn");
    QStringList saveFilters;
    platform->setSaveFileDialogHook([&](const FileDialogRequest& request) {
        saveFilters = QtNameFilters(request.filters);
        return share;
    });
    QString done;
    acknowledge(done);
    widget<QAction>("menuexporttotabbernfile")->trigger();

    EXPECT_EQ(saveFilters, QStringList{"Tabbern (*.tbn)"});
    EXPECT_EQ(done,
              QString::fromStdString("Your Export of Group <Work> to <" + share + "> Is Complete"));
    // The group's records in table order, the address without a scheme completed.
    const std::string exported =
        FileOf({Rec(1, "Beta", "Work", "1/3/2025", "", "www.beta.example/b"),
                Rec(2, "Gamma", "Work", "1/4/2025", "2/5/2025", "https://gamma.example/"),
                Rec(4, "Epsilon", "Work", "1/6/2025", "", "http://epsilon.example/")});
    ASSERT_EQ(ReadBytes(share), exported);

    restartInEmptyDataHome();
    ASSERT_EQ(app->recordCount, 0);
    openAnswers(share);
    QString listed, focus;
    bool fieldsHidden = false;
    inModal(*confirmDialog, [&] {
        listed = confirmList()->toPlainText();
        fieldsHidden = confirmPart("GroupList")->isHidden() && confirmPart("Text2")->isHidden() &&
                       confirmPart("Label1")->isHidden() && confirmPart("Label2")->isHidden();
        QTest::mouseClick(in<QPushButton>(confirmDialog, "Command1"), Qt::LeftButton);
    });
    widget<QAction>("menuimportfromtabbernfile")->trigger();

    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(QtNameFilters(asked[0].filters), QStringList{"Tabbern Files (*.tbn)"});
    EXPECT_EQ(listed, QStringLiteral("Beta\nwww.beta.example/b\nGamma\nhttps://gamma.example/\n"
                                     "Epsilon\nhttp://epsilon.example/"));
    EXPECT_TRUE(fieldsHidden);
    EXPECT_FALSE(confirmDialog->isVisible());
    // The share file's lines follow the new store's header as they were read.
    EXPECT_EQ(ReadBytes(dat()), exported);
    EXPECT_EQ(app->recordCount, 3);
    EXPECT_EQ(Items(list()), (QStringList{"Beta", "Gamma", "Epsilon"}));
    EXPECT_EQ(Items(widget<QComboBox>("Combo1")), (QStringList{"All Groups", "Work"}));
    EXPECT_EQ(widget<QComboBox>("Combo1")->currentText(), QStringLiteral("All Groups"));
}

TEST_F(Sharing, ClosingTheConfirmationByItsFrameImportsNothing) {
    startWithStore();
    const std::string share = home.temp().file("in.tbn");
    WriteBytes(share, FileOf({Rec(0, "Zeta", "Travel", "2/2/2025", "", "http://zeta.example/")}));
    const std::string storeBefore = ReadBytes(dat());
    const std::string groupsBefore = ReadBytes(grp());
    openAnswers(share);
    QString listed;
    inModal(*confirmDialog, [&] {
        listed = confirmList()->toPlainText();
        confirmDialog->close();
    });
    widget<QAction>("menuimportfromtabbernfile")->trigger();

    EXPECT_EQ(listed, QStringLiteral("Zeta\nhttp://zeta.example/"));
    EXPECT_FALSE(confirmDialog->isVisible());
    EXPECT_FALSE(app->frmAddConfirm.visible());
    EXPECT_FALSE(app->importConfirmed);
    EXPECT_EQ(ReadBytes(dat()), storeBefore);
    EXPECT_EQ(ReadBytes(grp()), groupsBefore);
    EXPECT_EQ(list()->count(), 5);
    // The list was emptied with the cancel, as the button does.
    EXPECT_EQ(app->frmAddConfirm.Text1.text(), "");
}

// ---- the clipboard ------------------------------------------------------------------------------

TEST_F(Sharing, AClipboardLinkIsNamedAndGroupedInTheConfirmation) {
    startWithStore();
    QGuiApplication::clipboard()->setText(QStringLiteral("  https://news.example/today  "));
    QString listed, firstFocus, groups;
    bool fieldsShown = false;
    inModal(*confirmDialog, [&] {
        listed = confirmList()->toPlainText();
        fieldsShown = !confirmPart("GroupList")->isHidden() && !confirmPart("Text2")->isHidden();
        firstFocus = focusedName();
        groups = Items(in<QComboBox>(confirmDialog, "GroupList")).join(QLatin1Char(','));
        type("Morning News");
        // Enter moves nowhere here and imports nothing.
        press(Qt::Key_Return);
        EXPECT_TRUE(confirmDialog->isVisible());
        press(Qt::Key_Tab);
        EXPECT_EQ(focusedName(), QStringLiteral("GroupList"));
        press(Qt::Key_Down);
        QTest::mouseClick(in<QPushButton>(confirmDialog, "Command1"), Qt::LeftButton);
    });
    widget<QAction>("menuimportfromclipboard")->trigger();

    EXPECT_EQ(listed, QStringLiteral("https://news.example/today"));
    EXPECT_TRUE(fieldsShown);
    EXPECT_EQ(firstFocus, QStringLiteral("Text2"));
    EXPECT_EQ(groups, QStringLiteral("Home,Reading,Work"));
    std::vector<std::string> expected = stored();
    expected.push_back(Rec(5, "Morning News", "Reading", today, "", "https://news.example/today"));
    EXPECT_EQ(ReadBytes(dat()), FileOf(expected));
    EXPECT_TRUE(Items(list()).contains(QStringLiteral("Morning News")));
}

// ---- a text file --------------------------------------------------------------------------------

TEST_F(Sharing, TheLinksOfAWebPageAreNamedOneByOneAndTheLastIsCancelled) {
    startWithStore();
    const std::string page = home.temp().file("links.html");
    WriteBytes(page, "<html>\r\n<body>\r\n"
                     "<p>Docs: https://alpha.example/docs </p>\r\n"
                     "<p>Mirror at www.beta.example/files and the old site http://gamma.example/ "
                     "too.</p>\r\n"
                     "</body>\r\n</html>\r\n");
    const std::string groupsBefore = ReadBytes(grp());
    openAnswers(page);

    QString listed;
    std::vector<QString> linksShown, firstFocus, focusAfterEnter;
    std::string groupFileAfterFirst;
    // Names a link with the keyboard: the name, Enter, the group typed over the box, Enter, and
    // the focused Assign button pressed with `pressKey`.
    auto nameIt = [&](const char* name, const char* group, Qt::Key pressKey) {
        linksShown.push_back(in<QLabel>(assignDialog, "Label3")->text());
        firstFocus.push_back(focusedName());
        type(name);
        press(Qt::Key_Return);
        focusAfterEnter.push_back(focusedName());
        retype(group);
        press(Qt::Key_Return);
        focusAfterEnter.push_back(focusedName());
        press(pressKey);
    };
    inModal(*confirmDialog, [&] {
        listed = confirmList()->toPlainText();
        inModal(*assignDialog, [&] {
            inModal(*assignDialog, [&] {
                groupFileAfterFirst = ReadBytes(grp());
                inModal(*assignDialog, [&] {
                    linksShown.push_back(in<QLabel>(assignDialog, "Label3")->text());
                    type("Never Stored");
                    assignDialog->close();
                });
                nameIt("Gamma Old", "Work", Qt::Key_Space);
            });
            nameIt("Alpha Docs", "Reference", Qt::Key_Return);
        });
        QTest::mouseClick(in<QPushButton>(confirmDialog, "Command1"), Qt::LeftButton);
    });
    widget<QAction>("menuimportfromtextfile")->trigger();

    ASSERT_EQ(asked.size(), 1u);
    // Links in the order they were found: every "https://" link of a line, then "http://", then
    // "www".
    EXPECT_EQ(listed, QStringLiteral("https://alpha.example/docs\nhttp://gamma.example/\n"
                                     "www.beta.example/files"));
    EXPECT_EQ(linksShown,
              (std::vector<QString>{"https://alpha.example/docs", "http://gamma.example/",
                                    "www.beta.example/files"}));
    EXPECT_EQ(firstFocus, (std::vector<QString>{"Text1", "Text1"}));
    EXPECT_EQ(focusAfterEnter, (std::vector<QString>{"Combo1", "Command1", "Combo1", "Command1"}));
    EXPECT_FALSE(assignDialog->isVisible());
    // The frame cancelled the import rather than skipping the link.
    EXPECT_FALSE(app->continueImporting);
    // A new group goes into the group file as soon as it is assigned.
    EXPECT_EQ(groupFileAfterFirst, groupsBefore + "Reference\r\n");
    // Exactly the two named links, numbered after the stored bookmarks by their place in the
    // page's list; the cancelled one is not stored.
    std::vector<std::string> expected = stored();
    expected.push_back(Rec(5, "Alpha Docs", "Reference", today, "", "https://alpha.example/docs"));
    expected.push_back(Rec(6, "Gamma Old", "Work", today, "", "http://gamma.example/"));
    EXPECT_EQ(ReadBytes(dat()), FileOf(expected));
    EXPECT_EQ(app->recordCount, 7);
    const QStringList shown = Items(list());
    EXPECT_TRUE(shown.contains(QStringLiteral("Alpha Docs")) &&
                shown.contains(QStringLiteral("Gamma Old")));
    EXPECT_FALSE(shown.contains(QStringLiteral("Never Stored")));
    // Each group once: the one that existed already was not written again.
    QStringList groupLines =
        QString::fromStdString(ReadBytes(grp())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    groupLines.sort();
    EXPECT_EQ(groupLines, (QStringList{"Home", "Reading", "Reference", "Work",
                                       QString::fromStdString(HeaderLine())}));
}

} // namespace
} // namespace tabbern::test
