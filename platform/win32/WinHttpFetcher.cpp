#include "platform/win32/WinHttpFetcher.h"

#include "platform/win32/Text.h"

#include <winhttp.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace tabbern::win32 {
namespace {

// What the system's threads post to the window: lParam is the request's serial number.
constexpr UINT kSent = WM_APP + 1;    // the request went out: ask for the response
constexpr UINT kHeaders = WM_APP + 2; // the status line and headers are in
constexpr UINT kFailed = WM_APP + 3;  // wParam is the error

constexpr wchar_t kWindowClass[] = L"TabbernLinkFetcher";

// Serial numbers are unique across all fetchers of the process, so that a message that reaches
// a window made after its fetcher's went can never be taken for one of the new fetcher's.
UINT_PTR nextSerial = 1;

// The context of a request handle, read on the system's threads. It outlives the fetcher when
// it must: WinHTTP frees nothing of it, the last callback (HANDLE_CLOSING) deletes it.
struct Context {
    HWND window;
    UINT_PTR serial;
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    auto* c = reinterpret_cast<Context*>(context);
    if (c == nullptr)
        return;
    const auto serial = static_cast<LPARAM>(c->serial);
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        PostMessageW(c->window, kSent, 0, serial);
        break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        PostMessageW(c->window, kHeaders, 0, serial);
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        PostMessageW(c->window, kFailed, static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError,
                     serial);
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        delete c;
        break;
    default:
        break;
    }
}

FetchFailure FailureOf(DWORD error) {
    switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return FetchFailure::HostNotFound;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return FetchFailure::Refused;
    case ERROR_WINHTTP_TIMEOUT:
        return FetchFailure::TimedOut;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
        return FetchFailure::CertificateNotTrusted;
    default:
        return FetchFailure::Other;
    }
}

// The system's words for an error; WinHTTP's own errors are in its module's message table.
std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        GetModuleHandleW(L"winhttp.dll"), error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

FetchAnswer Failure(std::uint64_t id, DWORD error) {
    FetchAnswer answer;
    answer.id = id;
    answer.failure = FailureOf(error);
    if (answer.failure == FetchFailure::Other)
        answer.detail = SystemMessage(error);
    return answer;
}

// The status and Location of a response whose headers are in.
FetchAnswer Response(std::uint64_t id, HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return Failure(id, GetLastError());
    FetchAnswer answer;
    answer.id = id;
    answer.status = static_cast<int>(status);
    size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                        WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > 0) {
        std::wstring location(size / sizeof(wchar_t), L'\0');
        if (WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX,
                                location.data(), &size, WINHTTP_NO_HEADER_INDEX)) {
            location.resize(size / sizeof(wchar_t));
            answer.location = Narrow(location);
        }
    }
    return answer;
}

} // namespace

WinHttpFetcher::WinHttpFetcher() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kWindowClass;
        RegisterClassExW(&windowClass);
    }
    window_ =
        CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (window_ == nullptr)
        throw std::runtime_error("cannot create the link check's message window");

    // The system's proxy settings apply, as for the browser's own requests.
    session_ = WinHttpOpen(Widen(LinkCheckUserAgent()).c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (session_ == nullptr)
        sessionError_ = GetLastError();
    else if (WinHttpSetStatusCallback(session_, OnStatus,
                                      WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS |
                                          WINHTTP_CALLBACK_FLAG_HANDLES,
                                      0) == WINHTTP_INVALID_STATUS_CALLBACK)
        sessionError_ = GetLastError();
}

WinHttpFetcher::~WinHttpFetcher() {
    cancelAll();
    // Closing the session leaves the callback in place for the HANDLE_CLOSING still to come.
    if (session_ != nullptr)
        WinHttpCloseHandle(session_);
    // Messages still posted to the window go with it.
    DestroyWindow(window_);
}

void WinHttpFetcher::setAnswerHandler(AnswerHandler handler) {
    handler_ = std::move(handler);
}

void WinHttpFetcher::start(const FetchRequest& request) {
    const UINT_PTR serial = nextSerial++;
    Pending& pending = pending_[serial];
    pending.id = request.id;
    // A failure found here is answered from the message loop like any other.
    if (const DWORD error = open(request, pending, serial); error != NO_ERROR)
        PostMessageW(window_, kFailed, error, static_cast<LPARAM>(serial));
    // WinHTTP's time-outs count each step on its own; this one counts the whole request.
    SetTimer(window_, serial, static_cast<UINT>(request.timeoutSeconds) * 1000, nullptr);
}

DWORD WinHttpFetcher::open(const FetchRequest& request, Pending& pending, UINT_PTR serial) {
    if (session_ == nullptr || sessionError_ != 0)
        return sessionError_ != 0 ? sessionError_ : ERROR_INVALID_HANDLE;
    const std::wstring url = Widen(request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength =
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return GetLastError();
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return ERROR_WINHTTP_UNRECOGNIZED_SCHEME;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength);
    object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    object.erase(std::min(object.find(L'#'), object.size())); // a fragment is never sent
    if (object.empty())
        object = L"/";

    pending.connection = WinHttpConnect(session_, host.c_str(), parts.nPort, 0);
    if (pending.connection == nullptr)
        return GetLastError();
    pending.request = WinHttpOpenRequest(
        pending.connection, request.method == FetchMethod::Head ? L"HEAD" : L"GET", object.c_str(),
        nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
        parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (pending.request == nullptr)
        return GetLastError();
    // Set before anything else can fail: from here on the last callback frees it.
    auto* context = new Context{window_, serial};
    DWORD_PTR value = reinterpret_cast<DWORD_PTR>(context);
    if (!WinHttpSetOption(pending.request, WINHTTP_OPTION_CONTEXT_VALUE, &value, sizeof value)) {
        delete context;
        return GetLastError();
    }
    DWORD features = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
    const int ms = request.timeoutSeconds * 1000;
    if (!WinHttpSetOption(pending.request, WINHTTP_OPTION_DISABLE_FEATURE, &features,
                          sizeof features) ||
        !WinHttpSetTimeouts(pending.request, ms, ms, ms, ms) ||
        !WinHttpSendRequest(pending.request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, value))
        return GetLastError();
    return NO_ERROR;
}

LRESULT CALLBACK WinHttpFetcher::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WinHttpFetcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == kSent || message == kHeaders || message == kFailed) {
            self->onEvent(message, wParam, static_cast<UINT_PTR>(lParam));
            return 0;
        }
        if (message == WM_TIMER) {
            self->onEvent(message, 0, wParam);
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void WinHttpFetcher::onEvent(UINT message, WPARAM wParam, UINT_PTR serial) {
    const auto found = pending_.find(serial);
    if (found == pending_.end())
        return; // cancelled or answered already
    Pending& pending = found->second;
    FetchAnswer answer;
    switch (message) {
    case kSent:
        if (WinHttpReceiveResponse(pending.request, nullptr))
            return;
        answer = Failure(pending.id, GetLastError());
        break;
    case kHeaders:
        answer = Response(pending.id, pending.request);
        break;
    case kFailed:
        answer = Failure(pending.id, static_cast<DWORD>(wParam));
        break;
    default: // the time-out
        answer.id = pending.id;
        answer.failure = FetchFailure::TimedOut;
        break;
    }
    // Closed before the handler runs: a GET's body is never read, and the handler may start
    // requests, cancel them or destroy this fetcher. Nothing of this is used after the call.
    close(serial, pending);
    pending_.erase(found);
    const AnswerHandler handler = handler_;
    if (handler)
        handler(answer);
}

void WinHttpFetcher::close(UINT_PTR serial, Pending& pending) {
    KillTimer(window_, serial);
    if (pending.request != nullptr)
        WinHttpCloseHandle(pending.request);
    if (pending.connection != nullptr)
        WinHttpCloseHandle(pending.connection);
    pending.request = pending.connection = nullptr;
}

void WinHttpFetcher::cancelAll() {
    for (auto& [serial, pending] : pending_)
        close(serial, pending);
    pending_.clear();
}

} // namespace tabbern::win32
