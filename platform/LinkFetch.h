// One web request at a time per call, answered later: what the link check asks of a window
// system. The core queues the requests, keeps the limits, follows redirects and tells the
// results apart; a fetcher only sends one request and reports what came back. Toolkit-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tabbern/Version.h"

namespace tabbern {

enum class FetchMethod { Head, Get };

struct FetchRequest {
    std::uint64_t id = 0; // chosen by the caller, returned in the answer
    std::string url;      // absolute http:// or https:// address
    FetchMethod method = FetchMethod::Head;
    int timeoutSeconds = 15; // for the whole request, from sending to the status line
};

// Why a request got no HTTP answer.
enum class FetchFailure {
    None,                  // an HTTP status came back
    TimedOut,              // no answer within the time-out
    HostNotFound,          // the name did not resolve
    Refused,               // the connection was refused or reset
    CertificateNotTrusted, // TLS certificate not trusted, expired or for another name
    Other,                 // anything else; `detail` says what
};

struct FetchAnswer {
    std::uint64_t id = 0;
    int status = 0;       // the HTTP status, when failure is None
    std::string location; // the Location header of a redirect as sent, else empty
    FetchFailure failure = FetchFailure::None;
    std::string detail; // the system's words for an Other failure, UTF-8
};

// The User-Agent every request sends: a plain one naming the program.
inline std::string LinkCheckUserAgent() {
    return "Tabbern/" TABBERN_VERSION_TEXT;
}

class LinkFetcher {
public:
    using AnswerHandler = std::function<void(const FetchAnswer&)>;
    virtual ~LinkFetcher() = default;

    // Where answers go. Called on the thread of the program's event loop, never from inside
    // start() or cancelAll(); the handler may start further requests.
    virtual void setAnswerHandler(AnswerHandler handler) = 0;
    // Sends one request: no redirect followed, no cookies kept or sent, no body read beyond
    // what the status needs, the User-Agent above. Any number may be outstanding; the core
    // keeps its own limits.
    virtual void start(const FetchRequest& request) = 0;
    // Abandons every outstanding request; no answer for them comes afterwards.
    virtual void cancelAll() = 0;
};

} // namespace tabbern
