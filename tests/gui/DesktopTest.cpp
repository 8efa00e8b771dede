// The main window as a desktop program: the Options menu's ticks and what each option writes,
// the data folder chosen in the folder browser, the about box and the help window, and
// minimising with and without a notification area.
#include "GuiTestSupport.h"

#include "platform/qt/Resources.h"
#include "support/CfgBytes.h"
#include "ui/AboutHelp.h"
#include "ui/MainForm.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace tabbern::test {
namespace {

std::string StoreFile(const std::vector<std::string>& names, const std::string& group) {
    std::string s = HeaderLine() + "\r\n";
    int rec = 0;
    for (const std::string& name : names)
        s += "[r]" + std::to_string(rec++) + "[n]" + name + "[g]" + group +
             "[d]1/2/2025[l][u]http://" + name + ".example/\r\n";
    return s;
}

class Desktop : public StartedProgram {
protected:
    std::string programFile(const char* name) const { return home.programFolder() + "/" + name; }
    std::string autostartFile() const { return home.config() + "/autostart/Tabbern.desktop"; }
    CfgBytes cfg() const { return CfgBytes::Read(programFile("tabbern.cfg")); }
    // The user minimises the window, as the window system reports it.
    void minimise() { view->setWindowState(view->windowState() | Qt::WindowMinimized); }

    QAction* action(const char* name) const {
        QAction* a = widget<QAction>(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    MenuItem& item(const char* name) const {
        auto* m = dynamic_cast<MenuItem*>(app->main.findControl(name));
        EXPECT_NE(m, nullptr) << name;
        return *m;
    }

    void inModal(QtFormWindow& window, std::function<void()> script) {
        InModal(*host, window, std::move(script));
    }
};

// ---- the Options menu ---------------------------------------------------------------------------

TEST_F(Desktop, OptionsMenuShowsTheTicksThatTheCoreSetsAndWritesEachOption) {
    start();
    QStringList captions;
    for (QAction* a : widget<QMenu>("menuoptions")->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Remember Sort &Choices", "Remember Screen &Location",
                                     "&Start When Windows Starts", "Start Tabbern &Minimized",
                                     "Change &Path For Data Files"}));

    struct Toggle {
        const char* name;
        std::function<bool()> stored; // what the option leaves on disk says "on"
    };
    const std::vector<Toggle> toggles = {
        {"menuremembersortchoices", [this] { return cfg().rememberSort() == 1; }},
        {"menuscreenlocation", [this] { return cfg().rememberLocation() == -1; }},
        {"menustartwhenwindowsstarts", [this] { return Exists(autostartFile()); }},
        {"menuloadminimized", [this] { return cfg().loadMinimised() == 1; }},
    };
    auto ticks = [&] {
        std::vector<bool> shown;
        for (const Toggle& t : toggles) {
            EXPECT_EQ(action(t.name)->isChecked(), item(t.name).checked()) << t.name;
            shown.push_back(action(t.name)->isChecked());
        }
        return shown;
    };
    EXPECT_EQ(ticks(), (std::vector<bool>{false, false, false, false}));

    for (std::size_t i = 0; i < toggles.size(); ++i) {
        SCOPED_TRACE(toggles[i].name);
        std::vector<bool> expected(toggles.size(), false);
        expected[i] = true;
        action(toggles[i].name)->trigger();
        EXPECT_EQ(ticks(), expected);
        EXPECT_TRUE(toggles[i].stored());

        action(toggles[i].name)->trigger();
        EXPECT_EQ(ticks(), (std::vector<bool>(toggles.size(), false)));
        EXPECT_FALSE(toggles[i].stored());
    }
}

TEST_F(Desktop, RememberScreenLocationStoresWhereTheWindowStandsAndForgetsIt) {
    start();
    view->move(300, 200);
    action("menuscreenlocation")->trigger();
    ASSERT_EQ(view->frameGeometry().topLeft(), QPoint(300, 200));
    EXPECT_EQ(cfg().rememberLocation(), -1);
    EXPECT_EQ(cfg().top(), 200 * 15);
    EXPECT_EQ(cfg().left(), 300 * 15);

    action("menuscreenlocation")->trigger();
    EXPECT_EQ(cfg().bytes.substr(114, 10), std::string(10, '\0'));
    EXPECT_EQ(cfg().bytes.size(), 128u);

    // On again, the window moved by the user afterwards: closing it stores where it is now.
    action("menuscreenlocation")->trigger();
    view->move(320, 240);
    view->close();
    EXPECT_EQ(processEnds, 1);
    EXPECT_EQ(cfg().rememberLocation(), -1);
    EXPECT_EQ(cfg().top(), 240 * 15);
    EXPECT_EQ(cfg().left(), 320 * 15);
}

TEST_F(Desktop, StartWithTheSessionWritesAndRemovesTheAutostartEntry) {
    start();
    ASSERT_FALSE(Exists(autostartFile()));
    action("menustartwhenwindowsstarts")->trigger();
    ASSERT_TRUE(Exists(autostartFile()));
    const std::string entry = ReadBytes(autostartFile());
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nExec=" + platform->programCommand() + "\n"), std::string::npos)
        << entry;
    EXPECT_TRUE(action("menustartwhenwindowsstarts")->isChecked());

    action("menustartwhenwindowsstarts")->trigger();
    EXPECT_FALSE(Exists(autostartFile()));
    EXPECT_FALSE(action("menustartwhenwindowsstarts")->isChecked());
}

TEST_F(Desktop, AnAutostartEntryFoundAtStartTicksTheItem) {
    home.temp().makeDir("config/autostart");
    WriteBytes(autostartFile(), "[Desktop Entry]\nType=Application\nExec=/elsewhere/tabbern\n");
    start();
    EXPECT_TRUE(action("menustartwhenwindowsstarts")->isChecked());
    action("menustartwhenwindowsstarts")->trigger();
    EXPECT_FALSE(Exists(autostartFile()));
}

// ---- the data folder ----------------------------------------------------------------------------

TEST_F(Desktop, TheDataFolderIsChosenInTheFolderBrowser) {
    const std::string shared = home.temp().makeDir("shared");
    WriteBytes(shared + "/tabbern.dat", StoreFile({"Alpha", "Beta"}, "Work"));
    WriteBytes(shared + "/tabbern.grp", HeaderLine() + "\r\nWork\r\n");
    const std::string empty = home.temp().makeDir("empty");

    std::vector<std::string> prompts;
    std::string answer;
    start({}, [&](QtPlatform& p) {
        p.setFolderBrowserHook([&](const std::string& prompt) {
            prompts.push_back(prompt);
            return answer;
        });
    });
    auto* list = widget<QListWidget>("List1");
    auto* groups = widget<QComboBox>("Combo1");
    auto* label = widget<QLabel>("lblAltDatapath");
    ASSERT_TRUE(list && groups && label);

    // A folder with a store: its bookmarks and groups show; a trailing separator is dropped
    // from the folder but kept in the data-path file.
    answer = shared + "/";
    action("menusetdata")->trigger();
    EXPECT_EQ(prompts, std::vector<std::string>{"Please select a Server folder."});
    EXPECT_EQ(Items(list), (QStringList{"Alpha", "Beta"}));
    EXPECT_EQ(Items(groups), (QStringList{"All Groups", "Work"}));
    EXPECT_EQ(groups->currentText(), QStringLiteral("All Groups"));
    EXPECT_EQ(label->text(), QString::fromStdString("   " + shared + " "));
    EXPECT_EQ(label->toolTip(), QString::fromStdString(" " + shared + " "));
    EXPECT_EQ(ReadBytes(programFile("tabbern.sdf")), shared + "/\r\n");

    // Cancelling changes nothing.
    answer.clear();
    action("menusetdata")->trigger();
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_EQ(Items(list), (QStringList{"Alpha", "Beta"}));
    EXPECT_EQ(ReadBytes(programFile("tabbern.sdf")), shared + "/\r\n");

    // A double-click on the folder label does the same; an empty folder gets empty files.
    answer = empty;
    QTest::mouseDClick(label, Qt::LeftButton);
    EXPECT_EQ(prompts.size(), 3u);
    EXPECT_TRUE(Items(list).isEmpty());
    EXPECT_EQ(Items(groups), (QStringList{"All Groups"}));
    EXPECT_EQ(ReadBytes(empty + "/tabbern.dat"), HeaderLine() + "\r\n");
    EXPECT_EQ(ReadBytes(empty + "/tabbern.grp"), HeaderLine() + "\r\n");
    EXPECT_EQ(label->text(), QString::fromStdString("   " + empty + " "));
    EXPECT_EQ(ReadBytes(programFile("tabbern.sdf")), empty + "\r\n");
    EXPECT_EQ(processEnds, 0);
}

// ---- the about box and the help window
// ------------------------------------------------------------

TEST_F(Desktop, AboutBoxOpensFromTheHelpMenuWithItsTextsAndLooksAndClosesWithOK) {
    start();
    AboutForm& about = app->frmAbout;
    inModal(*aboutBox, [&] {
        EXPECT_EQ(aboutBox->windowTitle(), QStringLiteral(" About Tabbern 5.2"));
        auto* title = aboutBox->findChild<QLabel*>("lblTitle");
        auto* description = aboutBox->findChild<QLabel*>("lblDescription");
        auto* notice = aboutBox->findChild<QLabel*>("lblDisclaimer");
        auto* web = aboutBox->findChild<QLabel*>("Label2");
        auto* ok = aboutBox->findChild<PictureButton*>("cmdOK");
        ASSERT_TRUE(title && description && notice && web && ok);

        EXPECT_EQ(title->text(), QStringLiteral("Tabbern 5.2"));
        // The description's line breaks are the window's line breaks.
        const QString text = description->text();
        EXPECT_TRUE(text.startsWith(QStringLiteral("The Tabbern allows you")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("browser.\n\n* Use multiple")))
            << text.toStdString();
        EXPECT_EQ(text.count(QLatin1Char('\n')), 8);
        EXPECT_FALSE(text.contains(QLatin1Char('\r')));
        EXPECT_EQ(notice->text(), QString::fromStdString(AboutDisclaimer()));
        EXPECT_EQ(web->text(), QString::fromStdString(about.Label2.caption()));
        EXPECT_FALSE(web->text().isEmpty());
        // Every text fits its label: nothing is cut off.
        for (QLabel* label : {title, description, notice, web}) {
            SCOPED_TRACE(label->objectName().toStdString());
            const int needed = label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->sizeHint().height();
            EXPECT_LE(needed, label->height());
            if (!label->wordWrap()) {
                EXPECT_LE(label->sizeHint().width(), label->width());
            }
            EXPECT_TRUE(aboutBox->rect().contains(label->geometry()));
        }
        for (QLabel* label : {title, description, notice})
            EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));

        EXPECT_EQ(ok->face().size(), QSize(84, 22));
        EXPECT_EQ(ok->toolTip(), QStringLiteral(" Close About Screen "));
        EXPECT_FALSE(ok->isDefault() || ok->autoDefault());
        // The window's picture lies on its background colour: the card's ribbon, and the
        // highlight colour in the corner that the card leaves free.
        const QImage shown = aboutBox->grab().toImage();
        const QImage picture = tabbernBitmap(102).toImage();
        EXPECT_EQ(shown.pixelColor(383, 30), picture.pixelColor(383, 30));
        ASSERT_EQ(picture.pixelColor(0, 0).alpha(), 0);
        EXPECT_EQ(shown.pixelColor(0, 0), QApplication::palette().color(QPalette::Highlight));

        QTest::mouseClick(ok, Qt::LeftButton);
    });
    action("menuabout")->trigger();
    EXPECT_FALSE(aboutBox->isVisible());
    EXPECT_FALSE(about.visible());

    // Escape closes it too, as the frame's close button does.
    inModal(*aboutBox, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    action("menuabout")->trigger();
    EXPECT_FALSE(aboutBox->isVisible());
}

TEST_F(Desktop, TheAboutBoxsTitleAndWebAddressTakeClicksWhileEnabled) {
    start();
    std::vector<std::string> clicks;
    AboutForm& about = app->frmAbout;
    about.lblTitle.onClick = [&] { clicks.push_back("title"); };
    about.Label2.onClick = [&] { clicks.push_back("address"); };
    inModal(*aboutBox, [&] {
        auto* title = aboutBox->findChild<QLabel*>("lblTitle");
        auto* web = aboutBox->findChild<QLabel*>("Label2");
        ASSERT_TRUE(title && web);
        EXPECT_EQ(web->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(title, Qt::LeftButton);
        QTest::mouseClick(web, Qt::LeftButton);
        // Pressed on the label but released off it is no click.
        QTest::mousePress(web, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(2, -30));
        host->runEvent([&] { about.Label2.setEnabled(false); });
        QTest::mouseClick(web, Qt::LeftButton);
        EXPECT_NE(web->cursor().shape(), Qt::PointingHandCursor);
        host->runEvent([&] { host->hideForm(about); });
    });
    action("menuabout")->trigger();
    EXPECT_EQ(clicks, (std::vector<std::string>{"title", "address"}));
}

TEST_F(Desktop, HelpWindowShowsTheHelpReadOnlyAndScrollableAndCloses) {
    start();
    inModal(*helpWindow, [&] {
        EXPECT_EQ(helpWindow->windowTitle(), QStringLiteral("Tabbern Help"));
        auto* text = helpWindow->findChild<QPlainTextEdit*>("Text1");
        auto* close = helpWindow->findChild<QPushButton*>("Command1");
        ASSERT_TRUE(text && close);
        const QString shown = text->toPlainText();
        EXPECT_TRUE(shown.contains(QStringLiteral("\n\nBookmarks->Add A Bookmark:\nOpens")));
        EXPECT_TRUE(shown.contains(QStringLiteral("\nBackups:\n")));
        EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
        EXPECT_TRUE(text->isReadOnly());

        // Longer than the window: the keyboard scrolls it, typing changes nothing.
        QScrollBar* bar = text->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0);
        text->setFocus();
        QTest::keyClick(text, Qt::Key_PageDown);
        EXPECT_GT(bar->value(), 0);
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        EXPECT_TRUE(text->textCursor().atEnd());
        EXPECT_TRUE(text->viewport()->rect().contains(text->cursorRect()));
        EXPECT_GT(bar->value(), bar->maximum() / 2);
        QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(bar->value(), 0);
        QTest::keyClicks(text, "typed");
        EXPECT_EQ(text->toPlainText(), shown);
        EXPECT_EQ(app->frmHelp.Text1.text(), HelpText());

        EXPECT_EQ(close->text(), QStringLiteral(" Close "));
        EXPECT_TRUE(helpWindow->rect().contains(close->geometry()));
        EXPECT_FALSE(close->geometry().intersects(text->geometry()));
        QTest::mouseClick(close, Qt::LeftButton);
    });
    action("helpdocument")->trigger();
    EXPECT_FALSE(helpWindow->isVisible());
    EXPECT_FALSE(app->frmHelp.visible());
}

// ---- minimising ---------------------------------------------------------------------------------

TEST_F(Desktop, WithoutATrayMinimisingLeavesTheWindowInTheTaskBar) {
    start();
    ASSERT_FALSE(platform->trayAvailable()) << "the offscreen desktop has no notification area";
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));

    minimise();
    EXPECT_TRUE(view->isMinimized());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(app->main.windowState(), WindowState::Minimized);
    EXPECT_TRUE(app->main.visible());
    EXPECT_EQ(ReadBytes(programFile("tabbern.min")), "Tabbern 5.2\r\n");
    EXPECT_EQ(app->inTrayFlag, -1);

    view->showNormal();
    EXPECT_EQ(app->main.windowState(), WindowState::Normal);
    EXPECT_FALSE(Exists(programFile("tabbern.min")));
    EXPECT_EQ(app->inTrayFlag, 0);
}

class DesktopWithTray : public Desktop {
protected:
    void startWithTray() {
        start({}, [](QtPlatform& p) { p.setTrayAvailable(true); });
    }
    void minimiseIntoTheTray() {
        minimise();
        EXPECT_FALSE(view->isVisible());
        EXPECT_FALSE(app->main.visible());
        EXPECT_EQ(ReadBytes(programFile("tabbern.min")), "Tabbern 5.2\r\n");
        EXPECT_EQ(app->inTrayFlag, -1);
    }
};

TEST_F(DesktopWithTray, MinimisingHidesTheWindowAndALeftClickBringsItBackInFront) {
    startWithTray();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    for (int action : {QtPlatform::kTrayLeftButtonUp, QtPlatform::kTrayLeftDoubleClick}) {
        SCOPED_TRACE(action);
        minimiseIntoTheTray();
        // Other mouse actions leave it where it is.
        host->trayAction(512);
        EXPECT_FALSE(view->isVisible());

        host->trayAction(action);
        EXPECT_TRUE(view->isVisible());
        EXPECT_FALSE(view->isMinimized());
        EXPECT_EQ(app->main.windowState(), WindowState::Normal);
        EXPECT_TRUE(app->main.visible());
        EXPECT_FALSE(Exists(programFile("tabbern.min")));
        EXPECT_TRUE(QTest::qWaitForWindowActive(view));
        EXPECT_EQ(app->inTrayFlag, 0);
    }
}

TEST_F(DesktopWithTray, StartingMinimisedStartsInTheTray) {
    home.temp().makeDir("data/tabbern");
    WriteCfg(programFile("tabbern.cfg"), 1, 0, 0, 0);
    startWithTray();
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(action("menuloadminimized")->isChecked());
    EXPECT_EQ(ReadBytes(programFile("tabbern.min")), "Tabbern 5.2\r\n");

    host->trayAction(QtPlatform::kTrayLeftButtonUp);
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(view->isMinimized());
    EXPECT_FALSE(Exists(programFile("tabbern.min")));
}

TEST_F(DesktopWithTray, RightClickPopsUpTheBookmarksMenuWhoseExitEndsTheProgram) {
    startWithTray();
    minimiseIntoTheTray();
    QString popped;
    QString question;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        popped = menu->objectName();
        WhenModalShows([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(menu, Qt::Key_X); // the access key of "E&xit"
    });
    host->trayAction(QtPlatform::kTrayRightButtonUp);
    EXPECT_EQ(popped, QStringLiteral("menunames"));
    EXPECT_EQ(question, QStringLiteral("Exit Tabbern 5.2"));
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(Exists(programFile("tabbern.min")));
    EXPECT_FALSE(Exists(programFile("tabbern.run")));
}

} // namespace
} // namespace tabbern::test
