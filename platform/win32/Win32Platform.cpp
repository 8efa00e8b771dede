#include "platform/win32/Win32Platform.h"

#include "app/App.h"
#include "editing/WebAddress.h"
#include "platform/win32/Bitmaps.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinHttpFetcher.h"
#include "ui/Controls.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace tabbern::win32 {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kFetchTimeoutMs = 5000;
constexpr UINT kTrayIconId = 1;
// The tries trayAdd makes before it leaves the icon to the timer: with the pauses between them
// well under a second, for it runs on the window's thread.
constexpr int kTrayQuickTries = 4;
constexpr UINT_PTR kTrayRetryTimer = 0x7462;
constexpr UINT_PTR kTraySubclassId = 0x7462;

// Closes a WinINet handle when it goes out of scope.
struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() {
        if (h)
            InternetCloseHandle(h);
    }
};

// What a new task bar (Explorer started again) tells every top-level window.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// Collects the work area of every screen, the primary one first.
BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        auto& list = *reinterpret_cast<std::vector<std::pair<RECT, bool>>*>(areas);
        list.emplace_back(info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
    }
    return TRUE;
}

// FILETIME counts 100-nanosecond steps from 1601; these are the ones before 1970.
constexpr std::int64_t kFileTimeOf1970 = 116444736000000000LL;
constexpr std::int64_t kFileTimePerSecond = 10000000;

// A date written in a short date pattern ("M/d/yyyy", "dd.MM.yy", "yyyy'-'MM'-'dd"): day, month
// and year in digits, everything else as the pattern writes it. Patterns that name the day,
// the month or the era are not read. The hour is noon.
std::optional<SYSTEMTIME> ReadDateByPattern(std::wstring_view text, std::wstring_view pattern) {
    int day = 0, month = 0, year = -1;
    bool shortYear = false;
    std::size_t t = 0;
    for (std::size_t p = 0; p < pattern.size();) {
        const wchar_t c = pattern[p];
        if (c == L'\'') {
            std::size_t end = pattern.find(L'\'', p + 1);
            if (end == std::wstring_view::npos)
                end = pattern.size();
            const std::wstring_view literal = pattern.substr(p + 1, end - p - 1);
            if (text.substr(t, literal.size()) != literal)
                return std::nullopt;
            t += literal.size();
            p = end + 1;
            continue;
        }
        std::size_t run = 1;
        while (p + run < pattern.size() && pattern[p + run] == c)
            ++run;
        p += run;
        if (c == L'd' || c == L'M' || c == L'y') {
            if (c != L'y' && run > 2)
                return std::nullopt;
            const std::size_t most = c == L'y' && run > 2 ? 4 : 2;
            int value = 0;
            std::size_t digits = 0;
            for (; t < text.size() && digits < most && text[t] >= L'0' && text[t] <= L'9'; ++t)
                value = value * 10 + (text[t] - L'0'), ++digits;
            if (digits == 0)
                return std::nullopt;
            (c == L'd' ? day : c == L'M' ? month : year) = value;
            shortYear = shortYear || (c == L'y' && run <= 2);
        } else if (c == L'g') {
            return std::nullopt;
        } else {
            for (std::size_t k = 0; k < run; ++k, ++t)
                if (t >= text.size() || text[t] != c)
                    return std::nullopt;
        }
    }
    if (t != text.size() || year < 0)
        return std::nullopt;
    if (shortYear) {
        // The century that puts the year at most 20 years ahead.
        SYSTEMTIME now{};
        GetLocalTime(&now);
        year += now.wYear / 100 * 100;
        if (year > now.wYear + 20)
            year -= 100;
    }
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    date.wHour = 12;
    return date;
}

} // namespace

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
    trayRemove();
    if (trayWindow_ && IsWindow(trayWindow_))
        RemoveWindowSubclass(trayWindow_, &TrayWindowProc, kTraySubclassId);
}

// ---- the windows
// ---------------------------------------------------------------------------------

FormWindow* Win32Platform::windowOfHandle(HWND window) const {
    if (!host_ || !window)
        return nullptr;
    for (Form* form : host_->forms()) {
        auto* w = static_cast<FormWindow*>(host_->existingWindowOf(*form));
        if (w && w->hwnd() == window)
            return w;
    }
    return nullptr;
}

std::vector<HWND> Win32Platform::programWindows() const {
    std::vector<HWND> out;
    if (host_)
        for (Form* form : host_->forms())
            out.push_back(static_cast<FormWindow*>(host_->existingWindowOf(*form))->hwnd());
    return out;
}

HWND Win32Platform::mainWindow() const {
    if (host_)
        for (Form* form : host_->forms())
            if (auto* w = static_cast<FormWindow*>(host_->existingWindowOf(*form));
                w->isMainWindow())
                return w->hwnd();
    return nullptr;
}

std::unique_ptr<::tabbern::FormWindow> Win32Platform::createWindow(Form& form,
                                                                   const FormLayout& layout) {
    const bool main = dynamic_cast<MainForm*>(&form) != nullptr;
    auto window = std::make_unique<FormWindow>(*host_, *this, form, layout, main);
    // The notification-area icon talks to the main window.
    if (main)
        setTrayWindow(window->hwnd());
    return window;
}

void Win32Platform::runNestedLoop(Form& form) {
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
}

void Win32Platform::endNestedLoop(Form&) {
    // The loop looks at the form after every message: one more wakes it.
    PostMessageW(nullptr, WM_NULL, 0, 0);
}

bool Win32Platform::preTranslate(MSG& msg) {
    FormWindow* window = windowOfHandle(GetAncestor(msg.hwnd, GA_ROOT));
    return window && window->preTranslate(msg);
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

std::string Win32Platform::shortDateOf(std::int64_t secondsSince1970) {
    if (secondsSince1970 < -kFileTimeOf1970 / kFileTimePerSecond ||
        secondsSince1970 > 253402300799) // the end of the year 9999
        return {};
    const auto steps =
        static_cast<ULONGLONG>(secondsSince1970 * kFileTimePerSecond + kFileTimeOf1970);
    const FILETIME utc{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    SYSTEMTIME utcTime{}, local{};
    if (!FileTimeToSystemTime(&utc, &utcTime) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local))
        return {};
    wchar_t buffer[128] = {};
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, buffer,
                                  128, nullptr);
    return n > 0 ? Narrow(buffer) : std::string();
}

std::optional<std::int64_t> Win32Platform::secondsOfShortDate(const std::string& text) {
    wchar_t pattern[80] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, 80) <= 0)
        return std::nullopt;
    std::wstring wide = Widen(text);
    const std::size_t first = wide.find_first_not_of(L' ');
    wide = first == std::wstring::npos
               ? L""
               : wide.substr(first, wide.find_last_not_of(L' ') - first + 1);
    const std::optional<SYSTEMTIME> local = ReadDateByPattern(wide, pattern);
    // Converting the local time also checks that the day exists.
    FILETIME checked{}, utc{};
    SYSTEMTIME utcTime{};
    if (!local || !SystemTimeToFileTime(&*local, &checked) ||
        !TzSpecificLocalTimeToSystemTime(nullptr, &*local, &utcTime) ||
        !SystemTimeToFileTime(&utcTime, &utc))
        return std::nullopt;
    const auto steps = (static_cast<std::int64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    return (steps - kFileTimeOf1970) / kFileTimePerSecond;
}

bool Win32Platform::isHiddenOrSystemFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// ---- message boxes and forms --------------------------------------------------------------------

HWND Win32Platform::ownerWindow() const {
    HWND active = GetActiveWindow();
    if (windowOfHandle(active))
        return active;
    // While a dialog is modal it is the one program window that takes input.
    HWND visible = nullptr;
    for (HWND w : programWindows())
        if (IsWindowVisible(w)) {
            if (IsWindowEnabled(w))
                return w;
            if (!visible)
                visible = w;
        }
    return visible;
}

MsgResult Win32Platform::messageBox(const std::string& text, const std::string& title,
                                    MsgButtons buttons) {
    if (host_)
        host_->renderAll();
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
    return RefusingAnswer(buttons);
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

std::vector<ScreenArea> Win32Platform::screenWorkAreas() {
    std::vector<std::pair<RECT, bool>> found;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&found));
    std::stable_partition(found.begin(), found.end(), [](const auto& f) { return f.second; });
    const double tpp = twipsPerPixelX();
    std::vector<ScreenArea> areas;
    for (const auto& [r, primary] : found)
        areas.push_back(
            {r.left * tpp, r.top * tpp, (r.right - r.left) * tpp, (r.bottom - r.top) * tpp});
    return areas;
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

void Win32Platform::popupMenu(MenuItem& menu) {
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

void Win32Platform::setTrayWindow(HWND window) {
    if (trayWindow_ && IsWindow(trayWindow_))
        RemoveWindowSubclass(trayWindow_, &TrayWindowProc, kTraySubclassId);
    trayWindow_ = window;
    if (window)
        SetWindowSubclass(window, &TrayWindowProc, kTraySubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Win32Platform::TrayWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                                               UINT_PTR, DWORD_PTR self) {
    auto& platform = *reinterpret_cast<Win32Platform*>(self);
    if (msg == WM_TIMER && wp == kTrayRetryTimer) {
        if (!platform.trayWanted_ || platform.putTrayIcon())
            KillTimer(window, kTrayRetryTimer);
        return 0;
    }
    if (msg == TaskbarCreatedMessage() && platform.trayWanted_) {
        // The new task bar holds none of the old icons.
        platform.trayShown_ = false;
        if (!platform.putTrayIcon())
            SetTimer(window, kTrayRetryTimer, platform.trayRetryMs_, nullptr);
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &TrayWindowProc, kTraySubclassId);
        platform.trayWindow_ = nullptr;
    }
    return DefSubclassProc(window, msg, wp, lp);
}

bool Win32Platform::notifyIcon(DWORD message, NOTIFYICONDATAW& data) {
    return Shell_NotifyIconW(message, &data) != FALSE;
}

bool Win32Platform::putTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = trayWindow_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = trayIcon_;
    const std::size_t n = std::min<std::size_t>(trayTip_.size(), std::size(data.szTip) - 1);
    std::copy_n(trayTip_.begin(), n, data.szTip);
    data.szTip[n] = L'\0';
    if (trayShown_ && notifyIcon(NIM_MODIFY, data))
        return true;
    // A busy shell can report a failed NIM_ADD and show the icon all the same: an icon that it
    // lets us modify is there.
    trayShown_ = notifyIcon(NIM_ADD, data) || notifyIcon(NIM_MODIFY, data);
    return trayShown_;
}

bool Win32Platform::trayAdd(const std::string& tip, int iconResource) {
    if (!trayWindow_)
        return false;
    (void)iconResource; // the program has one icon
    // The tip may come padded as a fixed-size record: it ends at the first NUL.
    trayTip_ = Widen(tip.substr(0, tip.find('\0')));
    trayIcon_ = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
    trayWanted_ = true;
    // Right after log-on the shell may not take icons yet: a few quick tries, then the timer
    // keeps trying until it does.
    for (int attempt = 0; attempt < kTrayQuickTries; ++attempt) {
        if (attempt > 0)
            Sleep(trayPauseMs_);
        if (putTrayIcon()) {
            KillTimer(trayWindow_, kTrayRetryTimer);
            return true;
        }
    }
    SetTimer(trayWindow_, kTrayRetryTimer, trayRetryMs_, nullptr);
    return false;
}

void Win32Platform::trayRemove() {
    trayWanted_ = false;
    if (trayWindow_)
        KillTimer(trayWindow_, kTrayRetryTimer);
    if (!trayShown_)
        return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = trayWindow_;
    data.uID = kTrayIconId;
    notifyIcon(NIM_DELETE, data);
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
    // Without its scheme the shell would take the address for a file name.
    return openInBrowser(Widen(BrowserAddress(url)));
}

bool Win32Platform::openInBrowser(const std::wstring& address) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
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
    if (host_)
        host_->renderAll();
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
    if (host_)
        host_->renderAll();
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

LinkFetcher& Win32Platform::linkFetcher() {
    if (!linkFetcher_)
        linkFetcher_ = std::make_unique<WinHttpFetcher>();
    return *linkFetcher_;
}

std::string Win32Platform::fetchUrl(const std::string& url) {
    // Never a local file; and WinINet needs the scheme.
    if (!IsWebAddress(url))
        return {};
    const std::string address = BrowserAddress(url);
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
        session.h, Widen(address).c_str(), nullptr, 0,
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
        if (body.size() > kFetchLimit)
            return {};
    }
    return body;
}

} // namespace tabbern::win32
