#include "platform/qt/QtFormWindow.h"

#include "platform/qt/Resources.h"
#include "platform/qt/ViewSupport.h"
#include "ui/AboutHelp.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace tabbern {

namespace {

constexpr double kTwipsPerPixel = 15;

int Px(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

QRect PixelRect(const TwipRect& r) {
    return {Px(r.left), Px(r.top), Px(r.width), Px(r.height)};
}

QColor RgbColour(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

WindowState StateOf(const QWidget& w) {
    if (w.isMinimized())
        return WindowState::Minimized;
    if (w.isMaximized())
        return WindowState::Maximized;
    return WindowState::Normal;
}

// The type a control's flags ask for, from the window's own.
QFont FontFor(QFont font, const FormLayout& layout, unsigned flags) {
    font.setPixelSize(FontPixels(layout, flags));
    font.setBold(IsBold(flags));
    font.setItalic((flags & kItalic) != 0);
    font.setUnderline((flags & kLink) != 0);
    return font;
}

// A line of a list that is a web address rather than a bookmark's name.
bool IsAddressLine(const QString& line) {
    const QString s = line.trimmed().toLower();
    return s.startsWith(QLatin1String("www")) || s.contains(QLatin1String("://"));
}

// A list of a share file's bookmarks shows each as a name over its address: names in bold,
// addresses in the link colour. A list of links alone shows them all in the link colour.
class EntriesHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat format;
        if (IsAddressLine(text)) {
            format.setForeground(RgbColour(kLinkRgb));
        } else {
            format.setForeground(RgbColour(kNameRgb));
            format.setFontWeight(QFont::Bold);
        }
        setFormat(0, static_cast<int>(text.size()), format);
    }
};

// Sets each bookmark of such a list a little apart from the one before: a name that follows an
// address starts a new entry.
void SpaceEntries(QTextEdit* list) {
    QTextCursor cursor(list->document());
    bool afterAddress = false;
    for (QTextBlock b = list->document()->begin(); b.isValid(); b = b.next()) {
        const bool address = IsAddressLine(b.text());
        QTextBlockFormat format = b.blockFormat();
        const qreal gap = !address && afterAddress ? 7 : 0;
        if (format.topMargin() != gap) {
            format.setTopMargin(gap);
            cursor.setPosition(b.position());
            cursor.setBlockFormat(format);
        }
        afterAddress = address;
    }
}

// A document's section headings ("Bookmarks->Add A Bookmark:", "Notes:") in bold: a short line
// that ends in a colon.
class HeadingHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        const QString line = text.trimmed();
        if (line.endsWith(QLatin1Char(':')) && line.size() <= 60) {
            QTextCharFormat heading;
            heading.setFontWeight(QFont::Bold);
            heading.setForeground(RgbColour(kNameRgb));
            setFormat(0, static_cast<int>(text.size()), heading);
        }
    }
};

// A decorative rule, etched like the line the dialogs' card carries: a shaded row over a white
// one.
class EtchedRule : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(0, 0, width(), 1, QColor(0xc3, 0xd2, 0xe3));
        p.fillRect(0, 1, width(), 1, QColor(255, 255, 255, 230));
    }
};

// A web address set on at most two lines of the width: broken where it no longer fits, after a
// slash or a dot when one lies near the end of the first line, and shortened in the middle of
// the second line when even two lines are too few.
QString FitAddress(const QString& link, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(link) <= width)
        return link;
    // The longest beginning that fits, found by halving: links can be long.
    qsizetype fits = 1;
    qsizetype tooLong = link.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (metrics.horizontalAdvance(link.left(middle)) <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    qsizetype cut = fits;
    for (qsizetype i = fits; i > fits * 2 / 3; --i) {
        const QChar c = link.at(i - 1);
        if (c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('?') ||
            c == QLatin1Char('&')) {
            cut = i;
            break;
        }
    }
    return link.left(cut) + QLatin1Char('\n') +
           metrics.elidedText(link.mid(cut), Qt::ElideMiddle, width);
}

} // namespace

// ---- PictureButton ----------------------------------------------------------------------------

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {
    // Hovering repaints, so that the face answers the pointer.
    setAttribute(Qt::WA_Hover);
}

void PictureButton::setFace(const QPixmap& face) {
    if (face.cacheKey() == face_.cacheKey())
        return;
    face_ = face;
    update();
}

void PictureButton::paintEvent(QPaintEvent* e) {
    if (face_.isNull()) {
        QPushButton::paintEvent(e);
        return;
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize size = face_.deviceIndependentSize().toSize();
    const QPixmap shown = isEnabled() ? face_ : QIcon(face_).pixmap(size, QIcon::Disabled);
    QRect at(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    if (isDown())
        at.translate(1, 1);
    p.drawPixmap(at, shown);

    const QRectF ring = QRectF(at).adjusted(1, 1, -1, -1);
    const QColor accent = palette().color(QPalette::Highlight);
    if (isDown()) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 28));
        p.drawRoundedRect(ring, 4, 4);
    } else if (underMouse() && isEnabled()) {
        QColor glow = accent;
        glow.setAlpha(36);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(ring, 4, 4);
    }
    if (hasFocus()) {
        p.setPen(QPen(accent, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(ring, 4, 4);
    }
}

// ---- building ---------------------------------------------------------------------------------

QtFormWindow::QtFormWindow(ViewHost& host, Form& form, const FormLayout& layout)
    : host_(host), form_(form) {
    setObjectName(Q(form_.name()));
    QFont type = font();
    type.setPixelSize(layout.fontPixels);
    setFont(type);
    const QSize client(Px(layout.clientWidth), Px(layout.clientHeight));
    if (auto* main = dynamic_cast<MainForm*>(&form_)) {
        // A fixed window: the controls lie at absolute positions, so it neither grows nor
        // maximises. Its menu bar lies above the controls' area.
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        auto* bar = new QMenuBar(this);
        bar->setObjectName(QStringLiteral("menuBar"));
        // All five menus share the width of the narrow window.
        QFont small = bar->font();
        small.setPixelSize(layout.fontPixels);
        bar->setFont(small);
        bar->setStyleSheet(
            QStringLiteral("QMenuBar { spacing: 0px; }"
                           "QMenuBar::item { padding: 3px 4px; background: transparent; }"
                           "QMenuBar::item:selected, QMenuBar::item:pressed {"
                           " background: palette(highlight); color: palette(highlighted-text); }"));
        menus_ = std::make_unique<MenuBinder>(
            [this](MenuItem& item) { run([&item] { item.click(); }); });
        for (MenuItem* menu : main->menuBar)
            menus_->addMenu(*bar, *menu);
        column->setMenuBar(bar);
        client_ = new QWidget(this);
        client_->setObjectName(QStringLiteral("clientArea"));
        client_->setFixedSize(client);
        column->addWidget(client_);
        column->setSizeConstraint(QLayout::SetFixedSize);
    } else {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        client_ = this;
        setFixedSize(client);
    }
    build(layout);
    adjustSize();
    // The core centres the main window from its size before it is first shown.
    recordGeometry();
}

QtFormWindow::~QtFormWindow() = default;

void QtFormWindow::bind(const Control& model, std::function<void()> render) {
    bindings_.push_back({&model, std::move(render), 0});
}

void QtFormWindow::run(const std::function<void()>& handler) {
    host_.runEvent(handler);
}

void QtFormWindow::build(const FormLayout& layout) {
    std::map<const Control*, QWidget*> built;
    // Creation order is stacking order: the layout lists the background first. It is also the
    // Tab order.
    for (const Placement& p : layout.controls) {
        Control* model = form_.findControl(p.name);
        if (!model)
            continue;
        QWidget* w = buildControl(*model, p, layout);
        w->setObjectName(Q(model->name()));
        w->setGeometry(PixelRect(p.rect));
        built[model] = w;
    }
    // What a screen reader says of a control follows the captions that name and describe it,
    // and the label before a box is its buddy, read with it.
    for (const auto& [model, w] : built) {
        // A bar speaks its own name and value.
        if (dynamic_cast<const ProgressBar*>(model))
            continue;
        const auto speak = [model, w] { RenderAccessibleText(*model, w); };
        bind(*model, speak);
        for (const Label* caption : {model->label(), model->describedBy()})
            if (caption)
                bind(*caption, speak);
        const auto label = built.find(model->label());
        if (model->label() && label != built.end())
            if (auto* shown = qobject_cast<QLabel*>(label->second))
                shown->setBuddy(w);
    }
}

QWidget* QtFormWindow::buildControl(Control& model, const Placement& p, const FormLayout& layout) {
    if (auto* combo = dynamic_cast<ComboBox*>(&model))
        return buildComboBox(*combo);
    if (auto* list = dynamic_cast<ListBox*>(&model))
        return buildListBox(*list);
    if (auto* bar = dynamic_cast<ProgressBar*>(&model))
        return buildProgressBar(*bar);
    if (auto* text = dynamic_cast<TextBox*>(&model))
        return buildTextBox(*text, p, layout);
    if (auto* button = dynamic_cast<Button*>(&model))
        return buildButton(*button, p);
    if (auto* label = dynamic_cast<Label*>(&model))
        return buildLabel(*label, p, layout);
    if (auto* picture = dynamic_cast<PictureBox*>(&model)) {
        auto* w = new QLabel(client_);
        w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        bind(model, [picture, w] {
            RenderCommon(*picture, w);
            w->setPixmap(tabbernBitmap(picture->picture()));
        });
        return w;
    }
    // A control with nothing but its place: a rule.
    auto* w = new EtchedRule(client_);
    bind(model, [&model, w] { RenderCommon(model, w); });
    return w;
}

QWidget* QtFormWindow::buildLabel(Label& model, const Placement& p, const FormLayout& layout) {
    auto* w = new QLabel(client_);
    w->setTextFormat(Qt::PlainText);
    w->setFont(FontFor(font(), layout, p.flags));
    const bool wraps = (p.flags & (kWrap | kAddress)) != 0;
    w->setWordWrap(wraps);
    w->setAlignment(Qt::AlignLeft |
                    (wraps && !(p.flags & kAddress) ? Qt::AlignTop : Qt::AlignVCenter));
    QColor design = ResolveColour(p.fore, {});
    if (!design.isValid() && (p.flags & (kLink | kLinkColour | kAddress)))
        design = RgbColour(kLinkRgb);
    if (!design.isValid() && layout.labelColour >= 0)
        design = RgbColour(static_cast<std::uint32_t>(layout.labelColour));
    const QColor designBack = ResolveColour(p.back, {});
    const bool address = (p.flags & kAddress) != 0;
    bind(model, [&model, w, design, designBack, address] {
        RenderCommon(model, w);
        SetRole(w, QPalette::WindowText, ResolveColour(model.foreColour(), design), false);
        const QColor back = ResolveColour(model.backColour(), designBack);
        SetRole(w, QPalette::Window, back, true);
        w->setAutoFillBackground(back.isValid());
        const QString caption = address
                                    ? FitAddress(Q(model.caption()), w->fontMetrics(), w->width())
                                    : QMultiLine(model.caption());
        if (w->text() != caption)
            w->setText(caption);
    });
    if (auto* link = dynamic_cast<LinkLabel*>(&model)) {
        links_[w] = link;
        bind(model, [link, w] {
            if (link->enabled())
                w->setCursor(Qt::PointingHandCursor);
            else
                w->unsetCursor();
        });
    }
    dblClickActions_[w] = [&model] { model.dblClick(); };
    w->installEventFilter(this);
    return w;
}

QWidget* QtFormWindow::buildTextBox(TextBox& model, const Placement& p, const FormLayout& layout) {
    if (p.flags & kMultiLine) {
        // Read, not edited: the keyboard still moves through it (Home, End, the arrows).
        const QFont type = FontFor(font(), layout, p.flags);
        if (p.flags & kEntries) {
            auto* list = new QTextEdit(client_);
            list->setReadOnly(true);
            list->setAcceptRichText(false);
            list->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            list->setLineWrapMode(QTextEdit::WidgetWidth);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // Display only, yet the keyboard reaches it, so that a screen reader reads what it
            // lists; Tab goes on to the next control.
            list->setFocusPolicy(Qt::StrongFocus);
            list->setTabChangesFocus(true);
            list->setFont(type);
            list->document()->setDocumentMargin(8);
            new EntriesHighlighter(list->document());
            bind(model, [&model, list] {
                list->setVisible(model.visible());
                const QString tip = Q(model.toolTip());
                if (list->toolTip() != tip)
                    list->setToolTip(tip);
                // Every entry ends in a line break; the last one opens no empty line.
                QString shown = QMultiLine(model.text());
                if (shown.endsWith(QLatin1Char('\n')))
                    shown.chop(1);
                if (list->toPlainText() != shown) {
                    list->setPlainText(shown);
                    SpaceEntries(list);
                }
            });
            return list;
        }
        auto* text = new QPlainTextEdit(client_);
        text->setReadOnly(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setTabChangesFocus(true);
        text->setFont(type);
        text->document()->setDocumentMargin(10);
        if (p.flags & kHeadings)
            new HeadingHighlighter(text->document());
        bind(model, [&model, text] {
            RenderCommon(model, text);
            SetRole(text, QPalette::Text, ResolveColour(model.foreColour(), {}), false);
            SetRole(text, QPalette::Base, ResolveColour(model.backColour(), {}), true);
            const QString shown = QMultiLine(model.text());
            if (text->toPlainText() != shown)
                text->setPlainText(shown);
        });
        return text;
    }
    auto* w = new QLineEdit(client_);
    const bool shown = !(p.flags & kHidden);
    bind(model, [&model, w, shown] {
        RenderCommon(model, w, shown);
        SetRole(w, QPalette::Text, ResolveColour(model.foreColour(), {}), false);
        SetRole(w, QPalette::Base, ResolveColour(model.backColour(), {}), true);
        // Only a changed text is set, so that typing keeps its cursor position.
        const QString text = Q(model.text());
        if (w->text() != text)
            w->setText(text);
    });
    connect(w, &QLineEdit::textEdited, this, [this, &model](const QString& text) {
        run([&model, text] { model.setText(text.toStdString()); });
    });
    enterActions_[w] = [this, &model] { run([&model] { model.keyPress(kEnterKey); }); };
    w->installEventFilter(this);
    return w;
}

QWidget* QtFormWindow::buildComboBox(ComboBox& model) {
    auto* w = new QComboBox(client_);
    w->setEditable(true);
    w->setInsertPolicy(QComboBox::NoInsert);
    w->setCompleter(nullptr);
    w->setMaxVisibleItems(20);
    // Leaving the box with an entry's text typed in would otherwise choose that entry: only a
    // real choice from the list counts as a click.
    QObject::disconnect(w->lineEdit(), &QLineEdit::editingFinished, w, nullptr);
    // The combo box holds the focus and hands keys to its line edit itself, past any filter on
    // the line edit: Enter is caught at both.
    w->installEventFilter(this);
    w->lineEdit()->installEventFilter(this);
    bind(model, [&model, w] {
        const QSignalBlocker block(w);
        RenderCommon(model, w);
        SetRole(w, QPalette::Text, ResolveColour(model.foreColour(), {}), false);
        SetRole(w, QPalette::Base, ResolveColour(model.backColour(), {}), true);
        const QStringList items = ToQStrings(model.items());
        if (!SameItems(*w, items)) {
            w->clear();
            w->addItems(items);
        }
        if (model.listIndex() >= 0 && w->currentIndex() != model.listIndex())
            w->setCurrentIndex(model.listIndex());
        // Only a changed text is set, so that typing keeps its cursor position.
        const QString text = Q(model.text());
        if (w->currentText() != text)
            w->setEditText(text);
    });
    connect(w, &QComboBox::activated, this,
            [this, &model](int index) { run([&model, index] { model.setListIndex(index); }); });
    connect(w->lineEdit(), &QLineEdit::textEdited, this, [this, &model](const QString& text) {
        run([&model, text] { model.setText(text.toStdString()); });
    });
    const auto enter = [this, &model] { run([&model] { model.keyPress(kEnterKey); }); };
    enterActions_[w] = enter;
    enterActions_[w->lineEdit()] = enter;
    return w;
}

QWidget* QtFormWindow::buildListBox(ListBox& model) {
    auto* w = new QListWidget(client_);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setUniformItemSizes(true);
    w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->viewport()->installEventFilter(this);
    bind(model, [&model, w] {
        const QSignalBlocker block(w);
        RenderCommon(model, w);
        SetRole(w, QPalette::Text, ResolveColour(model.foreColour(), {}), false);
        SetRole(w, QPalette::Base, ResolveColour(model.backColour(), QColor(Qt::white)), true);
        const QStringList items = ToQStrings(model.items());
        if (!SameItems(*w, items)) {
            w->clear();
            w->addItems(items);
        }
        if (w->currentRow() != model.listIndex())
            w->setCurrentRow(model.listIndex());
    });
    // Signals are blocked while the window renders, so a change of row is the user's: a press
    // on another entry or an arrow key. Either is a click.
    connect(w, &QListWidget::currentRowChanged, this, [this, &model](int row) {
        if (row < 0)
            return;
        pressAlreadyClicked_ = true;
        run([&model, row] { model.setListIndex(row); });
    });
    connect(w, &QListWidget::itemClicked, this, [this, &model, w](QListWidgetItem* item) {
        if (pressAlreadyClicked_) {
            pressAlreadyClicked_ = false;
            return;
        }
        const int row = w->row(item);
        run([&model, row] { model.setListIndex(row); });
    });
    connect(w, &QListWidget::itemDoubleClicked, this,
            [this, &model](QListWidgetItem*) { run([&model] { model.dblClick(); }); });
    return w;
}

QWidget* QtFormWindow::buildProgressBar(ProgressBar& model) {
    auto* w = new QProgressBar(client_);
    // The label beside it says how far in words.
    w->setTextVisible(false);
    const auto render = [&model, w] {
        RenderCommon(model, w);
        // A bar of nothing to do stands empty rather than busy.
        const int maximum = std::max(model.maximum(), 1);
        if (w->maximum() != maximum)
            w->setRange(0, maximum);
        if (w->value() != model.value())
            w->setValue(model.value());
        const QString name = Q(model.accessibleName());
        if (w->accessibleName() != name)
            w->setAccessibleName(name);
        const Label* says = model.describedBy();
        const QString description = says ? Q(says->caption()) : QString();
        if (w->accessibleDescription() != description)
            w->setAccessibleDescription(description);
    };
    bind(model, render);
    if (const Label* says = model.describedBy())
        bind(*says, render);
    return w;
}

QWidget* QtFormWindow::buildButton(Button& model, const Placement& p) {
    // A symbol on a push button, or a whole face of its own.
    QPushButton* w = (p.flags & kFramed) ? new QPushButton(client_) : new PictureButton(client_);
    // No button is ever pressed by Enter typed elsewhere in the window.
    w->setAutoDefault(false);
    w->setDefault(false);
    w->installEventFilter(this);
    bind(model, [&model, w] {
        RenderCommon(model, w);
        // The colours show on a button without a face.
        SetRole(w, QPalette::ButtonText, ResolveColour(model.foreColour(), {}), false);
        SetRole(w, QPalette::Button, ResolveColour(model.backColour(), {}), true);
        const QString caption = Q(model.caption());
        if (w->text() != caption)
            w->setText(caption);
        const QPixmap face = tabbernBitmap(model.picture());
        if (auto* picture = qobject_cast<PictureButton*>(w)) {
            picture->setFace(face);
        } else if (w->icon().cacheKey() == 0 || !face.isNull()) {
            w->setIcon(QIcon(face));
            if (!face.isNull())
                w->setIconSize(face.size());
        }
    });
    connect(w, &QPushButton::clicked, this, [this, &model] { run([&model] { model.click(); }); });
    // Space presses a focused button by itself; Enter on it presses it too.
    enterActions_[w] = [w] { w->click(); };
    return w;
}

// ---- rendering --------------------------------------------------------------------------------

void QtFormWindow::render() {
    // A dialog nobody sees is brought up to date when it is shown.
    if (!isMain() && !form_.visible() && !isVisible())
        return;
    const bool focusRequested = renderedFocusRequests_ != form_.focusRequests();
    renderForm();
    for (Binding& b : bindings_) {
        if (b.rendered != b.model->revision()) {
            b.render();
            b.rendered = b.model->revision();
        }
    }
    if (menus_)
        menus_->sync();
    if (focusRequested)
        ApplyFocusRequest(form_, client_);
    renderedFocusRequests_ = form_.focusRequests();
}

void QtFormWindow::renderForm() {
    if (renderedFormRevision_ == form_.revision())
        return;
    const QString caption = Q(form_.caption());
    if (windowTitle() != caption)
        setWindowTitle(caption);
    const QIcon icon = form_.icon() != 0 ? tabbernIcon(form_.icon()) : tabbernIcon();
    if (!icon.isNull() && windowIcon().cacheKey() != icon.cacheKey())
        setWindowIcon(icon);
    const QColor background =
        ResolveColour(form_.backColour(), QApplication::palette().color(QPalette::Window));
    const QPixmap picture = tabbernBitmap(form_.picture());
    if (background != background_ || picture.cacheKey() != picture_.cacheKey()) {
        background_ = background;
        picture_ = picture;
        update();
    }
    if (isMain()) {
        const QPoint wanted(Px(form_.left()), Px(form_.top()));
        if (frameGeometry().topLeft() != wanted)
            move(wanted);
        applyWindowState();
    }
    renderedFormRevision_ = form_.revision();
}

void QtFormWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_);
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
}

void QtFormWindow::place(const std::string& control, const TwipRect& rect) {
    if (QWidget* w = client_->findChild<QWidget*>(Q(control), Qt::FindDirectChildrenOnly)) {
        const QRect at = PixelRect(rect);
        if (w->geometry() != at)
            w->setGeometry(at);
    }
}

// ---- showing ----------------------------------------------------------------------------------

void QtFormWindow::show(bool modal) {
    if (!isVisible())
        setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    QDialog::show();
    raise();
    activateWindow();
}

void QtFormWindow::hide() {
    QDialog::hide();
}

void QtFormWindow::applyWindowState() {
    const Qt::WindowStates wanted =
        form_.windowState() == WindowState::Minimized   ? Qt::WindowMinimized
        : form_.windowState() == WindowState::Maximized ? Qt::WindowMaximized
                                                        : Qt::WindowNoState;
    const Qt::WindowStates current =
        windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (current != wanted)
        setWindowState((windowState() & ~current) | wanted);
}

void QtFormWindow::setForeground() {
    raise();
    activateWindow();
}

// ---- the window as a window ------------------------------------------------------------------

bool QtFormWindow::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowActivate:
        host_.activated(form_);
        break;
    case QEvent::Show: {
        // A window shown again while the window system still gives it the focus gets no new
        // activation event, yet showing it is an activation.
        const QWindow* window = windowHandle();
        if (window && QGuiApplication::focusWindow() == window)
            host_.activated(form_);
        break;
    }
    case QEvent::Hide:
        host_.hidden(form_);
        break;
    default:
        break;
    }
    return QDialog::event(e);
}

// The close box: a dialog's cancel button, the main window's end of the program. The window
// itself never closes by itself.
void QtFormWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    host_.frameClosed(form_);
}

void QtFormWindow::reject() {
    if (!isMain())
        host_.frameClosed(form_);
}

// Keeps the model's place and size in step with the main window, frame included.
void QtFormWindow::recordGeometry() {
    if (!isMain() || isMinimized())
        return;
    const QRect frame = frameGeometry();
    host_.userMoved(form_, frame.x() * kTwipsPerPixel, frame.y() * kTwipsPerPixel,
                    frame.width() * kTwipsPerPixel, frame.height() * kTwipsPerPixel);
}

void QtFormWindow::moveEvent(QMoveEvent* e) {
    QDialog::moveEvent(e);
    recordGeometry();
}

void QtFormWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    recordGeometry();
}

void QtFormWindow::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    // The minimise button or the task bar: the core reacts to the new state.
    if (e->type() == QEvent::WindowStateChange && isMain())
        host_.userChangedState(form_, StateOf(*this));
}

bool QtFormWindow::eventFilter(QObject* watched, QEvent* e) {
    if (IsEnter(e)) {
        const auto action = enterActions_.find(watched);
        if (action != enterActions_.end()) {
            action->second();
            return true;
        }
    }
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        if (qobject_cast<QListWidget*>(watched->parent()))
            pressAlreadyClicked_ = false;
        break;
    case QEvent::MouseButtonDblClick:
        if (const auto action = dblClickActions_.find(watched); action != dblClickActions_.end()) {
            run(action->second);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (const auto link = links_.find(watched); link != links_.end()) {
            const auto* mouse = static_cast<QMouseEvent*>(e);
            const auto* label = static_cast<QWidget*>(watched);
            // A click is a release over the label; one dragged off it is none.
            if (mouse->button() == Qt::LeftButton &&
                label->rect().contains(mouse->position().toPoint())) {
                LinkLabel* model = link->second;
                run([model] { model->click(); });
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace tabbern
