// The harder yardstick of the start-up benchmark: a plain Qt Widgets program that shows the
// widgets of Tabbern's main window with the same content, and does nothing else. The menu bar
// has the same menus, items and type; the list, the group selector and the labels hold the
// texts the measured store gives; the background picture is the same image; every control lies
// on the same pixel rectangle. What it costs is what Qt costs for the window; what Tabbern takes
// beyond it is the program's own work.
//
// The texts that depend on the store come from the file named by TABBERN_SAME_WIDGETS_TEXTS,
// which bench/startup-ratio.sh derives from the store it generates, one text a line:
//   row <text>               a line of the list, in order
//   entry <text>             an entry of the group selector, in order
//   caption <control> <text> a label's caption (lblAltDatapath, lblDateAccessed,
//                            lblWhatGroup, LabelShowURLAddress)
// With TABBERN_EXIT_WHEN_SHOWN set it ends right after the window's first paint, as the program
// does, and in the same way.
#include "platform/qt/QuitAfterFirstPaint.h"
#include "tabbern/Version.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace {

// One item of a menu: a caption, a separator (nullptr caption), or a submenu.
struct Item {
    const char* caption;
    bool checkable = false;
    bool checked = false;
    std::initializer_list<Item> sub = {};
};

struct Menu {
    const char* caption;
    std::initializer_list<Item> items;
};

// The main window's menu bar as the program builds it: captions with their access keys, the
// sort orders and the options (but not the data folder's command) with ticks, the sort by name
// ticked as a first start leaves it.
const Menu kMenus[] = {
    {"&Bookmarks",
     {{"&Add A Bookmark"},
      {"&Edit Selected Bookmark"},
      {"&Delete Selected Bookmark"},
      {"&Sort By",
       false,
       false,
       {{"&Bookmark Name", true, true},
        {"&URL Link Address", true},
        {"&Date Added", true},
        {"&Date Last Accessed", true}}},
      {nullptr},
      {"E&xit"}}},
    {"&Groups",
     {{"&Add Group Below"},
      {"&Edit Selected Group"},
      {"&Delete Selected Group"},
      {nullptr},
      {"Check &Links In Selected Group"}}},
    {"&Share",
     {{"Import From A &Text File"},
      {"Import From The Windows &Clipboard"},
      {"Import From A &Tabbern File"},
      {"&Export Group To A Tabbern Data File"},
      {nullptr},
      {"Import From A &Browser Bookmarks File"},
      {"Export To A &Web Browser Bookmarks File"}}},
    {"&Options",
     {{"Remember Sort &Choices", true},
      {"Remember Screen &Location", true},
      {"&Start When Windows Starts", true},
      {"Start Tabbern &Minimized", true},
      {"Change &Path For Data Files"}}},
    {"&Help", {{"&About Tabbern"}, {"Tabbern &Help"}, {"Tabbern &Website"}}},
};

void Fill(QMenu& menu, std::initializer_list<Item> items) {
    for (const Item& item : items) {
        if (!item.caption) {
            menu.addSeparator();
        } else if (item.sub.size() > 0) {
            Fill(*menu.addMenu(QString::fromUtf8(item.caption)), item.sub);
        } else {
            QAction* action = menu.addAction(QString::fromUtf8(item.caption));
            action->setCheckable(item.checkable);
            action->setChecked(item.checked);
        }
    }
}

struct Texts {
    QStringList rows;
    QStringList entries;
    QHash<QString, QString> captions;
};

bool ReadTexts(const QString& path, Texts& out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QLatin1String row("row "), entry("entry "), caption("caption ");
    for (const QString& line : lines) {
        if (line.startsWith(row)) {
            out.rows << line.mid(row.size());
        } else if (line.startsWith(entry)) {
            out.entries << line.mid(entry.size());
        } else if (line.startsWith(caption)) {
            const qsizetype space = line.indexOf(QLatin1Char(' '), caption.size());
            if (space > 0)
                out.captions.insert(line.mid(caption.size(), space - caption.size()),
                                    line.mid(space + 1));
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/tabbern/icon101/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    Texts texts;
    const QString path = qEnvironmentVariable("TABBERN_SAME_WIDGETS_TEXTS");
    if (path.isEmpty() || !ReadTexts(path, texts)) {
        std::fprintf(stderr, "set TABBERN_SAME_WIDGETS_TEXTS to the file of the window's texts\n");
        return 2;
    }

    QDialog window;
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral(" Tabbern " TABBERN_VERSION_TEXT));
    QFont type = window.font();
    type.setPixelSize(11);
    window.setFont(type);
    QFont small = type;
    small.setPixelSize(10);

    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QMenuBar(&window);
    bar->setFont(type);
    bar->setStyleSheet(
        QStringLiteral("QMenuBar { spacing: 0px; }"
                       "QMenuBar::item { padding: 3px 4px; background: transparent; }"
                       "QMenuBar::item:selected, QMenuBar::item:pressed {"
                       " background: palette(highlight); color: palette(highlighted-text); }"));
    for (const Menu& menu : kMenus)
        Fill(*bar->addMenu(QString::fromUtf8(menu.caption)), menu.items);
    column->setMenuBar(bar);
    auto* client = new QWidget(&window);
    client->setFixedSize(250, 510);
    column->addWidget(client);
    column->setSizeConstraint(QLayout::SetFixedSize);

    // The controls in the program's stacking order, on the program's pixel rectangles.
    auto* picture = new QLabel(client);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(QPixmap(QStringLiteral(":/tabbern/bitmap101.bmp")));
    picture->setGeometry(-8, 0, 265, 577);

    const auto label = [client](const QRect& at, const QFont& font, const QString& caption) {
        auto* w = new QLabel(client);
        w->setTextFormat(Qt::PlainText);
        w->setFont(font);
        w->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        w->setText(caption);
        w->setGeometry(at);
        return w;
    };
    const auto whiteText = [](QLabel* w) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
        pal.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
        w->setPalette(pal);
    };

    QLabel* folder =
        label({-8, 0, 265, 15}, small, texts.captions.value(QStringLiteral("lblAltDatapath")));
    whiteText(folder);
    QPalette titleBar = folder->palette();
    titleBar.setColor(QPalette::Window, QApplication::palette().color(QPalette::Highlight));
    folder->setPalette(titleBar);
    folder->setAutoFillBackground(true);

    whiteText(label({24, 32, 61, 17}, type, QStringLiteral("My Groups")));

    auto* groups = new QComboBox(client);
    groups->setEditable(true);
    groups->setInsertPolicy(QComboBox::NoInsert);
    groups->setCompleter(nullptr);
    groups->setMaxVisibleItems(20);
    groups->addItems(texts.entries);
    groups->setCurrentIndex(0);
    groups->setGeometry(24, 48, 201, 21);

    auto* list = new QListWidget(client);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->addItems(texts.rows);
    list->setCurrentRow(0);
    list->setGeometry(24, 72, 201, 342);

    auto* search = new QLineEdit(client);
    QPalette face = search->palette();
    face.setColor(QPalette::Base, QApplication::palette().color(QPalette::Button));
    search->setPalette(face);
    search->setGeometry(22, 416, 153, 19);

    auto* find = new QPushButton(client);
    find->setAutoDefault(false);
    find->setDefault(false);
    const QPixmap findFace(QStringLiteral(":/tabbern/bitmap104.png"));
    find->setIcon(QIcon(findFace));
    find->setIconSize(findFace.size());
    find->setGeometry(180, 418, 46, 20);

    label({24, 440, 105, 11}, small, QStringLiteral("Last Accessed On:"));
    label({115, 440, 81, 11}, small, texts.captions.value(QStringLiteral("lblDateAccessed")));
    label({24, 456, 33, 17}, small, QStringLiteral("Group:"));
    label({64, 456, 152, 17}, small, texts.captions.value(QStringLiteral("lblWhatGroup")));
    label({24, 472, 198, 13}, small, texts.captions.value(QStringLiteral("LabelShowURLAddress")));
    label({24, 488, 198, 13}, small, texts.captions.value(QStringLiteral("lblLastChecked")));

    window.adjustSize();
    // Centred on the screen, as the program places a window it has no remembered place for.
    const QRect screen = window.screen()->geometry();
    window.move((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);

    tabbern::QuitAfterFirstPaint quitWhenShown(window);
    quitWhenShown.installIfRequested();
    window.show();
    const int status = QApplication::exec();
    // The program ends without tearing its widgets down once its exit sequence has run; ending
    // the same way keeps the teardown, several milliseconds for a list this long, out of the
    // comparison.
    std::fflush(stdout);
    std::_Exit(status);
}
