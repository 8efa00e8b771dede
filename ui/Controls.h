// The program's windows and controls as plain models. The behaviour reads and writes these;
// a view (Qt now, Win32 later) renders them and forwards the user's input to the handlers.
//
// Every mutation goes through a setter that bumps the control's revision, so that a view can
// redraw only what changed since it last looked. Selecting an entry of a list or combo box from
// code runs that control's click handler at once, as the behaviour relies on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tabbern {

// A colour as the behaviour names it: either one of the desktop's own colours, or an RGB value.
struct Colour {
    enum class Kind : std::uint8_t { Default, Rgb, Highlight, ButtonFace, ActiveTitleBar };
    Kind kind = Kind::Default;
    std::uint32_t rgb = 0; // 0xRRGGBB when kind is Rgb

    static Colour system(Kind k) { return Colour{k, 0}; }
    static Colour fromRgb(std::uint32_t v) { return Colour{Kind::Rgb, v}; }
    friend bool operator==(const Colour&, const Colour&) = default;
};
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// Where a control lies on its window, in twips: left, top, width, height.
struct TwipRect {
    int left, top, width, height;
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};
inline constexpr std::uint32_t kBlack = 0x000000;

// The character code a key press reports for Enter.
inline constexpr int kEnterKey = 13;

class Label;

class Control {
public:
    explicit Control(std::string name) : name_(std::move(name)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    std::uint64_t revision() const { return revision_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { set(enabled_, on); }
    bool visible() const { return visible_; }
    void setVisible(bool on) { set(visible_, on); }
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string t) { set(toolTip_, std::move(t)); }
    Colour foreColour() const { return foreColour_; }
    void setForeColour(Colour c) { set(foreColour_, c); }
    Colour backColour() const { return backColour_; }
    void setBackColour(Colour c) { set(backColour_, c); }

    // What a screen reader says of the control (AccessibleName and AccessibleDescription in
    // ui/Layout.h choose among these and the captions). The label a sighted user reads just
    // before the control names it; a label showing what the control acts on describes it; a
    // name of its own is only for a control that nothing on the window names.
    const Label* label() const { return label_; }
    void setLabel(const Label& l) { set(label_, &l); }
    const Label* describedBy() const { return describedBy_; }
    void setDescribedBy(const Label& l) { set(describedBy_, &l); }
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(std::string n) { set(accessibleName_, std::move(n)); }

protected:
    template <class T, class U> void set(T& field, U&& value) {
        if (!(field == value)) {
            field = std::forward<U>(value);
            touch();
        }
    }
    void touch() { ++revision_; }

private:
    std::string name_;
    std::uint64_t revision_ = 1;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    Colour foreColour_;
    Colour backColour_;
    const Label* label_ = nullptr;
    const Label* describedBy_ = nullptr;
    std::string accessibleName_;
};

class Label : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { set(caption_, std::move(c)); }

    std::function<void()> onDblClick;
    // A double-click as a user makes it: a disabled label takes none.
    void dblClick() {
        if (enabled() && onDblClick)
            onDblClick();
    }

private:
    std::string caption_;
};

class TextBox : public Control {
public:
    using Control::Control;
    const std::string& text() const { return text_; }
    void setText(std::string t) { set(text_, std::move(t)); }

    // A key typed in the box: the character code (kEnterKey for Enter).
    std::function<void(int)> onKeyPress;
    // A key as a user types it: a disabled box takes none.
    void keyPress(int key) {
        if (enabled() && onKeyPress)
            onKeyPress(key);
    }

private:
    std::string text_;
};

// A picture box or a button face: the number of one of the program's bitmaps, 0 for none.
class PictureBox : public Control {
public:
    using Control::Control;
    int picture() const { return picture_; }
    void setPicture(int bitmap) { set(picture_, bitmap); }

private:
    int picture_ = 0;
};

class Button : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { set(caption_, std::move(c)); }
    int picture() const { return picture_; }
    void setPicture(int bitmap) { set(picture_, bitmap); }

    std::function<void()> onClick;
    // Presses the button as a user would: nothing happens while it is disabled.
    void click() {
        if (enabled() && onClick)
            onClick();
    }

private:
    std::string caption_;
    int picture_ = 0;
};

// The entries of a list box or a combo box, in the order they were added (never sorted by
// itself), and the selected position, -1 for none.
class ListControl : public Control {
public:
    using Control::Control;

    const std::vector<std::string>& items() const { return items_; }
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::string& item(int i) const { return items_.at(static_cast<std::size_t>(i)); }
    int listIndex() const { return listIndex_; }

    void clear() {
        if (!items_.empty() || listIndex_ != -1) {
            items_.clear();
            listIndex_ = -1;
            touch();
        }
    }
    void addItem(std::string s) {
        items_.push_back(std::move(s));
        touch();
    }

    // Selecting from code runs the click handler at once, as a user's click does. -1 clears
    // the selection without a click.
    void setListIndex(int i) {
        if (i < -1 || i >= listCount())
            i = -1;
        listIndex_ = i;
        selected(i);
        touch();
        if (i >= 0 && onClick)
            onClick();
    }

    std::function<void()> onClick;

protected:
    // What else selecting an entry changes, before the click handler runs.
    virtual void selected(int) {}
    void forgetSelection() { listIndex_ = -1; }

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

class ListBox : public ListControl {
public:
    using ListControl::ListControl;

    // The text of the selected entry, or empty with no selection.
    std::string selectedText() const {
        return listIndex() >= 0 ? item(listIndex()) : std::string();
    }

    std::function<void()> onDblClick;
    void dblClick() {
        if (enabled() && onDblClick)
            onDblClick();
    }
};

// An editable combo box: a list with a text of its own. Selecting an entry puts the entry's
// text into the box, then runs the click handler.
class ComboBox : public ListControl {
public:
    using ListControl::ListControl;

    const std::string& text() const { return text_; }
    // Typing or setting the text leaves no entry selected.
    void setText(std::string t) {
        if (text_ != t || listIndex() != -1) {
            text_ = std::move(t);
            forgetSelection();
            touch();
        }
    }

    // A key typed in the box: the character code (kEnterKey for Enter).
    std::function<void(int)> onKeyPress;
    void keyPress(int key) {
        if (enabled() && onKeyPress)
            onKeyPress(key);
    }

protected:
    void selected(int i) override {
        if (i >= 0)
            text_ = item(i);
    }

private:
    std::string text_;
};

// A bar that fills as work proceeds: `value` of `maximum` done.
class ProgressBar : public Control {
public:
    using Control::Control;
    int value() const { return value_; }
    int maximum() const { return maximum_; }
    void setRange(int value, int maximum) {
        set(maximum_, maximum < 0 ? 0 : maximum);
        set(value_, value < 0 ? 0 : value > maximum_ ? maximum_ : value);
    }

private:
    int value_ = 0;
    int maximum_ = 0;
};

class MenuItem : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { set(caption_, std::move(c)); }
    bool checked() const { return checked_; }
    void setChecked(bool on) { set(checked_, on); }

    std::vector<MenuItem*> children; // a submenu's items, in order; nullptr is a separator
    std::function<void()> onClick;

    // Chooses the item as a user would: nothing happens while it is disabled.
    void click() {
        if (enabled() && onClick)
            onClick();
    }

private:
    std::string caption_;
    bool checked_ = false;
};

enum class WindowState : std::uint8_t { Normal, Minimized, Maximized };

// A window. Positions and sizes are in twips (1/1440 inch), as the behaviour computes them.
class Form : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { set(caption_, std::move(c)); }
    int icon() const { return icon_; }
    void setIcon(int resource) { set(icon_, resource); }
    int picture() const { return picture_; }
    void setPicture(int bitmap) { set(picture_, bitmap); }
    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState s) { set(windowState_, s); }

    double left() const { return left_; }
    double top() const { return top_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void move(double left, double top) {
        set(left_, left);
        set(top_, top);
    }
    void setSize(double width, double height) {
        set(width_, width);
        set(height_, height);
    }
    // Every control and menu item of the form, for views and tests that look them up by name.
    virtual std::vector<Control*> allControls() { return {}; }
    Control* findControl(const std::string& name) {
        for (Control* c : allControls())
            if (c->name() == name)
                return c;
        return nullptr;
    }

    // Runs when the form becomes the active window (not when a message box over it closes).
    std::function<void()> onActivate;
    // Runs when the user changes the window's size or state (minimise, restore, maximise).
    std::function<void()> onResize;

    // The control that should have the keyboard focus, by name; empty for the form's own choice.
    // Every request counts, even for the control already named: the user may have moved on.
    // Views give the focus once per request (focusRequests() counts them), not on every change
    // of the form: a window the user moves must not take the focus from where he typed.
    const std::string& focusedControl() const { return focusedControl_; }
    std::uint64_t focusRequests() const { return focusRequests_; }
    void setFocusedControl(std::string controlName) {
        focusedControl_ = std::move(controlName);
        ++focusRequests_;
        touch();
    }

    // The inner area that the controls lie on, in twips.
    double clientWidth() const { return clientWidth_; }
    double clientHeight() const { return clientHeight_; }
    void setClientSize(double w, double h) {
        set(clientWidth_, w);
        set(clientHeight_, h);
    }

private:
    std::string caption_;
    int icon_ = 0;
    int picture_ = 0;
    WindowState windowState_ = WindowState::Normal;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    double clientWidth_ = 0, clientHeight_ = 0;
    std::string focusedControl_;
    std::uint64_t focusRequests_ = 0;
};

} // namespace tabbern
