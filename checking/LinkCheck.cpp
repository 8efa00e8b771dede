#include "checking/LinkCheck.h"

#include "editing/WebAddress.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <string_view>
#include <utility>

namespace tabbern {

namespace {

// Unique across checks, so that a late answer to an abandoned check can never pass for one of
// a newer check.
std::atomic<std::uint64_t> gLastRequestId{0};

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A scheme ends at a colon that comes before any slash, question mark or hash.
bool HasScheme(std::string_view s) {
    const std::size_t colon = s.find(':');
    if (colon == 0 || colon == std::string_view::npos || s.find_first_of("/?#") < colon)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = s[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return false;
    }
    return true;
}

// "/a/b/../c/./d" to "/a/c/d".
std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    std::string_view rest = path.empty() ? std::string_view() : path.substr(1);
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        const bool last = slash == std::string_view::npos;
        if (segment == "..") {
            if (!kept.empty())
                kept.pop_back();
            if (last)
                kept.emplace_back();
        } else if (segment == ".") {
            if (last)
                kept.emplace_back();
        } else {
            kept.push_back(segment);
        }
        if (last)
            break;
        rest.remove_prefix(slash + 1);
    }
    std::string out;
    for (const std::string_view segment : kept) {
        out += '/';
        out += segment;
    }
    return out.empty() ? "/" : out;
}

// An absolute address in its parts: "scheme://authority", the path, and "?query#fragment".
struct UrlParts {
    std::string origin;
    std::string path;
    std::string rest;
};

UrlParts Split(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    const std::size_t authorityStart = schemeEnd == std::string_view::npos ? 0 : schemeEnd + 3;
    const std::size_t pathStart = std::min(url.find_first_of("/?#", authorityStart), url.size());
    const std::size_t restStart = std::min(url.find_first_of("?#", pathStart), url.size());
    return {std::string(url.substr(0, pathStart)),
            std::string(url.substr(pathStart, restStart - pathStart)),
            std::string(url.substr(restStart))};
}

const char* WordOf(FetchFailure failure) {
    switch (failure) {
    case FetchFailure::TimedOut:
        return kTimedOutWord;
    case FetchFailure::HostNotFound:
        return kNoHostWord;
    case FetchFailure::Refused:
        return kRefusedWord;
    case FetchFailure::CertificateNotTrusted:
        return kCertificateWord;
    case FetchFailure::None:
    case FetchFailure::Other:
        break;
    }
    return kErrorWord;
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool IsPermanent(int status) {
    return status == 301 || status == 308;
}

// The status in a result's code, or 0 for a word.
int StatusOf(const std::string& code) {
    int status = 0;
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), status);
    return error == std::errc() && end == code.data() + code.size() ? status : 0;
}

} // namespace

std::string ReasonPhrase(int status) {
    static const std::map<int, const char*> kPhrases = {
        {100, "Continue"},
        {101, "Switching Protocols"},
        {200, "OK"},
        {201, "Created"},
        {202, "Accepted"},
        {203, "Non-Authoritative Information"},
        {204, "No Content"},
        {205, "Reset Content"},
        {206, "Partial Content"},
        {300, "Multiple Choices"},
        {301, "Moved Permanently"},
        {302, "Found"},
        {303, "See Other"},
        {304, "Not Modified"},
        {305, "Use Proxy"},
        {307, "Temporary Redirect"},
        {308, "Permanent Redirect"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {402, "Payment Required"},
        {403, "Forbidden"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {406, "Not Acceptable"},
        {407, "Proxy Authentication Required"},
        {408, "Request Timeout"},
        {409, "Conflict"},
        {410, "Gone"},
        {411, "Length Required"},
        {412, "Precondition Failed"},
        {413, "Content Too Large"},
        {414, "URI Too Long"},
        {415, "Unsupported Media Type"},
        {416, "Range Not Satisfiable"},
        {417, "Expectation Failed"},
        {421, "Misdirected Request"},
        {422, "Unprocessable Content"},
        {425, "Too Early"},
        {426, "Upgrade Required"},
        {428, "Precondition Required"},
        {429, "Too Many Requests"},
        {431, "Request Header Fields Too Large"},
        {451, "Unavailable For Legal Reasons"},
        {500, "Internal Server Error"},
        {501, "Not Implemented"},
        {502, "Bad Gateway"},
        {503, "Service Unavailable"},
        {504, "Gateway Timeout"},
        {505, "HTTP Version Not Supported"},
        {511, "Network Authentication Required"},
    };
    const auto found = kPhrases.find(status);
    return found == kPhrases.end() ? std::string() : found->second;
}

std::string ResultText(const LinkResult& result, int timeoutSeconds) {
    const std::string& code = result.code;
    if (code == kTimedOutWord)
        return "no answer in " + std::to_string(timeoutSeconds) + " s";
    if (code == kNoHostWord)
        return "host not found";
    if (code == kRefusedWord)
        return "refused";
    if (code == kCertificateWord)
        return "certificate not trusted";
    if (code == kTooManyRedirectsWord)
        return "too many redirects";
    const int status = StatusOf(code);
    if (status == 0)
        return result.detail.empty() ? "failed" : result.detail;
    if (IsPermanent(status) && !result.finalAddress.empty() &&
        result.finalAddress != result.address)
        return "moved to " + result.finalAddress;
    const std::string phrase = ReasonPhrase(status);
    return phrase.empty() ? code : code + " " + phrase;
}

bool IsFineResult(const LinkResult& result) {
    const int status = StatusOf(result.code);
    return status >= 200 && status <= 299;
}

std::string ResolveLocation(const std::string& base, const std::string& location) {
    const std::size_t start = location.find_first_not_of(" \t");
    if (start == std::string::npos)
        return base;
    std::string loc = location.substr(start, location.find_last_not_of(" \t") - start + 1);
    // An address without its scheme takes the one of the address it answered.
    if (loc.starts_with("//"))
        loc = base.substr(0, base.find(':') + 1) + loc;
    if (HasScheme(loc)) {
        const UrlParts parts = Split(loc);
        return parts.origin + (parts.path.empty() ? "" : RemoveDotSegments(parts.path)) +
               parts.rest;
    }
    const UrlParts b = Split(base);
    if (loc.front() == '#')
        return b.origin + b.path + b.rest.substr(0, b.rest.find('#')) + loc;
    if (loc.front() == '?')
        return b.origin + (b.path.empty() ? "/" : b.path) + loc;
    const std::size_t restStart = std::min(loc.find_first_of("?#"), loc.size());
    std::string path = loc.substr(0, restStart);
    if (path.front() != '/') {
        const std::size_t slash = b.path.rfind('/');
        path = (slash == std::string::npos ? "/" : b.path.substr(0, slash + 1)) + path;
    }
    return b.origin + RemoveDotSegments(path) + loc.substr(restStart);
}

std::string HostKey(const std::string& url) {
    const std::size_t schemeEnd = url.find("://");
    std::size_t start = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
    const std::size_t end = std::min(url.find_first_of("/?#", start), url.size());
    const std::size_t at = url.rfind('@', end);
    if (at != std::string::npos && at >= start)
        start = at + 1;
    std::string host = url.substr(start, end - start);
    for (char& c : host)
        c = AsciiLower(c);
    return host;
}

// ---- the check --------------------------------------------------------------------------------

LinkCheck::LinkCheck(LinkFetcher& fetcher, LinkCheckLimits limits)
    : fetcher_(fetcher), limits_(limits) {}

void LinkCheck::start(const std::vector<std::string>& addresses) {
    std::map<std::string, bool> seen;
    for (const std::string& address : addresses) {
        if (!seen.emplace(address, true).second)
            continue;
        Job job;
        job.address = address;
        job.url = address;
        job.host = HostKey(address);
        waiting_.push_back(jobs_.size());
        jobs_.push_back(std::move(job));
    }
    total_ = jobs_.size();
    if (total_ == 0) {
        if (onDone)
            onDone();
        return;
    }
    pump();
}

void LinkCheck::pump() {
    for (auto it = waiting_.begin(); it != waiting_.end() && !stopped_ &&
                                     static_cast<int>(inFlight_.size()) < limits_.atOnce;) {
        const auto held = perHost_.find(jobs_[*it].host);
        if (held != perHost_.end() && held->second >= limits_.perHost) {
            ++it;
            continue;
        }
        const std::size_t job = *it;
        it = waiting_.erase(it);
        send(job);
    }
}

void LinkCheck::send(std::size_t job) {
    const Job& j = jobs_[job];
    FetchRequest request;
    request.id = ++gLastRequestId;
    request.url = j.url;
    request.method = j.method;
    request.timeoutSeconds = limits_.timeoutSeconds;
    inFlight_[request.id] = job;
    ++perHost_[j.host];
    fetcher_.start(request);
}

void LinkCheck::answer(const FetchAnswer& a) {
    const auto found = inFlight_.find(a.id);
    if (stopped_ || found == inFlight_.end())
        return;
    const std::size_t job = found->second;
    inFlight_.erase(found);
    Job& j = jobs_[job];
    const auto host = perHost_.find(j.host);
    if (host != perHost_.end() && --host->second <= 0)
        perHost_.erase(host);

    if (a.failure != FetchFailure::None) {
        finish(job, {j.address, WordOf(a.failure), j.url,
                     a.failure == FetchFailure::Other ? a.detail : std::string()});
    } else if (j.method == FetchMethod::Head && (a.status == 405 || a.status == 501)) {
        // The server refuses HEAD: the same address once more, asked for whole.
        j.method = FetchMethod::Get;
        waiting_.push_front(job);
    } else if (IsRedirect(a.status) && !a.location.empty()) {
        if (!j.firstRedirectSeen && IsPermanent(a.status))
            j.movedCode = std::to_string(a.status);
        j.firstRedirectSeen = true;
        const std::string next = ResolveLocation(j.url, a.location);
        if (j.hops >= limits_.redirects) {
            finish(job, {j.address, kTooManyRedirectsWord, j.url, {}});
        } else if (!HasWebScheme(next)) {
            finish(job, {j.address, kErrorWord, j.url, "moved to " + next});
        } else {
            j.url = next;
            j.host = HostKey(next);
            j.method = FetchMethod::Head;
            ++j.hops;
            // Ahead of the addresses not yet begun, so that a started check ends first.
            waiting_.push_front(job);
        }
    } else {
        const bool fine = a.status >= 200 && a.status <= 299;
        finish(job, {j.address,
                     fine && !j.movedCode.empty() ? j.movedCode : std::to_string(a.status),
                     j.url,
                     {}});
    }
    pump();
}

void LinkCheck::finish(std::size_t, LinkResult result) {
    ++finished_;
    if (onResult)
        onResult(result);
    if (!stopped_ && finished_ == total_ && onDone)
        onDone();
}

void LinkCheck::cancel() {
    if (stopped_)
        return;
    stopped_ = true;
    waiting_.clear();
    inFlight_.clear();
    perHost_.clear();
    fetcher_.cancelAll();
}

} // namespace tabbern
