// The platform for Windows, on the Win32 API: program facts, message boxes, the notification-
// area icon, the shell, the clipboard, the common dialogs, the Run value and web fetches over
// WinINet. As the renderer of the core's view host it makes the forms' windows and runs the
// nested loop of a modal one.
#pragma once

#include "platform/Platform.h"
#include "ui/ViewHost.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tabbern {

struct App;
class Form;

namespace win32 {

class FormWindow;

class Win32Platform : public Platform, public Renderer {
public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // The host of the program's windows; the platform makes them for it (Renderer).
    void setHost(ViewHost& host) { host_ = &host; }

    // The main window once its window exists, else nullptr.
    HWND mainWindow() const;
    // The windows of every form that has one.
    std::vector<HWND> programWindows() const;

    // The window that receives the icon's messages (the main window). It also keeps the icon:
    // trying again while the shell cannot take it yet, and adding it again to a new task bar.
    void setTrayWindow(HWND window);

    // Keyboard navigation of the program's windows (Tab, Escape, Enter, access keys): true when
    // the message was handled and must not be dispatched again.
    bool preTranslate(MSG& msg);

    // ---- Renderer -----------------------------------------------------------------------
    std::unique_ptr<::tabbern::FormWindow> createWindow(Form& form,
                                                        const FormLayout& layout) override;
    void runNestedLoop(Form& form) override;
    void endNestedLoop(Form& form) override;
    void popupMenu(MenuItem& menu) override;

    // ---- Platform -----------------------------------------------------------------------
    std::string programFolder() override;
    std::string programFileBaseName() override;
    std::string programName() override;
    std::string commandLine() override;
    std::string programCommand() override;
    std::string todayShortDate() override;
    std::string shortDateOf(std::int64_t secondsSince1970) override;
    std::optional<std::int64_t> secondsOfShortDate(const std::string& text) override;
    bool isHiddenOrSystemFile(const std::string& path) override;

    MsgResult messageBox(const std::string& text, const std::string& title,
                         MsgButtons buttons) override;
    [[noreturn]] void endProcess() override;

    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    std::vector<ScreenArea> screenWorkAreas() override;

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
    LinkFetcher& linkFetcher() override;

    // The message the notification-area icon sends to its window.
    static constexpr UINT kTrayMessage = WM_APP + 1;

protected:
    // The calls into the shell, apart so that tests can stand in for the shell.
    virtual bool notifyIcon(DWORD message, NOTIFYICONDATAW& data);
    virtual bool openInBrowser(const std::wstring& address);
    // The pause between trayAdd's quick tries, and how often the icon is tried after them.
    DWORD trayPauseMs_ = 100;
    UINT trayRetryMs_ = 2000;

private:
    // The program's window with that handle, or nullptr.
    FormWindow* windowOfHandle(HWND window) const;
    // The program window that owns a message box or common dialog now.
    HWND ownerWindow() const;
    std::string runFileDialog(const FileDialogRequest& request, bool save);
    std::wstring executablePath() const;
    // Adds the icon, or brings it up to date when it is there; true when the shell shows it.
    bool putTrayIcon();
    static LRESULT CALLBACK TrayWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                           DWORD_PTR self);

    ViewHost* host_ = nullptr;
    HWND trayWindow_ = nullptr;
    // The icon as last asked for, so that it can be added again.
    std::wstring trayTip_;
    HICON trayIcon_ = nullptr;
    // Asked for and not removed since: a retry or a new task bar adds it.
    bool trayWanted_ = false;
    bool trayShown_ = false;
    std::unique_ptr<LinkFetcher> linkFetcher_;
};

} // namespace win32
} // namespace tabbern
