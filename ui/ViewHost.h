// The program's windows, once for every window system. The host owns what is the same on all
// of them: which form has which window, the event cycle (a handler runs through the core's
// dispatcher, then every window is brought up to date once), activation, the show, hide and
// modal bookkeeping, what a frame's close box means, the tray icon's clicks, and the geometry
// and state the user gives a window. A window system supplies a Renderer: it makes a form's
// native window from the form's layout, renders the models into it, and forwards the user's
// input to the host; it decides nothing.
#pragma once

#include "platform/Platform.h"
#include "ui/FormActivation.h"
#include "ui/Layout.h"

#include <functional>
#include <memory>
#include <vector>

namespace tabbern {

struct App;

// One form's native window.
class FormWindow {
public:
    virtual ~FormWindow() = default;
    // Brings the window up to date with whatever changed in its models since the last call,
    // and gives the focus where the form last asked for it. Never runs a handler.
    virtual void render() = 0;
    // Shows the window and makes it the active one. A modal window keeps the program's other
    // windows from taking input until it is hidden.
    virtual void show(bool modal) = 0;
    virtual void hide() = 0;
    // Applies the form's window state (normal, minimised, maximised) now.
    virtual void applyWindowState() = 0;
    virtual void setForeground() = 0;
    // Moves a control to another place than its layout gives it.
    virtual void place(const std::string& control, const TwipRect& rect) = 0;
};

// What a window system does for the host.
class Renderer {
public:
    virtual ~Renderer() = default;
    // The form's window, made hidden from its layout.
    virtual std::unique_ptr<FormWindow> createWindow(Form& form, const FormLayout& layout) = 0;
    // Runs the window system's events until endNestedLoop is called for the form.
    virtual void runNestedLoop(Form& form) = 0;
    virtual void endNestedLoop(Form& form) = 0;
    // Pops up a menu at the mouse position; its commands run before this returns.
    virtual void popupMenu(MenuItem& menu) = 0;
};

class ViewHost : public FormHost {
public:
    explicit ViewHost(Renderer& renderer) : renderer_(renderer) {}
    ~ViewHost() override;
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    // The App is built on this host, so it is handed over after construction.
    void setApp(App& app) { app_ = &app; }
    // Where the forms' layouts come from: LayoutOf for the App's forms unless given (tests lay
    // out forms of their own).
    void setLayouts(std::function<FormLayout(const Form&)> layouts) {
        layouts_ = std::move(layouts);
    }

    // One user event: the handler runs through the core's dispatcher, then every window is
    // brought up to date once.
    void runEvent(const std::function<void()>& handler);
    // Brings every window up to date now (before a message box or a file dialog appears).
    void renderAll();

    // The form's window, made the first time it is asked for: a start builds the main window
    // alone.
    FormWindow& windowOf(Form& form);
    // The form's window when it has been made, else nullptr.
    FormWindow* existingWindowOf(const Form& form) const;
    // The forms whose windows exist, in the order they were made.
    std::vector<Form*> forms() const;

    // ---- what the windows report --------------------------------------------------------
    // The form's window became the program's active window. Its activation handler runs when
    // that is an activation: when another form (or none) was active before. A message box or
    // file dialog closing over it is none, nor is coming back from another program.
    void activated(Form& form);
    void hidden(Form& form);
    // The frame's close box, or Escape in a dialog: a dialog's cancel button, the main window's
    // end of the program.
    void frameClosed(Form& form);
    // Where the user put the window (frame included); the model follows without any handler.
    void userMoved(Form& form, double left, double top, double width, double height);
    // The user minimised, restored or maximised the window: the model follows and the form's
    // resize handling runs.
    void userChangedState(Form& form, WindowState state);
    // A mouse action on the notification-area icon.
    void trayAction(int action);

    // ---- FormHost -----------------------------------------------------------------------
    void showModal(Form& form) override;
    void showModeless(Form& form) override;
    void hideForm(Form& form) override;
    void applyWindowState(Form& form) override;
    void setForeground(Form& form) override;
    void popupMenu(MenuItem& menu) override;
    void runAsEvent(const std::function<void()>& handler) override { runEvent(handler); }

private:
    struct Entry {
        Form* form;
        FormLayout layout;
        std::unique_ptr<FormWindow> window;
    };
    Entry* entryOf(const Form& form);
    const Entry* entryOf(const Form& form) const;
    void arrange(Entry& e);

    Renderer& renderer_;
    App* app_ = nullptr;
    std::function<FormLayout(const Form&)> layouts_;
    std::vector<Entry> entries_;
    std::vector<Form*> modals_;
    FormActivation activation_;
};

} // namespace tabbern
