#include "platform/win32/Win32Platform.h"

#include "app/App.h"
#include "app/Dispatch.h"
#include "platform/win32/Bitmaps.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"
#include "ui/Controls.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tabbern::win32 {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kFetchTimeoutMs = 5000;
constexpr UINT kTrayIconId = 1;

// Closes a WinINet handle when it goes out of scope.
struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() {
        if (h)
            InternetCloseHandle(h);
    }
};

// Places a dialog about to be shown over the middle of the main window, or of the screen while
// the main window is hidden, and wholly on the screen.
void CentreWindow(HWND window, HWND over) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT centre = area;
    if (over && IsWindowVisible(over) && !IsIconic(over))
        GetWindowRect(over, &centre);
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    int x = (centre.left + centre.right - w) / 2;
    int y = (centre.top + centre.bottom - h) / 2;
    x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - w));
    y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - h));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
    trayRemove();
}

void Win32Platform::setApp(App& app) {
    app_ = &app;
}

// ---- the event cycle ----------------------------------------------------------------------------

void Win32Platform::runEvent(const std::function<void()>& handler) {
    if (app_)
        Dispatch(*app_, handler);
    else
        handler();
    syncViews();
}

void Win32Platform::syncViews() {
    const std::vector<FormWindow*> views = views_;
    for (FormWindow* view : views)
        view->sync();
}

void Win32Platform::registerView(FormWindow& view) {
    if (std::find(views_.begin(), views_.end(), &view) == views_.end())
        views_.push_back(&view);
}

FormWindow* Win32Platform::viewOf(const Form& form) const {
    for (FormWindow* view : views_)
        if (&view->form() == &form)
            return view;
    return nullptr;
}

FormWindow* Win32Platform::viewOfWindow(HWND window) const {
    for (FormWindow* view : views_)
        if (view->hwnd() == window && window)
            return view;
    return nullptr;
}

HWND Win32Platform::mainWindow() const {
    for (FormWindow* view : views_)
        if (view->isMainWindow())
            return view->hwnd();
    return nullptr;
}

FormWindow& Win32Platform::requireView(const Form& form) const {
    FormWindow* view = viewOf(form);
    if (!view)
        throw std::logic_error("no window is registered for the form " + form.name());
    return *view;
}

void Win32Platform::windowActivated(Form& form) {
    if (activation_.becameActive(form) && form.onActivate)
        runEvent(form.onActivate);
}

void Win32Platform::windowHidden(Form& form) {
    activation_.gone(form);
}

void Win32Platform::setTrayHandler(std::function<void(int)> handler) {
    trayHandler_ = std::move(handler);
}

void Win32Platform::trayActivated(int action) {
    if (trayHandler_)
        runEvent([this, action] { trayHandler_(action); });
}

bool Win32Platform::preTranslate(MSG& msg) {
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    FormWindow* view = viewOfWindow(top);
    return view && view->preTranslate(msg);
}

// ---- program facts ------------------------------------------------------------------------------

std::wstring Win32Platform::executablePath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Platform::programFolder() {
    return Narrow(FolderOfPath(executablePath()));
}

std::string Win32Platform::programFileBaseName() {
    return Narrow(BaseNameOfPath(executablePath()));
}

std::string Win32Platform::programName() {
    return "Tabbern";
}

std::string Win32Platform::commandLine() {
    return Narrow(ArgumentsOf(GetCommandLineW()));
}

std::string Win32Platform::programCommand() {
    return QuotedRunCommand(Narrow(executablePath()));
}

std::string Win32Platform::todayShortDate() {
    wchar_t buffer[128] = {};
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr,
                                  buffer, 128, nullptr);
    return n > 0 ? Narrow(buffer) : std::string();
}

bool Win32Platform::isHiddenOrSystemFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// ---- message boxes and forms --------------------------------------------------------------------

HWND Win32Platform::ownerWindow() const {
    HWND active = GetActiveWindow();
    if (viewOfWindow(active))
        return active;
    if (!modals_.empty())
        if (FormWindow* view = viewOf(*modals_.back().form))
            return view->hwnd();
    for (FormWindow* view : views_)
        if (IsWindowVisible(view->hwnd()))
            return view->hwnd();
    return nullptr;
}

MsgResult Win32Platform::messageBox(const std::string& text, const std::string& title,
                                    MsgButtons buttons) {
    syncViews();
    UINT type = MB_OK;
    if (buttons == MsgButtons::OKCancel)
        type = MB_OKCANCEL;
    else if (buttons == MsgButtons::YesNo)
        type = MB_YESNO;
    HWND owner = ownerWindow();
    const int answer = MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
                                   type | (owner ? MB_APPLMODAL : MB_TASKMODAL) | MB_SETFOREGROUND);
    switch (answer) {
    case IDOK:
        return MsgResult::OK;
    case IDYES:
        return MsgResult::Yes;
    case IDNO:
        return MsgResult::No;
    case IDCANCEL:
        return MsgResult::Cancel;
    default:
        break;
    }
    return buttons == MsgButtons::OK         ? MsgResult::OK
           : buttons == MsgButtons::OKCancel ? MsgResult::Cancel
                                             : MsgResult::No;
}

void Win32Platform::showModal(Form& form) {
    FormWindow& view = requireView(form);
    form.setVisible(true);
    syncViews();

    // Every other window of the program waits while the dialog is shown.
    Modal modal{&form, {}};
    for (FormWindow* other : views_) {
        HWND w = other->hwnd();
        if (other != &view && IsWindowVisible(w) && IsWindowEnabled(w)) {
            EnableWindow(w, FALSE);
            modal.disabled.push_back(w);
        }
    }
    modals_.push_back(modal);

    HWND w = view.hwnd();
    if (!IsWindowVisible(w))
        CentreWindow(w, mainWindow());
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    view.sync();

    MSG msg;
    while (form.visible()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The quit request belongs to the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    reenableOwners(form);
    auto it = std::find_if(modals_.begin(), modals_.end(),
                           [&form](const Modal& m) { return m.form == &form; });
    if (it != modals_.end())
        modals_.erase(it);
}

void Win32Platform::reenableOwners(Form& form) {
    for (Modal& m : modals_) {
        if (m.form != &form)
            continue;
        for (HWND w : m.disabled)
            EnableWindow(w, TRUE);
        m.disabled.clear();
    }
}

void Win32Platform::showModeless(Form& form) {
    FormWindow& view = requireView(form);
    form.setVisible(true);
    syncViews();
    HWND w = view.hwnd();
    if (!IsWindowVisible(w)) {
        int show = SW_SHOW;
        if (view.isMainWindow()) {
            if (form.windowState() == WindowState::Minimized)
                show = SW_SHOWMINNOACTIVE;
            else if (form.windowState() == WindowState::Maximized)
                show = SW_SHOWMAXIMIZED;
        } else {
            CentreWindow(w, mainWindow());
        }
        ShowWindow(w, show);
    }
    if (!IsIconic(w))
        SetForegroundWindow(w);
    view.sync();
}

void Win32Platform::hideForm(Form& form) {
    form.setVisible(false);
    // The windows the dialog disabled come back first, so that the focus returns to them.
    reenableOwners(form);
    if (FormWindow* view = viewOf(form))
        ShowWindow(view->hwnd(), SW_HIDE);
    windowHidden(form);
}

void Win32Platform::endProcess() {
    // No file is held open between operations, so there is nothing to flush or close.
    trayRemove();
    ExitProcess(0);
}

// ---- screen, window and desktop -----------------------------------------------------------------

double Win32Platform::twipsPerPixelX() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

double Win32Platform::screenWidthTwips() {
    return GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX();
}

double Win32Platform::screenHeightTwips() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return GetSystemMetrics(SM_CYSCREEN) * 1440.0 / (dpi > 0 ? dpi : 96);
}

void Win32Platform::applyWindowState(Form& form) {
    HWND w = requireView(form).hwnd();
    switch (form.windowState()) {
    case WindowState::Minimized:
        if (!IsIconic(w))
            ShowWindow(w, SW_MINIMIZE);
        break;
    case WindowState::Maximized:
        if (!IsZoomed(w))
            ShowWindow(w, SW_MAXIMIZE);
        break;
    case WindowState::Normal:
        if (IsIconic(w) || IsZoomed(w))
            ShowWindow(w, SW_RESTORE);
        break;
    }
}

void Win32Platform::setForeground(Form& form) {
    SetForegroundWindow(requireView(form).hwnd());
}

void Win32Platform::popupMenu(MenuItem& menu) {
    syncViews();
    MenuBinder binder(1);
    HMENU popup = binder.buildPopup(menu);
    binder.sync();
    HWND owner = trayWindow_ ? trayWindow_ : ownerWindow();
    POINT at;
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only while its window is in front.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    // The command runs inside the event that opened the menu, before this returns.
    if (MenuItem* item = binder.itemOf(chosen))
        item->click();
}

bool Win32Platform::trayAdd(const std::string& tip, int iconResource) {
    if (!trayWindow_)
        return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = trayWindow_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    (void)iconResource; // the program has one icon
    data.hIcon = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
    // The tip may come padded as a fixed-size record: it ends at the first NUL.
    const std::wstring text = Widen(tip.substr(0, tip.find('\0')));
    const std::size_t n = std::min<std::size_t>(text.size(), std::size(data.szTip) - 1);
    std::copy_n(text.begin(), n, data.szTip);
    data.szTip[n] = L'\0';
    trayShown_ = Shell_NotifyIconW(trayShown_ ? NIM_MODIFY : NIM_ADD, &data) != FALSE;
    return trayShown_;
}

void Win32Platform::trayRemove() {
    if (!trayShown_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = trayWindow_;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayShown_ = false;
}

bool Win32Platform::trayAvailable() {
    // Windows always has a notification area.
    return true;
}

// ---- shell and data exchange --------------------------------------------------------------------

bool Win32Platform::shellOpen(const std::string& url) {
    // The core passes only web addresses; anything else could start a program.
    if (!IsWebAddress(url))
        return false;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::string Win32Platform::clipboardText() {
    std::string text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(mainWindow()))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            // The data ends at its NUL, or at the end of the block when it has none.
            const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
            std::size_t n = 0;
            while (n < limit && chars[n] != L'\0')
                ++n;
            text = Narrow(std::wstring_view(chars, n));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::string Win32Platform::runFileDialog(const FileDialogRequest& request, bool save) {
    syncViews();
    const std::wstring filter = FileDialogFilter(request.filters);
    const std::wstring title = Widen(request.title);
    const std::wstring folder = Widen(request.initialDir);
    const std::wstring ext = Widen(request.defaultExt);
    std::wstring file = Widen(request.fileName);
    file.resize(std::max<std::size_t>(file.size() + 1, 4096), L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ownerWindow();
    ofn.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(request.filterIndex, 1));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    // A name typed for a file that does not exist comes back like any other: the caller's own
    // file access decides.
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (save)
        ofn.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok)
        return {};
    return Narrow(file.c_str());
}

std::string Win32Platform::openFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::string Win32Platform::saveFileDialog(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::string Win32Platform::browseForFolder(const std::string& prompt) {
    syncViews();
    const std::wstring title = Widen(prompt);
    BROWSEINFOW info{};
    info.hwndOwner = ownerWindow();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    std::string chosen;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(list, path))
            chosen = Narrow(path);
        CoTaskMemFree(list);
    }
    return chosen;
}

std::optional<std::string> Win32Platform::autostartEntry(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring value = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> result;
    if (RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, value.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &bytes) == ERROR_SUCCESS)
            result = Narrow(data.c_str());
    }
    RegCloseKey(key);
    return result;
}

void Win32Platform::writeAutostartEntry(const std::string& name, const std::string& command) {
    // Failures are not reported: the entry is simply absent at the next start.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    // Quoted, so that a program folder with blanks starts this program and not another.
    const std::wstring data = Widen(QuotedRunCommand(command));
    RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void Win32Platform::removeAutostartEntry(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, Widen(name).c_str());
    RegCloseKey(key);
}

std::string Win32Platform::fetchUrl(const std::string& url) {
    if (!IsWebAddress(url))
        return {};
    InternetHandle session{
        InternetOpenW(L"Tabbern", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    if (!session.h)
        return {};
    DWORD timeout = kFetchTimeoutMs;
    for (DWORD option : {static_cast<DWORD>(INTERNET_OPTION_CONNECT_TIMEOUT),
                         static_cast<DWORD>(INTERNET_OPTION_SEND_TIMEOUT),
                         static_cast<DWORD>(INTERNET_OPTION_RECEIVE_TIMEOUT)})
        InternetSetOptionW(session.h, option, &timeout, sizeof timeout);
    InternetHandle request{InternetOpenUrlW(
        session.h, Widen(url).c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0)};
    if (!request.h)
        return {};
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    if (!HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &statusSize, nullptr) ||
        status < 200 || status >= 300)
        return {};
    std::string body;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.h, buffer, sizeof buffer, &read))
            return {};
        if (read == 0)
            break;
        body.append(buffer, read);
    }
    return body;
}

} // namespace tabbern::win32
