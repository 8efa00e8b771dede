// The link check itself, toolkit-free: a queue of web addresses sent to a LinkFetcher a few at a
// time, redirects followed here rather than by the fetcher, and what came back told apart in a
// few short results. Nothing here knows of windows or files.
#pragma once

#include "platform/LinkFetch.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tabbern {

struct LinkCheckLimits {
    int atOnce = 6;          // requests outstanding at one time
    int perHost = 2;         // of those, to one host (and port)
    int redirects = 10;      // hops followed from the bookmark's address
    int timeoutSeconds = 15; // for each request
};

// The short words a result that has no HTTP status is recorded as.
inline constexpr const char* kTimedOutWord = "timeout";
inline constexpr const char* kNoHostWord = "nohost";
inline constexpr const char* kRefusedWord = "refused";
inline constexpr const char* kCertificateWord = "certificate";
inline constexpr const char* kTooManyRedirectsWord = "redirects";
inline constexpr const char* kErrorWord = "error";

// What became of one address. `code` is the HTTP status in decimal, or one of the words above.
// A chain whose first redirect is permanent and whose end answers 2xx keeps that redirect's
// status (301 or 308): the bookmark has moved. Otherwise the code is the last answer's.
struct LinkResult {
    std::string address;      // as checked: an absolute http:// or https:// address
    std::string code;         // "200", "404", "301", "timeout", ...
    std::string finalAddress; // where the redirects ended; the address itself without any
    std::string detail;       // the fetcher's words for an "error"
};

// The result as the user reads it: "404 Not Found", "moved to https://...", "no answer in 15 s",
// "host not found", "refused", "certificate not trusted", or the fetcher's detail.
std::string ResultText(const LinkResult& result, int timeoutSeconds);
// A result that needs no look: a 2xx answer, reached directly or through temporary redirects.
bool IsFineResult(const LinkResult& result);
// The standard reason phrase of an HTTP status, empty for one without.
std::string ReasonPhrase(int status);

// A Location header resolved against the address it answered, as a browser resolves it.
std::string ResolveLocation(const std::string& base, const std::string& location);
// The host and port of an absolute address, lower-cased: what the per-host limit counts.
std::string HostKey(const std::string& url);

// Checks a list of addresses. Answers reach it through answer(); a finished address is reported
// through onResult, and onDone follows the last one. Not restartable: one object, one check.
class LinkCheck {
public:
    LinkCheck(LinkFetcher& fetcher, LinkCheckLimits limits);
    LinkCheck(const LinkCheck&) = delete;
    LinkCheck& operator=(const LinkCheck&) = delete;

    // Starts the check of these absolute addresses, each once.
    void start(const std::vector<std::string>& addresses);
    // An answer from the fetcher; one for a request this check no longer waits for is ignored.
    void answer(const FetchAnswer& answer);
    // Abandons what is outstanding and what waits; nothing is reported afterwards.
    void cancel();

    bool running() const { return !stopped_ && finished_ < total_; }
    std::size_t finished() const { return finished_; }
    std::size_t total() const { return total_; }

    std::function<void(const LinkResult&)> onResult;
    std::function<void()> onDone;

private:
    struct Job {
        std::string address;
        std::string url;  // the address now asked for
        std::string host; // its HostKey, which the limit per host counts by
        FetchMethod method = FetchMethod::Head;
        int hops = 0;
        std::string movedCode; // the first redirect's status when it was permanent
        bool firstRedirectSeen = false;
    };

    void pump();
    void send(std::size_t job);
    void finish(std::size_t job, LinkResult result);

    LinkFetcher& fetcher_;
    LinkCheckLimits limits_;
    std::vector<Job> jobs_;
    std::deque<std::size_t> waiting_;
    std::map<std::uint64_t, std::size_t> inFlight_; // request id to job
    std::map<std::string, int> perHost_;
    std::size_t finished_ = 0;
    std::size_t total_ = 0;
    bool stopped_ = false;
};

} // namespace tabbern
