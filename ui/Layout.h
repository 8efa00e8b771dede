// Where every window's controls lie, in twips, and how they are shown: one table a form, read
// by the renderers of both window systems. A new dialog is a form model and a table here.
#pragma once

#include "ui/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace tabbern {

struct App;

// How one control is shown, beyond its kind.
enum PlaceFlag : unsigned {
    kHidden = 1u << 0,      // part of the dialog's state, never of its looks
    kMultiLine = 1u << 1,   // several lines, read-only, scrolled (text boxes)
    kBold = 1u << 2,        // bold type
    kSmall = 1u << 3,       // the smaller type of the detail rows
    kLarge = 1u << 4,       // a large heading
    kTitle = 1u << 5,       // the about box's title
    kItalic = 1u << 6,      // italic type
    kLink = 1u << 7,        // a clickable text: link colour, underlined, hand pointer
    kWrap = 1u << 8,        // a label of several lines
    kCentred = 1u << 9,     // a one-line label centred in its height
    kLinkColour = 1u << 10, // the link colour without the underline
    kFramed = 1u << 11,     // a button whose picture is only a symbol: drawn on a push button
    kAddress = 1u << 12,    // a web address on at most two lines, shortened in its middle beyond
    kEntries = 1u << 13,    // a list of names over addresses: names bold, addresses as links
    kHeadings = 1u << 14,   // a document whose short lines ending in a colon are headings
    kWhiteText = 1u << 15,  // white type on the dark top of the main window's picture
};

struct Placement {
    const char* name;
    TwipRect rect;
    unsigned flags = 0;
    // The design colours, where the model names none.
    Colour fore = {};
    Colour back = {};
};

struct FormLayout {
    int clientWidth = 0; // twips
    int clientHeight = 0;
    int fontPixels = 12;
    // The text colour of labels whose model names none (0xRRGGBB), or -1 for the desktop's.
    long labelColour = -1;
    // The button that the frame's close box and Escape press; none for the main window, whose
    // close box ends the program.
    const char* cancel = nullptr;
    std::vector<Placement> controls;
};

// The layout of one of the App's forms.
FormLayout LayoutOf(const App& app, const Form& form);

// The sizes the renderers draw type and pictures in, in pixels.
inline constexpr int kSmallFontPixels = 10;
inline constexpr int kLargeFontPixels = 17;
inline constexpr int kTitleFontPixels = 22;
// The type size, in pixels, of a control with these flags on a window of this layout, and
// whether its type is bold.
int FontPixels(const FormLayout& layout, unsigned flags);
inline bool IsBold(unsigned flags) {
    return (flags & (kBold | kLarge | kTitle)) != 0;
}

// The dialogs' link colour and the colour of the entries' names, 0xRRGGBB.
inline constexpr std::uint32_t kLinkRgb = 0x1f5fa8;
inline constexpr std::uint32_t kNameRgb = 0x1d3557;

// What a screen reader calls a control, as a sighted user reads it: the caption of the label
// before it, else the control's own accessible name, else a button's face text, else its
// tooltip; blanks around it trimmed. Only boxes, lists and buttons have one: labels speak for
// themselves, and pictures and rules say nothing.
std::string AccessibleName(const Control& control);
// What a screen reader adds after the name: the caption of the visible label that shows what
// the control acts on, else the tooltip; empty where that would only repeat the name.
std::string AccessibleDescription(const Control& control);

// The places that depend on the models' state, given to `place` before every rendering: the
// confirmation's list is shortened while the clipboard import's name and group boxes show.
void ArrangePlaces(const App& app, const Form& form,
                   const std::function<void(const char* control, const TwipRect&)>& place);

} // namespace tabbern
