// The link check's requests on WinHTTP in its asynchronous mode: one request each, no redirect
// followed, no cookie kept or sent, the connection dropped as soon as the headers are in.
//
// Every WinHTTP call on a request's handles is made on the thread that owns the fetcher; the
// system's worker threads only post messages to a message-only window, naming the request by a
// serial number, never by a pointer. So a closed handle is never used again, and a message for
// a request that was cancelled meanwhile finds no request and is dropped.
#pragma once

#include "platform/LinkFetch.h"

#include <windows.h>

#include <cstdint>
#include <map>

namespace tabbern::win32 {

class WinHttpFetcher final : public LinkFetcher {
public:
    WinHttpFetcher();
    ~WinHttpFetcher() override; // abandons every outstanding request
    WinHttpFetcher(const WinHttpFetcher&) = delete;
    WinHttpFetcher& operator=(const WinHttpFetcher&) = delete;

    void setAnswerHandler(AnswerHandler handler) override;
    void start(const FetchRequest& request) override;
    void cancelAll() override;

private:
    struct Pending {
        std::uint64_t id = 0;
        void* connection = nullptr; // HINTERNET, kept out of this header: winhttp.h and
        void* request = nullptr;    // wininet.h cannot be included together
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    DWORD open(const FetchRequest& request, Pending& pending, UINT_PTR serial);
    void onEvent(UINT message, WPARAM wParam, UINT_PTR serial);
    void close(UINT_PTR serial, Pending& pending);

    AnswerHandler handler_;
    HWND window_ = nullptr;
    void* session_ = nullptr;
    DWORD sessionError_ = 0; // why the session could not be opened, for every request then
    std::map<UINT_PTR, Pending> pending_;
};

} // namespace tabbern::win32
