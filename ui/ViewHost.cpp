#include "ui/ViewHost.h"

#include "app/App.h"
#include "app/Dispatch.h"
#include "app/Exit.h"
#include "app/Window.h"

#include <algorithm>

namespace tabbern {

ViewHost::~ViewHost() = default;

void ViewHost::runEvent(const std::function<void()>& handler) {
    try {
        if (app_)
            Dispatch(*app_, handler);
        else
            handler();
    } catch (const ProcessEnded&) {
        // Only where a test replaced the end of the process: it "ended" inside this event.
    }
    renderAll();
}

void ViewHost::renderAll() {
    // A window made while rendering (none should be) is rendered by the next round.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        arrange(entries_[i]);
        entries_[i].window->render();
    }
}

void ViewHost::arrange(Entry& e) {
    if (app_)
        ArrangePlaces(*app_, *e.form, [&e](const char* control, const TwipRect& rect) {
            e.window->place(control, rect);
        });
}

ViewHost::Entry* ViewHost::entryOf(const Form& form) {
    for (Entry& e : entries_)
        if (e.form == &form)
            return &e;
    return nullptr;
}

const ViewHost::Entry* ViewHost::entryOf(const Form& form) const {
    for (const Entry& e : entries_)
        if (e.form == &form)
            return &e;
    return nullptr;
}

FormWindow& ViewHost::windowOf(Form& form) {
    if (Entry* e = entryOf(form))
        return *e->window;
    FormLayout layout = layouts_ ? layouts_(form) : app_ ? LayoutOf(*app_, form) : FormLayout{};
    std::unique_ptr<FormWindow> window = renderer_.createWindow(form, layout);
    entries_.push_back({&form, std::move(layout), std::move(window)});
    Entry& e = entries_.back();
    arrange(e);
    e.window->render();
    return *e.window;
}

FormWindow* ViewHost::existingWindowOf(const Form& form) const {
    const Entry* e = entryOf(form);
    return e ? e->window.get() : nullptr;
}

std::vector<Form*> ViewHost::forms() const {
    std::vector<Form*> out;
    for (const Entry& e : entries_)
        out.push_back(e.form);
    return out;
}

// ---- what the windows report ----------------------------------------------------------------

void ViewHost::activated(Form& form) {
    if (activation_.becameActive(form) && form.onActivate)
        runEvent(form.onActivate);
}

void ViewHost::hidden(Form& form) {
    activation_.gone(form);
}

void ViewHost::frameClosed(Form& form) {
    if (app_ && &form == &app_->main) {
        // The close box ends the program without a question.
        runEvent([this] { MainForm_Unload(*app_); });
        return;
    }
    const Entry* e = entryOf(form);
    Control* cancel = e && e->layout.cancel ? form.findControl(e->layout.cancel) : nullptr;
    if (auto* button = dynamic_cast<Button*>(cancel))
        runEvent([button] { button->click(); });
}

void ViewHost::userMoved(Form& form, double left, double top, double width, double height) {
    if (form.windowState() == WindowState::Minimized)
        return;
    form.move(left, top);
    form.setSize(width, height);
}

void ViewHost::userChangedState(Form& form, WindowState state) {
    // A state the model holds already was applied from it.
    if (state == form.windowState())
        return;
    form.setWindowState(state);
    // Minimised hides the window into the notification area; normal clears the marker.
    runEvent([&form] {
        if (form.onResize)
            form.onResize();
    });
}

void ViewHost::trayAction(int action) {
    if (app_)
        runEvent([this, action] { TrayIcon_MouseAction(*app_, action); });
}

// ---- FormHost -------------------------------------------------------------------------------

void ViewHost::showModal(Form& form) {
    FormWindow& window = windowOf(form);
    form.setVisible(true);
    renderAll();
    window.show(true);
    // A form hidden by its own activation never runs a loop.
    if (!form.visible())
        return;
    modals_.push_back(&form);
    renderer_.runNestedLoop(form);
    modals_.erase(std::remove(modals_.begin(), modals_.end(), &form), modals_.end());
}

void ViewHost::showModeless(Form& form) {
    FormWindow& window = windowOf(form);
    form.setVisible(true);
    renderAll();
    window.show(false);
}

void ViewHost::hideForm(Form& form) {
    form.setVisible(false);
    if (FormWindow* window = existingWindowOf(form))
        window->hide();
    activation_.gone(form);
    if (std::find(modals_.begin(), modals_.end(), &form) != modals_.end())
        renderer_.endNestedLoop(form);
}

void ViewHost::applyWindowState(Form& form) {
    windowOf(form).applyWindowState();
}

void ViewHost::setForeground(Form& form) {
    windowOf(form).setForeground();
}

void ViewHost::popupMenu(MenuItem& menu) {
    renderAll();
    renderer_.popupMenu(menu);
}

} // namespace tabbern
