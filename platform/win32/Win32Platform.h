// The platform for Windows, on the Win32 API: program facts, message boxes, the forms' windows,
// the notification-area icon, the shell, the clipboard, the common dialogs, the Run value and
// web fetches over WinINet. It also owns the event cycle of the views: every user event runs
// through runEvent, which hands it to the core and then renders every view once.
#pragma once

#include "platform/Platform.h"
#include "ui/FormActivation.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tabbern {

struct App;
class Form;

namespace win32 {

class FormWindow;

class Win32Platform : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // The App is built on this platform, so it is handed over after construction.
    void setApp(App& app);

    // One user event: the handler runs through the core's dispatcher, then every view renders
    // the models once. Views call this for every input they forward.
    void runEvent(const std::function<void()>& handler);
    // Renders every view from its models now (before a message box or dialog appears).
    void syncViews();

    void registerView(FormWindow& view);
    FormWindow* viewOf(const Form& form) const;
    FormWindow* viewOfWindow(HWND window) const;
    // The main window once its view exists, else nullptr.
    HWND mainWindow() const;

    // A form's activation handler runs when it becomes the program's active form: when shown,
    // or when the user switches to it from another form. A message box or common dialog closing
    // over it is not an activation, nor is coming back from another program.
    void windowActivated(Form& form);
    void windowHidden(Form& form);

    // The notification-area icon's mouse actions (the mouse message numbers).
    void setTrayHandler(std::function<void(int)> handler);
    void trayActivated(int action);
    // The window that receives the icon's messages (the main window).
    void setTrayWindow(HWND window) { trayWindow_ = window; }

    // Keyboard navigation of the program's windows (Tab, Escape, Enter, access keys): true when
    // the message was handled and must not be dispatched again.
    bool preTranslate(MSG& msg);

    // ---- Platform -----------------------------------------------------------------------
    std::string programFolder() override;
    std::string programFileBaseName() override;
    std::string programName() override;
    std::string commandLine() override;
    std::string programCommand() override;
    std::string todayShortDate() override;
    bool isHiddenOrSystemFile(const std::string& path) override;

    MsgResult messageBox(const std::string& text, const std::string& title,
                         MsgButtons buttons) override;
    void showModal(Form& form) override;
    void showModeless(Form& form) override;
    void hideForm(Form& form) override;
    [[noreturn]] void endProcess() override;

    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    void applyWindowState(Form& form) override;
    void setForeground(Form& form) override;
    void popupMenu(MenuItem& menu) override;

    bool trayAdd(const std::string& tip, int iconResource) override;
    void trayRemove() override;
    bool trayAvailable() override;

    bool shellOpen(const std::string& url) override;
    std::string clipboardText() override;
    std::string openFileDialog(const FileDialogRequest& request) override;
    std::string saveFileDialog(const FileDialogRequest& request) override;
    std::string browseForFolder(const std::string& prompt) override;

    std::optional<std::string> autostartEntry(const std::string& name) override;
    void writeAutostartEntry(const std::string& name, const std::string& command) override;
    void removeAutostartEntry(const std::string& name) override;

    std::string fetchUrl(const std::string& url) override;

    // The message the notification-area icon sends to its window.
    static constexpr UINT kTrayMessage = WM_APP + 1;

private:
    // A modal form and the windows it disabled while it is shown.
    struct Modal {
        Form* form;
        std::vector<HWND> disabled;
    };

    FormWindow& requireView(const Form& form) const;
    // The program window that owns a message box or common dialog now.
    HWND ownerWindow() const;
    std::string runFileDialog(const FileDialogRequest& request, bool save);
    std::wstring executablePath() const;
    void reenableOwners(Form& form);

    App* app_ = nullptr;
    std::vector<FormWindow*> views_;
    std::vector<Modal> modals_;
    FormActivation activation_;
    std::function<void(int)> trayHandler_;
    HWND trayWindow_ = nullptr;
    bool trayShown_ = false;
};

} // namespace win32
} // namespace tabbern
