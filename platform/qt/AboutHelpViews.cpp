#include "platform/qt/AboutHelpViews.h"

#include "platform/qt/QtPlatform.h"
#include "platform/qt/ViewSupport.h"
#include "ui/AboutHelp.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace tabbern {

namespace {

// The about box lies on the small dialogs' card (bitmap 102, 420 x 280): the title beside the
// ribbon, a rule, the description, the notice between a second rule and the card's etched line,
// and below that line the web address and the OK button.
constexpr int kAboutLeft = 28;
constexpr int kAboutWidth = 364;
const QColor kLinkColour(0x1f, 0x5f, 0xa8);
const QColor kRuleColour(0xc3, 0xd2, 0xe3);

// The help window: the text fills it above a row with the close button.
constexpr int kHelpWidth = 600;
constexpr int kHelpHeight = 480;
constexpr int kHelpMargin = 14;
constexpr int kHelpButtonWidth = 96;
constexpr int kHelpButtonHeight = 28;

QFont Sized(QFont font, int pixels, bool bold, bool italic = false) {
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// A decorative rule, etched like the line that the card of bitmap 102 carries: a shaded row over
// a white one.
class EtchedRule : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(0, 0, width(), 1, kRuleColour);
        p.fillRect(0, 1, width(), 1, QColor(255, 255, 255, 230));
    }
};

// Sets the help document's section headings ("Bookmarks->Add A Bookmark:", "Notes:") in bold:
// a short line that ends in a colon.
class HeadingHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        const QString line = text.trimmed();
        if (line.endsWith(QLatin1Char(':')) && line.size() <= 60) {
            QTextCharFormat heading;
            heading.setFontWeight(QFont::Bold);
            heading.setForeground(QColor(0x1d, 0x35, 0x57));
            setFormat(0, static_cast<int>(text.size()), heading);
        }
    }
};

} // namespace

// ---- the about box ----------------------------------------------------------------------------

AboutView::AboutView(QtPlatform& platform, AboutForm& model)
    : DialogView(platform, model, model.cmdOK) {
    QLabel* title = addLink(model.lblTitle, QRect(kAboutLeft, 14, 320, 32));
    title->setFont(Sized(font(), 22, true));

    auto rule = [this](Control& line, int top) {
        auto* w = new EtchedRule(this);
        w->setObjectName(Q(line.name()));
        w->setGeometry(kAboutLeft, top, kAboutWidth, 2);
        bind(line, [&line, w] { RenderCommon(line, w); });
    };
    rule(model.Line1, 50);

    QLabel* description = addLabel(model.lblDescription, QRect(kAboutLeft, 56, kAboutWidth, 130));
    description->setFont(Sized(font(), 11, false));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    rule(model.Line2, 190);
    QLabel* notice = addLabel(model.lblDisclaimer, QRect(kAboutLeft, 192, kAboutWidth, 18));
    notice->setFont(Sized(font(), 10, false, true));

    QLabel* web = addLink(model.Label2, QRect(kAboutLeft, 229, 240, 22), kLinkColour);
    QFont underlined = Sized(font(), 11, false);
    underlined.setUnderline(true);
    web->setFont(underlined);

    addButton(model.cmdOK, QRect(kAboutLeft + kAboutWidth - 84, 229, 84, 22));
    finishBuilding();
}

QLabel* AboutView::addLink(LinkLabel& model, const QRect& at, const QColor& designColour) {
    QLabel* w = addLabel(model, at, designColour);
    links_[w] = &model;
    w->installEventFilter(this);
    bind(model, [&model, w] {
        if (model.enabled())
            w->setCursor(Qt::PointingHandCursor);
        else
            w->unsetCursor();
    });
    return w;
}

bool AboutView::eventFilter(QObject* watched, QEvent* e) {
    const auto link = links_.find(watched);
    if (link != links_.end() && e->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        const auto* label = static_cast<QWidget*>(watched);
        // A click is a release over the label; one dragged off it is none.
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            LinkLabel* model = link->second;
            platform_.runEvent([model] { model->click(); });
            return true;
        }
    }
    return DialogView::eventFilter(watched, e);
}

// ---- the help window --------------------------------------------------------------------------

HelpView::HelpView(QtPlatform& platform, HelpForm& model)
    : DialogView(platform, model, model.Command1, QSize(kHelpWidth, kHelpHeight)) {
    const int buttonTop = kHelpHeight - kHelpMargin - kHelpButtonHeight;

    auto* text = new QPlainTextEdit(this);
    TextBox& textModel = model.Text1;
    text->setObjectName(Q(textModel.name()));
    text->setGeometry(kHelpMargin, kHelpMargin, kHelpWidth - 2 * kHelpMargin,
                      buttonTop - 2 * kHelpMargin);
    text->setReadOnly(true);
    // Read, not edited: the keyboard still moves through it (Home, End, the arrows).
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setFont(Sized(font(), 13, false));
    text->document()->setDocumentMargin(10);
    new HeadingHighlighter(text->document());
    bind(textModel, [&textModel, text] {
        RenderCommon(textModel, text);
        SetRole(text, QPalette::Text, ResolveColour(textModel.foreColour(), {}), false);
        SetRole(text, QPalette::Base, ResolveColour(textModel.backColour(), {}), true);
        const QString shown = QMultiLine(textModel.text());
        if (text->toPlainText() != shown)
            text->setPlainText(shown);
    });

    addButton(model.Command1, QRect(kHelpWidth - kHelpMargin - kHelpButtonWidth, buttonTop,
                                    kHelpButtonWidth, kHelpButtonHeight));
    finishBuilding();
}

} // namespace tabbern
