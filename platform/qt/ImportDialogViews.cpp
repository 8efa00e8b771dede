#include "platform/qt/ImportDialogViews.h"

#include "platform/qt/ViewSupport.h"
#include "ui/ImportDialogs.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace tabbern {

namespace {

const QColor kNameColour(0x1d, 0x35, 0x57);
const QColor kLinkColour(0x1f, 0x5f, 0xa8);

QFont Sized(QFont font, int pixels, bool bold) {
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A line of the list that is a web address rather than a bookmark's name.
bool IsAddressLine(const QString& line) {
    const QString s = line.trimmed().toLower();
    return s.startsWith(QLatin1String("www")) || s.contains(QLatin1String("://"));
}

// The list shows a share file's bookmarks as a name over its address: names in bold, addresses
// in the link colour. A list of links alone shows them all in the link colour.
class ListHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat format;
        if (IsAddressLine(text)) {
            format.setForeground(kLinkColour);
        } else {
            format.setForeground(kNameColour);
            format.setFontWeight(QFont::Bold);
        }
        setFormat(0, static_cast<int>(text.size()), format);
    }
};

// Sets each bookmark of the list a little apart from the one before: a name that follows an
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

// A web address set on at most two lines of the width: broken where it no longer fits, after a
// slash or a dot when one lies near the end of the first line, and shortened in the middle of
// the second line when even two lines are too few.
QString FitLink(const QString& link, const QFontMetrics& metrics, int width) {
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

// ---- the confirmation's layout on bitmap 103 (600 x 370) --------------------------------------
// One column right up to the ribbon; the buttons in the row below the etched line at 300.
constexpr int kConfirmLeft = 28;
constexpr int kConfirmWidth = 514;
constexpr int kConfirmTop = 28;
// The name and group boxes of the clipboard import, side by side under the list.
constexpr int kFieldCaptionTop = 226;
constexpr int kFieldTop = 246;
constexpr int kNameWidth = 300;
constexpr int kFieldGap = 16;
constexpr int kFieldHeight = 26;
constexpr int kConfirmButtonTop = 318;
constexpr int kConfirmButtonWidth = 68;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;

const QRect kFullList(kConfirmLeft, kConfirmTop, kConfirmWidth, 252);
const QRect kShortList(kConfirmLeft, kConfirmTop, kConfirmWidth, 186);

// ---- the naming's layout on bitmap 102 (420 x 280) --------------------------------------------
// The columns of the other small dialogs; the buttons below the etched line at 210.
constexpr int kAssignLeft = 28;
constexpr int kAssignWidth = 334;
constexpr int kAssignButtonTop = 227;
constexpr int kAssignButtonWidth = 83;

} // namespace

// ---- the confirmation -------------------------------------------------------------------------

AddConfirmView::AddConfirmView(QtPlatform& platform, AddConfirmForm& model)
    : DialogView(platform, model, model.Command2, QSize(kWidth, kHeight)), model_(model) {
    addPicture(model.Picture1);

    // The list is for reading: the user scrolls it but never edits it.
    list_ = new QTextEdit(this);
    TextBox& listModel = model.Text1;
    list_->setObjectName(Q(listModel.name()));
    list_->setGeometry(kFullList);
    list_->setReadOnly(true);
    list_->setAcceptRichText(false);
    list_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    list_->setLineWrapMode(QTextEdit::WidgetWidth);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setFont(Sized(font(), 13, false));
    list_->document()->setDocumentMargin(8);
    new ListHighlighter(list_->document());
    QTextEdit* list = list_;
    bind(listModel, [&listModel, list] {
        // Display only while disabled: out of the Tab order, yet still scrolled with the mouse.
        list->setVisible(listModel.visible());
        list->setFocusPolicy(listModel.enabled() ? Qt::StrongFocus : Qt::NoFocus);
        const QString tip = Q(listModel.toolTip());
        if (list->toolTip() != tip)
            list->setToolTip(tip);
        SetRole(list, QPalette::Text, ResolveColour(listModel.foreColour(), {}), false);
        SetRole(list, QPalette::Base, ResolveColour(listModel.backColour(), {}), true);
        // Every entry ends in a line break; the last one opens no empty line.
        QString shown = QMultiLine(listModel.text());
        if (shown.endsWith(QLatin1Char('\n')))
            shown.chop(1);
        if (list->toPlainText() != shown) {
            list->setPlainText(shown);
            SpaceEntries(list);
        }
    });

    const int groupLeft = kConfirmLeft + kNameWidth + kFieldGap;
    const int groupWidth = kConfirmWidth - kNameWidth - kFieldGap;
    addLabel(model.Label1, QRect(kConfirmLeft, kFieldCaptionTop, kNameWidth, 18));
    addTextBox(model.Text2, QRect(kConfirmLeft, kFieldTop, kNameWidth, kFieldHeight));
    addLabel(model.Label2, QRect(groupLeft, kFieldCaptionTop, groupWidth, 18));
    addComboBox(model.GroupList, QRect(groupLeft, kFieldTop, groupWidth, kFieldHeight));

    const int cancelLeft = kConfirmLeft + kConfirmWidth - kConfirmButtonWidth;
    addButton(model.Command1, QRect(cancelLeft - kButtonGap - kConfirmButtonWidth,
                                    kConfirmButtonTop, kConfirmButtonWidth, kButtonHeight));
    addButton(model.Command2,
              QRect(cancelLeft, kConfirmButtonTop, kConfirmButtonWidth, kButtonHeight));
    finishBuilding();
}

void AddConfirmView::sync() {
    DialogView::sync();
    placeList();
}

void AddConfirmView::placeList() {
    const bool fieldsShown = model_.Label1.visible() || model_.Text2.visible() ||
                             model_.Label2.visible() || model_.GroupList.visible();
    const QRect& at = fieldsShown ? kShortList : kFullList;
    if (list_->geometry() != at)
        list_->setGeometry(at);
}

// ---- the naming of a link ---------------------------------------------------------------------

AssignNameView::AssignNameView(QtPlatform& platform, AssignNameForm& model)
    : DialogView(platform, model, model.Command3) {
    addPicture(model.Picture1);

    // The link in large type on up to two lines, shortened in its middle beyond that; its
    // tooltip holds it whole.
    auto* link = new QLabel(this);
    Label& linkModel = model.Label3;
    link->setObjectName(Q(linkModel.name()));
    link->setGeometry(kAssignLeft, 20, kAssignWidth, 44);
    link->setTextFormat(Qt::PlainText);
    link->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    link->setFont(Sized(font(), 14, true));
    bind(linkModel, [&linkModel, link] {
        RenderCommon(linkModel, link);
        SetRole(link, QPalette::WindowText, ResolveColour(linkModel.foreColour(), kLinkColour),
                false);
        const QString shown = FitLink(Q(linkModel.caption()), link->fontMetrics(), link->width());
        if (link->text() != shown)
            link->setText(shown);
    });

    addLabel(model.Label1, QRect(kAssignLeft, 82, kAssignWidth, 18));
    addTextBox(model.Text1, QRect(kAssignLeft, 101, kAssignWidth, 26));
    addComboBox(model.Combo1, QRect(kAssignLeft, 139, kAssignWidth, 26));

    // Assign, skip and cancel, right-aligned with the boxes.
    const int right = kAssignLeft + kAssignWidth;
    Button* buttons[] = {&model.Command1, &model.Command2, &model.Command3};
    for (int i = 0; i < 3; ++i) {
        const int left = right - (3 - i) * kAssignButtonWidth - (2 - i) * kButtonGap;
        addButton(*buttons[i], QRect(left, kAssignButtonTop, kAssignButtonWidth, kButtonHeight));
    }
    finishBuilding();
}

} // namespace tabbern
