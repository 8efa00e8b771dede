#include "ui/Layout.h"

#include "app/App.h"
#include "store/Text.h"

#include <string_view>
#include <utility>

namespace tabbern {

namespace {

// The confirmation's list: the whole height, or shortened above the name and group boxes or
// above the browser import's summary.
constexpr int kListFull = 3780;
constexpr int kListAboveFields = 2790;
constexpr int kListAboveSummary = 3120;
TwipRect AddConfirmListRect(int height) {
    return {420, 420, 7710, height};
}

// The small dialogs lie on the card of bitmap 102 (6300 x 4200 twips): one column of captioned
// boxes, the buttons below the card's etched line, right-aligned with the boxes.
constexpr int kCardWidth = 6300;
constexpr int kCardHeight = 4200;
constexpr int kLeft = 420;
constexpr int kColumn = 5010;
constexpr int kCaption = 270;
constexpr int kBox = 390;
constexpr int kButtonTop = 3420;
// The dialogs' own label colour, chosen for the pale card.
constexpr long kLabelColour = kNameRgb;

FormLayout Card(const char* cancel) {
    FormLayout l;
    l.clientWidth = kCardWidth;
    l.clientHeight = kCardHeight;
    l.fontPixels = 12;
    l.labelColour = kLabelColour;
    l.cancel = cancel;
    return l;
}

FormLayout MainWindowLayout() {
    FormLayout l;
    l.clientWidth = MainForm::kClientWidth;
    l.clientHeight = MainForm::kClientHeight;
    l.fontPixels = 11;
    // The designed places; the detail rows in the smaller type they are designed for.
    const std::pair<const char*, unsigned> controls[] = {
        {"Picture1", 0},
        {"lblAltDatapath", kSmall | kCentred},
        {"Label1", kCentred | kWhiteText},
        {"Combo1", 0},
        {"List1", 0},
        {"TextNameSearch", 0},
        {"Command2", kFramed},
        {"LabelLastAccessed", kSmall | kCentred},
        {"lblDateAccessed", kSmall | kCentred},
        {"Label2", kSmall | kCentred},
        {"lblWhatGroup", kSmall | kCentred},
        {"LabelShowURLAddress", kSmall | kCentred},
        {"lblLastChecked", kSmall | kCentred},
    };
    for (const auto& [name, flags] : controls) {
        const TwipRect* rect = MainForm::layoutOf(name);
        if (!rect)
            continue;
        Placement p{name, *rect, flags};
        if (flags & kWhiteText)
            p.fore = Colour::fromRgb(kWhite);
        // The data folder runs across the top in the title bar's colours.
        if (std::string_view(name) == "lblAltDatapath") {
            p.fore = Colour::fromRgb(kWhite);
            p.back = Colour::system(Colour::Kind::ActiveTitleBar);
        }
        l.controls.push_back(p);
    }
    return l;
}

FormLayout BookmarkDialogLayout() {
    FormLayout l = Card("Command2");
    l.controls = {
        {"Picture1", {0, 0, kCardWidth, kCardHeight}},
        {"Label1", {kLeft, 390, kColumn, kCaption}, kBold},
        {"Text1", {kLeft, 675, kColumn, kBox}},
        {"Label2", {kLeft, 1230, kColumn, kCaption}, kBold},
        {"Combo1", {kLeft, 1515, kColumn, kBox}},
        {"Label3", {kLeft, 2070, kColumn, kCaption}, kBold},
        {"Text3", {kLeft, 2355, kColumn, kBox}},
        {"Command1", {1935, kButtonTop, 1725, 360}},
        {"Command2", {3780, kButtonTop, 1650, 360}},
    };
    return l;
}

FormLayout GroupNameDialogLayout() {
    FormLayout l = Card("Command2");
    l.controls = {
        {"Picture1", {0, 0, kCardWidth, kCardHeight}},
        {"Label1", {kLeft, 840, kColumn, kCaption}, kBold},
        // The current name in large type; it travels in the hidden Text1 for the save.
        {"Label2", {kLeft, 1200, kColumn, 450}, kBold | kLarge | kCentred},
        {"Text1", {kLeft, 1200, kColumn, kBox}, kHidden},
        {"Text3", {kLeft, 1830, kColumn, kBox}},
        {"Command1", {1935, kButtonTop, 1725, 360}},
        {"Command2", {3780, kButtonTop, 1650, 360}},
    };
    return l;
}

// The confirmation lies on bitmap 103 (9000 x 5550 twips): the list right up to the ribbon, the
// name and group boxes of the clipboard import side by side under it.
FormLayout AddConfirmLayout() {
    FormLayout l = Card("Command2");
    l.clientWidth = 9000;
    l.clientHeight = 5550;
    l.controls = {
        {"Picture1", {0, 0, 9000, 5550}},
        {"Text1", AddConfirmListRect(kListFull), kMultiLine | kEntries},
        {"Label1", {420, 3390, 4500, kCaption}, kBold},
        {"Text2", {420, 3690, 4500, kBox}},
        {"Label2", {5160, 3390, 2970, kCaption}, kBold},
        {"GroupList", {5160, 3690, 2970, kBox}},
        // In the boxes' place: what a browser file's import adds and leaves out.
        {"Label3", {420, 3630, 7710, 660}, kWrap},
        {"Command1", {5970, 4770, 1020, 390}},
        {"Command2", {7110, 4770, 1020, 390}},
    };
    return l;
}

FormLayout AssignNameLayout() {
    FormLayout l = Card("Command3");
    l.controls = {
        {"Picture1", {0, 0, kCardWidth, kCardHeight}},
        // The link in large type on up to two lines.
        {"Label3", {kLeft, 300, kColumn, 660}, kBold | kWrap | kLinkColour | kAddress},
        {"Label1", {kLeft, 1230, kColumn, kCaption}, kBold},
        {"Text1", {kLeft, 1515, kColumn, kBox}},
        {"Combo1", {kLeft, 2085, kColumn, kBox}},
        {"Command1", {1455, 3405, 1245, 390}},
        {"Command2", {2820, 3405, 1245, 390}},
        {"Command3", {4185, 3405, 1245, 390}},
    };
    return l;
}

FormLayout AboutLayout() {
    FormLayout l = Card("cmdOK");
    l.labelColour = -1;
    l.controls = {
        {"lblTitle", {kLeft, 210, 4800, 480}, kTitle | kCentred},
        {"Line1", {kLeft, 750, 5460, 30}},
        {"lblDescription", {kLeft, 840, 5460, 1950}, kWrap | kSmall},
        {"Line2", {kLeft, 2850, 5460, 30}},
        {"lblDisclaimer", {kLeft, 2880, 5460, kCaption}, kItalic | kSmall | kCentred},
        {"Label2", {kLeft, 3435, 3600, 330}, kLink | kCentred},
        {"cmdOK", {4620, 3435, 1260, 330}},
    };
    return l;
}

// The link check's window: its progress at the top, the bookmarks that need a look under it.
FormLayout CheckLinksLayout() {
    FormLayout l;
    l.clientWidth = 8400;
    l.clientHeight = 5340;
    l.fontPixels = 12;
    l.cancel = "cmdCloseBox";
    l.controls = {
        {"Label1", {240, 180, 7920, 270}, kCentred},
        {"ProgressBar1", {240, 480, 7920, 300}},
        {"Label2", {240, 960, 7920, 270}, kBold | kCentred},
        {"List1", {240, 1260, 7920, 3300}},
        {"Command1", {6720, 4740, 1440, 420}},
    };
    return l;
}

FormLayout HelpLayout() {
    FormLayout l;
    l.clientWidth = 9000;
    l.clientHeight = 7200;
    l.fontPixels = 13;
    l.cancel = "Command1";
    l.controls = {
        {"Text1", {210, 210, 8580, 6150}, kMultiLine | kHeadings},
        {"Command1", {7350, 6570, 1440, 420}},
    };
    return l;
}

} // namespace

void ArrangePlaces(const App& app, const Form& form,
                   const std::function<void(const char* control, const TwipRect&)>& place) {
    if (&form != &app.frmAddConfirm)
        return;
    const AddConfirmForm& c = app.frmAddConfirm;
    const bool fieldsShown =
        c.Label1.visible() || c.Text2.visible() || c.Label2.visible() || c.GroupList.visible();
    const int height = fieldsShown          ? kListAboveFields
                       : c.Label3.visible() ? kListAboveSummary
                                            : kListFull;
    place("Text1", AddConfirmListRect(height));
}

namespace {

// The controls that take input or show a list; labels speak for themselves, pictures and rules
// say nothing.
bool IsNamed(const Control& c) {
    return dynamic_cast<const TextBox*>(&c) || dynamic_cast<const ListControl*>(&c) ||
           dynamic_cast<const Button*>(&c);
}

} // namespace

std::string AccessibleName(const Control& control) {
    if (!IsNamed(control))
        return {};
    if (const Label* label = control.label())
        return Trim(label->caption());
    if (!control.accessibleName().empty())
        return Trim(control.accessibleName());
    if (const auto* button = dynamic_cast<const Button*>(&control)) {
        std::string face = Trim(button->caption());
        if (!face.empty())
            return face;
    }
    return Trim(control.toolTip());
}

std::string AccessibleDescription(const Control& control) {
    if (!IsNamed(control))
        return {};
    const Label* shows = control.describedBy();
    std::string description = shows && shows->visible() ? Trim(shows->caption()) : std::string();
    if (description.empty())
        description = Trim(control.toolTip());
    return description == AccessibleName(control) ? std::string() : description;
}

int FontPixels(const FormLayout& layout, unsigned flags) {
    if (flags & kTitle)
        return kTitleFontPixels;
    if (flags & kLarge)
        return kLargeFontPixels;
    return layout.fontPixels - ((flags & kSmall) ? 1 : 0);
}

FormLayout LayoutOf(const App& app, const Form& form) {
    if (&form == &app.main)
        return MainWindowLayout();
    if (&form == &app.frmAddName || &form == &app.frmEditName)
        return BookmarkDialogLayout();
    if (&form == &app.frmEditGroupName)
        return GroupNameDialogLayout();
    if (&form == &app.frmAddConfirm)
        return AddConfirmLayout();
    if (&form == &app.frmAssignName)
        return AssignNameLayout();
    if (&form == &app.frmAbout)
        return AboutLayout();
    if (&form == &app.frmHelp)
        return HelpLayout();
    if (&form == &app.frmCheckLinks)
        return CheckLinksLayout();
    return {};
}

} // namespace tabbern
