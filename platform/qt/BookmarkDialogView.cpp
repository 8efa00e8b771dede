#include "platform/qt/BookmarkDialogView.h"

#include "platform/qt/QtPlatform.h"
#include "platform/qt/Resources.h"
#include "platform/qt/ViewSupport.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

#include <utility>

namespace tabbern {

namespace {

// The dialogs' own type and label colour, chosen for the pale card of bitmap 102.
constexpr int kFontPixels = 12;
const QColor kLabelColour(0x1d, 0x35, 0x57);

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
    const QPixmap shown =
        isEnabled() ? face_
                    : QIcon(face_).pixmap(face_.deviceIndependentSize().toSize(), QIcon::Disabled);
    const QSize size = face_.deviceIndependentSize().toSize();
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

// ---- DialogView -------------------------------------------------------------------------------

DialogView::DialogView(QtPlatform& platform, Form& form, Button& cancel, QSize size)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      platform_(platform), form_(form), cancel_(cancel) {
    setObjectName(Q(form_.name()));
    // The controls lie at absolute positions on a picture of this size.
    setFixedSize(size);
    setSizeGripEnabled(false);
    QFont type = font();
    type.setPixelSize(kFontPixels);
    setFont(type);
}

DialogView::~DialogView() {
    platform_.unregisterView(*this);
}

void DialogView::finishBuilding() {
    platform_.registerView(*this);
    sync();
}

void DialogView::bind(Control& model, std::function<void()> render) {
    bindings_.push_back({&model, std::move(render), 0});
}

QLabel* DialogView::addPicture(PictureBox& model) {
    auto* w = new QLabel(this);
    w->setObjectName(Q(model.name()));
    w->setGeometry(rect());
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bind(model, [&model, w] {
        RenderCommon(model, w);
        w->setPixmap(tabbernBitmap(model.picture()));
    });
    return w;
}

QLabel* DialogView::addLabel(Label& model, const QRect& at, const QColor& designColour) {
    auto* w = new QLabel(this);
    w->setObjectName(Q(model.name()));
    w->setGeometry(at);
    w->setTextFormat(Qt::PlainText);
    w->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = w->font();
    bold.setBold(true);
    w->setFont(bold);
    const QColor design = designColour.isValid() ? designColour : kLabelColour;
    bind(model, [&model, w, design] {
        RenderCommon(model, w);
        SetRole(w, QPalette::WindowText, ResolveColour(model.foreColour(), design), false);
        const QColor back = ResolveColour(model.backColour(), {});
        SetRole(w, QPalette::Window, back, true);
        w->setAutoFillBackground(back.isValid());
        const QString caption = QMultiLine(model.caption());
        if (w->text() != caption)
            w->setText(caption);
    });
    return w;
}

QLineEdit* DialogView::addTextBox(TextBox& model, const QRect& at, bool shown) {
    auto* w = new QLineEdit(this);
    w->setObjectName(Q(model.name()));
    w->setGeometry(at);
    w->installEventFilter(this);
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
        platform_.runEvent([&model, text] { model.setText(text.toStdString()); });
    });
    // Enter runs the box's key handler first, then still reaches the box.
    enterActions_[w] = {[this, &model] {
                            platform_.runEvent([&model] {
                                if (model.onKeyPress)
                                    model.onKeyPress(13);
                            });
                        },
                        true};
    return w;
}

QComboBox* DialogView::addComboBox(ComboBox& model, const QRect& at) {
    auto* w = new QComboBox(this);
    w->setObjectName(Q(model.name()));
    w->setGeometry(at);
    w->setEditable(true);
    w->setInsertPolicy(QComboBox::NoInsert);
    w->setCompleter(nullptr);
    w->setMaxVisibleItems(15);
    // Leaving the box with an entry's text typed in would otherwise choose that entry: only a
    // real choice from the list counts as a click.
    QObject::disconnect(w->lineEdit(), &QLineEdit::editingFinished, w, nullptr);
    // The combo box, not its line edit, is the focus widget that typed keys reach first.
    w->installEventFilter(this);
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
        const QString text = Q(model.text());
        if (w->currentText() != text)
            w->setEditText(text);
    });
    connect(w, &QComboBox::activated, this, [this, &model](int index) {
        platform_.runEvent([&model, index] { model.setListIndex(index); });
    });
    connect(w->lineEdit(), &QLineEdit::textEdited, this, [this, &model](const QString& text) {
        platform_.runEvent([&model, text] { model.setText(text.toStdString()); });
    });
    enterActions_[w] = {[this, &model] {
                            platform_.runEvent([&model] {
                                if (model.onKeyPress)
                                    model.onKeyPress(13);
                            });
                        },
                        true};
    return w;
}

PictureButton* DialogView::addButton(Button& model, const QRect& at) {
    auto* w = new PictureButton(this);
    w->setObjectName(Q(model.name()));
    w->setGeometry(at);
    // No button is ever pressed by Enter typed elsewhere in the dialog.
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
        w->setFace(tabbernBitmap(model.picture()));
    });
    connect(w, &QPushButton::clicked, this,
            [this, &model] { platform_.runEvent([&model] { model.click(); }); });
    // Space presses a focused button by itself; Enter on it presses it too.
    enterActions_[w] = {[w] { w->click(); }, false};
    return w;
}

// ---- rendering --------------------------------------------------------------------------------

void DialogView::sync() {
    // A dialog nobody sees is brought up to date when it is shown: the platform syncs every
    // view right after marking the form visible.
    if (!form_.visible() && !isVisible())
        return;
    const bool focusRequested = renderedFocusRequests_ != form_.focusRequests();
    renderForm();
    for (Binding& b : bindings_) {
        if (b.rendered != b.model->revision()) {
            b.render();
            b.rendered = b.model->revision();
        }
    }
    if (focusRequested)
        ApplyFocusRequest(form_, this);
    renderedFocusRequests_ = form_.focusRequests();
}

void DialogView::renderForm() {
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
    renderedFormRevision_ = form_.revision();
}

void DialogView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_);
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
}

// ---- user input -------------------------------------------------------------------------------

void DialogView::reject() {
    platform_.runEvent([this] { cancel_.click(); });
}

bool DialogView::eventFilter(QObject* watched, QEvent* e) {
    if (IsEnter(e)) {
        const auto action = enterActions_.find(watched);
        if (action != enterActions_.end()) {
            const bool passOn = action->second.passOn;
            action->second.run();
            return !passOn;
        }
    }
    return QDialog::eventFilter(watched, e);
}

// ---- the add and edit dialogs -----------------------------------------------------------------

namespace {

// The layout: three captioned boxes down the card, the buttons in the row below the etched
// line of bitmap 102, right-aligned with the boxes. The ribbon sits right of the boxes.
constexpr int kLeft = 28;
constexpr int kBoxWidth = 334;
constexpr int kCaptionHeight = 18;
constexpr int kBoxHeight = 26;
constexpr int kButtonTop = 228;

QRect CaptionAt(int top) {
    return {kLeft, top, kBoxWidth, kCaptionHeight};
}
QRect BoxAt(int top) {
    return {kLeft, top, kBoxWidth, kBoxHeight};
}

} // namespace

BookmarkDialogView::BookmarkDialogView(QtPlatform& platform, BookmarkDialog& model)
    : DialogView(platform, model, model.Command2) {
    addPicture(model.Picture1);
    addLabel(model.Label1, CaptionAt(26));
    addTextBox(model.Text1, BoxAt(45));
    addLabel(model.Label2, CaptionAt(82));
    addComboBox(model.Combo1, BoxAt(101));
    addLabel(model.Label3, CaptionAt(138));
    addTextBox(model.Text3, BoxAt(157));
    constexpr int saveWidth = 115;
    constexpr int cancelWidth = 110;
    constexpr int gap = 8;
    const int cancelLeft = kLeft + kBoxWidth - cancelWidth;
    addButton(model.Command1, QRect(cancelLeft - gap - saveWidth, kButtonTop, saveWidth, 24));
    addButton(model.Command2, QRect(cancelLeft, kButtonTop, cancelWidth, 24));
    finishBuilding();
}

} // namespace tabbern
