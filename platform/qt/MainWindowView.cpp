#include "platform/qt/MainWindowView.h"

#include "app/App.h"
#include "app/Exit.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/Resources.h"
#include "platform/qt/ViewSupport.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>

namespace tabbern {

namespace {

constexpr int kTwipsPerPixel = 15;

QRect PixelRect(const TwipRect& r) {
    auto px = [](int twips) { return qRound(static_cast<double>(twips) / kTwipsPerPixel); };
    return {px(r.left), px(r.top), px(r.width), px(r.height)};
}

// Which palette roles a widget paints its text and its background with.
enum class Surface { Label, Field, Button };

void ApplyColours(QWidget* w, Surface surface, const QColor& fore, const QColor& back) {
    QPalette pal = QApplication::palette(w);
    const QPalette::ColorRole foreRole = surface == Surface::Label   ? QPalette::WindowText
                                         : surface == Surface::Field ? QPalette::Text
                                                                     : QPalette::ButtonText;
    const QPalette::ColorRole backRole = surface == Surface::Label   ? QPalette::Window
                                         : surface == Surface::Field ? QPalette::Base
                                                                     : QPalette::Button;
    if (fore.isValid()) {
        // A disabled control keeps the desktop's greyed text, as disabled controls show.
        pal.setColor(QPalette::Active, foreRole, fore);
        pal.setColor(QPalette::Inactive, foreRole, fore);
    }
    if (back.isValid())
        pal.setColor(backRole, back);
    if (w->palette() != pal)
        w->setPalette(pal);
    if (surface == Surface::Label)
        w->setAutoFillBackground(back.isValid());
}

WindowState StateOf(const QWidget& w) {
    if (w.isMinimized())
        return WindowState::Minimized;
    if (w.isMaximized())
        return WindowState::Maximized;
    return WindowState::Normal;
}

} // namespace

MainWindowView::MainWindowView(QtPlatform& platform, App& app)
    : platform_(platform), app_(app), form_(app.main),
      menus_([this](MenuItem& item) { platform_.runEvent([&item] { item.click(); }); }) {
    setObjectName(Q(form_.name()));
    // A fixed window: the controls lie at absolute positions, so it neither grows nor
    // maximises.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    client_->setFixedSize(MainForm::kClientWidth / kTwipsPerPixel,
                          MainForm::kClientHeight / kTwipsPerPixel);
    setCentralWidget(client_);

    buildMenus();
    buildControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();

    // The core centres the window from its size before it is first shown.
    recordFrameGeometry();
    platform_.registerView(*this);
    sync();
}

MainWindowView::~MainWindowView() {
    platform_.unregisterView(*this);
}

Form& MainWindowView::form() {
    return form_;
}

// ---- building ---------------------------------------------------------------------------------

void MainWindowView::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    // All five menus share the width of the narrow window.
    QFont font = bar->font();
    font.setPixelSize(11);
    bar->setFont(font);
    bar->setStyleSheet(
        QStringLiteral("QMenuBar { spacing: 0px; }"
                       "QMenuBar::item { padding: 3px 4px; background: transparent; }"
                       "QMenuBar::item:selected, QMenuBar::item:pressed {"
                       " background: palette(highlight); color: palette(highlighted-text); }"));
    for (MenuItem* menu : form_.menuBar)
        menus_.addMenu(*bar, *menu);
}

template <class W> W* MainWindowView::place(Control& model, W* widget) {
    widget->setObjectName(Q(model.name()));
    if (const TwipRect* rect = MainForm::layoutOf(model.name()))
        widget->setGeometry(PixelRect(*rect));
    return widget;
}

void MainWindowView::bind(Control& model, std::function<void()> render) {
    bindings_.push_back({&model, std::move(render), 0});
}

void MainWindowView::renderCommon(const Control& model, QWidget* widget) {
    widget->setEnabled(model.enabled());
    widget->setVisible(model.visible());
    const QString tip = Q(model.toolTip());
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);
}

void MainWindowView::buildControls() {
    // The window's own font, sized so that every caption fits its designed height.
    QFont font = client_->font();
    font.setPixelSize(11);
    client_->setFont(font);
    QFont small = font;
    small.setPixelSize(10);

    const QColor white(Qt::white);
    const QColor none; // the palette's own colour

    // Creation order is stacking order: the background first, the captions over it.
    auto label = [this](Label& model, const QColor& designFore, const QColor& designBack) {
        QLabel* w = place(model, new QLabel(client_));
        w->setTextFormat(Qt::PlainText);
        w->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        bind(model, [this, &model, w, designFore, designBack] {
            renderCommon(model, w);
            ApplyColours(w, Surface::Label, ResolveColour(model.foreColour(), designFore),
                         ResolveColour(model.backColour(), designBack));
            const QString caption = Q(model.caption());
            if (w->text() != caption)
                w->setText(caption);
        });
        return w;
    };

    // Picture1: the background picture, the one its model names.
    picture_ = place(form_.Picture1, new QLabel(client_));
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bind(form_.Picture1, [this] {
        renderCommon(form_.Picture1, picture_);
        picture_->setPixmap(tabbernBitmap(form_.Picture1.picture()));
    });

    dataPath_ = label(form_.lblAltDatapath, white,
                      ResolveColour(Colour::system(Colour::Kind::ActiveTitleBar), none));
    dataPath_->setFont(small);
    dataPath_->installEventFilter(this);
    label(form_.Label1, white, none);

    groups_ = place(form_.Combo1, new QComboBox(client_));
    groups_->setEditable(true);
    groups_->setInsertPolicy(QComboBox::NoInsert);
    groups_->setCompleter(nullptr);
    groups_->setMaxVisibleItems(20);
    // Leaving the box with the text of an entry typed in would otherwise choose that entry:
    // only a real choice from the list counts as a click.
    QObject::disconnect(groups_->lineEdit(), &QLineEdit::editingFinished, groups_, nullptr);
    // The combo box holds the focus and hands keys to its line edit itself, past any filter
    // on the line edit: Enter is caught at the combo box (and at the line edit, should it ever
    // hold the focus).
    groups_->installEventFilter(this);
    groups_->lineEdit()->installEventFilter(this);
    bind(form_.Combo1, [this] {
        const ComboBox& m = form_.Combo1;
        const QSignalBlocker block(groups_);
        renderCommon(m, groups_);
        ApplyColours(groups_, Surface::Field, ResolveColour(m.foreColour(), {}),
                     ResolveColour(m.backColour(), {}));
        const QStringList items = ToQStrings(m.items());
        if (!SameItems(*groups_, items)) {
            groups_->clear();
            groups_->addItems(items);
        }
        if (m.listIndex() >= 0 && groups_->currentIndex() != m.listIndex())
            groups_->setCurrentIndex(m.listIndex());
        // Only a changed text is set, so that typing keeps its cursor position.
        const QString text = Q(m.text());
        if (groups_->currentText() != text)
            groups_->setEditText(text);
    });
    connect(groups_, &QComboBox::activated, this, [this](int index) {
        platform_.runEvent([this, index] { form_.Combo1.setListIndex(index); });
    });
    connect(groups_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        platform_.runEvent([this, text] { form_.Combo1.setText(text.toStdString()); });
    });

    list_ = place(form_.List1, new QListWidget(client_));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->viewport()->installEventFilter(this);
    bind(form_.List1, [this] {
        const ListBox& m = form_.List1;
        const QSignalBlocker block(list_);
        renderCommon(m, list_);
        ApplyColours(list_, Surface::Field, ResolveColour(m.foreColour(), {}),
                     ResolveColour(m.backColour(), QColor(Qt::white)));
        const QStringList items = ToQStrings(m.items());
        if (!SameItems(*list_, items)) {
            list_->clear();
            list_->addItems(items);
        }
        if (list_->currentRow() != m.listIndex())
            list_->setCurrentRow(m.listIndex());
    });
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { listRowChangedByUser(row); });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (pressAlreadyClicked_) {
            pressAlreadyClicked_ = false;
            return;
        }
        const int row = list_->row(item);
        platform_.runEvent([this, row] { form_.List1.setListIndex(row); });
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        platform_.runEvent([this] {
            if (form_.List1.onDblClick)
                form_.List1.onDblClick();
        });
    });

    search_ = place(form_.TextNameSearch, new QLineEdit(client_));
    search_->installEventFilter(this);
    bind(form_.TextNameSearch, [this] {
        const TextBox& m = form_.TextNameSearch;
        renderCommon(m, search_);
        ApplyColours(search_, Surface::Field, ResolveColour(m.foreColour(), {}),
                     ResolveColour(m.backColour(), {}));
        const QString text = Q(m.text());
        if (search_->text() != text)
            search_->setText(text);
    });
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) {
        platform_.runEvent([this, text] { form_.TextNameSearch.setText(text.toStdString()); });
    });

    find_ = place(form_.Command2, new QPushButton(client_));
    // Enter never presses a button by itself here; the boxes handle their own Enter.
    find_->setAutoDefault(false);
    find_->setDefault(false);
    bind(form_.Command2, [this] {
        const Button& m = form_.Command2;
        renderCommon(m, find_);
        ApplyColours(find_, Surface::Button, ResolveColour(m.foreColour(), {}),
                     ResolveColour(m.backColour(), {}));
        find_->setText(Q(m.caption()));
        const QPixmap face = tabbernBitmap(m.picture());
        find_->setIcon(QIcon(face));
        if (!face.isNull())
            find_->setIconSize(face.size());
    });
    connect(find_, &QPushButton::clicked, this,
            [this] { platform_.runEvent([this] { form_.Command2.click(); }); });

    // The details of the selected bookmark, in the smaller type their rows are designed for.
    for (Label* detail : {&form_.LabelLastAccessed, &form_.lblDateAccessed, &form_.Label2,
                          &form_.lblWhatGroup, &form_.LabelShowURLAddress})
        label(*detail, none, none)->setFont(small);
    // A double-click on the URL opens the bookmark.
    url_ = client_->findChild<QLabel*>(Q(form_.LabelShowURLAddress.name()));
    url_->installEventFilter(this);
}

// ---- rendering --------------------------------------------------------------------------------

void MainWindowView::sync() {
    const bool focusRequested = renderedFocusRequests_ != form_.focusRequests();
    renderForm();
    for (Binding& b : bindings_) {
        if (b.rendered != b.model->revision()) {
            b.render();
            b.rendered = b.model->revision();
        }
    }
    menus_.sync();
    if (focusRequested)
        ApplyFocusRequest(form_, client_);
    renderedFocusRequests_ = form_.focusRequests();
}

void MainWindowView::renderForm() {
    if (renderedFormRevision_ == form_.revision())
        return;
    const QString caption = Q(form_.caption());
    if (windowTitle() != caption)
        setWindowTitle(caption);
    const QIcon icon = tabbernIcon(form_.icon());
    if (!icon.isNull() && windowIcon().cacheKey() != icon.cacheKey())
        setWindowIcon(icon);

    const QPoint wanted(qRound(form_.left() / kTwipsPerPixel),
                        qRound(form_.top() / kTwipsPerPixel));
    if (frameGeometry().topLeft() != wanted)
        move(wanted);

    const Qt::WindowStates stateFlags = Qt::WindowMinimized | Qt::WindowMaximized;
    const Qt::WindowStates wantedState =
        form_.windowState() == WindowState::Minimized   ? Qt::WindowMinimized
        : form_.windowState() == WindowState::Maximized ? Qt::WindowMaximized
                                                        : Qt::WindowNoState;
    if ((windowState() & stateFlags) != wantedState)
        setWindowState((windowState() & ~stateFlags) | wantedState);

    renderedFormRevision_ = form_.revision();
}

// ---- the window as a window ------------------------------------------------------------------

// Keeps the model's position and size in step with the window (the frame included), without
// running any handler. A change the model already had pending is still applied at the next
// sync.
void MainWindowView::recordFrameGeometry() {
    if (isMinimized())
        return;
    const bool current = renderedFormRevision_ == form_.revision();
    const QRect frame = frameGeometry();
    form_.move(frame.x() * kTwipsPerPixel, frame.y() * kTwipsPerPixel);
    form_.setSize(frame.width() * kTwipsPerPixel, frame.height() * kTwipsPerPixel);
    if (current)
        renderedFormRevision_ = form_.revision();
}

void MainWindowView::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    recordFrameGeometry();
}

void MainWindowView::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    recordFrameGeometry();
}

void MainWindowView::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange)
        userChangedWindowState();
}

// A state the model does not hold yet comes from the user (the minimise button, the task
// bar); one the model holds was applied from it.
void MainWindowView::userChangedWindowState() {
    const WindowState now = StateOf(*this);
    if (now == form_.windowState())
        return;
    const bool current = renderedFormRevision_ == form_.revision();
    form_.setWindowState(now);
    if (current)
        renderedFormRevision_ = form_.revision();
    // The core reacts to the new state: minimised hides the window into the notification area,
    // normal clears the minimised marker.
    platform_.runEvent([this] {
        if (form_.onResize)
            form_.onResize();
    });
}

// The close box ends the program through the core's exit sequence, without a question. The
// window itself never closes: the process ends first.
void MainWindowView::closeEvent(QCloseEvent* e) {
    e->ignore();
    platform_.runEvent([this] { MainForm_Unload(app_); });
}

// ---- user input -------------------------------------------------------------------------------

void MainWindowView::listRowChangedByUser(int row) {
    // Signals are blocked while the view renders, so this is the user: a press on another
    // entry or an arrow key. Either is a click.
    if (row < 0)
        return;
    pressAlreadyClicked_ = true;
    platform_.runEvent([this, row] { form_.List1.setListIndex(row); });
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == list_->viewport() && e->type() == QEvent::MouseButtonPress) {
        pressAlreadyClicked_ = false;
    } else if ((watched == groups_ || watched == groups_->lineEdit()) && IsEnter(e)) {
        platform_.runEvent([this] {
            if (form_.Combo1.onKeyPress)
                form_.Combo1.onKeyPress(13);
        });
        return true;
    } else if (watched == search_ && IsEnter(e)) {
        platform_.runEvent([this] {
            if (form_.TextNameSearch.onKeyPress)
                form_.TextNameSearch.onKeyPress(13);
        });
        return true;
    } else if ((watched == dataPath_ || watched == url_) &&
               e->type() == QEvent::MouseButtonDblClick) {
        Label& model = watched == url_ ? form_.LabelShowURLAddress : form_.lblAltDatapath;
        // A disabled label takes no double-click, as a disabled control takes no input.
        if (model.enabled())
            platform_.runEvent([&model] {
                if (model.onDblClick)
                    model.onDblClick();
            });
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

} // namespace tabbern
