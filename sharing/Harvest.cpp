#include "sharing/Harvest.h"

#include "store/CodePage.h"
#include "store/Text.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

// Every x86 processor the program runs on has SSE2. A 32-bit build whose flags do not say so
// gets it for the scan alone.
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TABBERN_HARVEST_SSE2
#define TABBERN_HARVEST_SSE2_FUNCTION
#elif defined(__GNUC__) && defined(__i386__)
#define TABBERN_HARVEST_SSE2
#define TABBERN_HARVEST_SSE2_FUNCTION __attribute__((target("sse2")))
#else
#define TABBERN_HARVEST_SSE2_FUNCTION
#endif
#ifdef TABBERN_HARVEST_SSE2
#include <emmintrin.h>
#endif

namespace tabbern {

namespace {

bool IsW(char c) {
    return (c | 0x20) == 'w';
}

#ifdef TABBERN_HARVEST_SSE2
// Sixteen bytes from anywhere; the copy becomes one unaligned load.
TABBERN_HARVEST_SSE2_FUNCTION __m128i Load(const char* p) {
    __m128i v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// One bit for each of the sixteen places from p on where "://" or "www" begins; reads p[0..18).
TABBERN_HARVEST_SSE2_FUNCTION unsigned AnchorMask(const char* p) {
    const __m128i b0 = Load(p);
    const __m128i b1 = Load(p + 1);
    const __m128i b2 = Load(p + 2);
    const __m128i scheme = _mm_and_si128(_mm_cmpeq_epi8(b0, _mm_set1_epi8(':')),
                                         _mm_and_si128(_mm_cmpeq_epi8(b1, _mm_set1_epi8('/')),
                                                       _mm_cmpeq_epi8(b2, _mm_set1_epi8('/'))));
    // Only the letter case bit tells 'w' from 'W', and no other byte has either value.
    const __m128i fold = _mm_set1_epi8(0x20);
    const __m128i w = _mm_set1_epi8('w');
    const __m128i www = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(b0, fold), w),
                                                    _mm_cmpeq_epi8(_mm_or_si128(b1, fold), w)),
                                      _mm_cmpeq_epi8(_mm_or_si128(b2, fold), w));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(scheme, www)));
}
#endif

// The first place at or after `from` where "://" or "www" (any case) begins and ends before
// `end`, which `from` does not pass; `end` when there is none. No link starts anywhere else:
// "http://" and "https://" are told apart by the letters before their "://". Reads only
// s[0..end).
TABBERN_HARVEST_SSE2_FUNCTION std::size_t NextAnchor(const char* s, std::size_t from,
                                                     std::size_t end) {
    std::size_t i = from;
#ifdef TABBERN_HARVEST_SSE2
    for (; end - i >= 18; i += 16)
        if (const unsigned mask = AnchorMask(s + i))
            return i + static_cast<std::size_t>(std::countr_zero(mask));
    // The last few places: one more step that ends at `end`, the places before i masked off.
    if (end - i >= 3 && end >= 18) {
        const std::size_t last = end - 18;
        const unsigned mask = AnchorMask(s + last) & (~0u << (i - last));
        return mask ? last + static_cast<std::size_t>(std::countr_zero(mask)) : end;
    }
#endif
    for (; end - i >= 3; ++i)
        if ((s[i] == ':' && s[i + 1] == '/' && s[i + 2] == '/') ||
            (IsW(s[i]) && IsW(s[i + 1]) && IsW(s[i + 2])))
            return i;
    return end;
}

// The same for "://" alone. Its ':' is rare in most text, and the library's byte search skips
// to it faster than the scan above.
std::size_t NextColonSlashes(const char* s, std::size_t from, std::size_t end) {
    for (std::size_t i = from; end - i >= 3; ++i) {
        const void* colon = std::memchr(s + i, ':', end - 2 - i);
        if (!colon)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(colon) - s);
        if (s[i + 1] == '/' && s[i + 2] == '/')
            return i;
    }
    return end;
}

// Which prefix ends in the "://" at `colon`, if any; its start goes to `at`.
bool SchemeAt(std::string_view text, std::size_t colon, bool& https, std::size_t& at) {
    auto letters = [&](std::size_t from, std::string_view lower) {
        for (std::size_t k = 0; k < lower.size(); ++k)
            if ((text[from + k] | 0x20) != lower[k])
                return false;
        return true;
    };
    if (colon >= 5 && letters(colon - 5, "https")) {
        https = true;
        at = colon - 5;
        return true;
    }
    if (colon >= 4 && letters(colon - 4, "http")) {
        https = false;
        at = colon - 4;
        return true;
    }
    return false;
}

// The first blank or line end at or after `from`; the end of the text when there is none.
TABBERN_HARVEST_SSE2_FUNCTION std::size_t RunEnd(std::string_view text, std::size_t from) {
    const char* s = text.data();
    std::size_t i = from;
#ifdef TABBERN_HARVEST_SSE2
    for (; text.size() - i >= 16; i += 16) {
        const __m128i b = Load(s + i);
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(' ')),
                                         _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r')),
                                                      _mm_cmpeq_epi8(b, _mm_set1_epi8('\n'))));
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return i + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
    for (; i < text.size(); ++i)
        if (s[i] == ' ' || s[i] == '\r' || s[i] == '\n')
            return i;
    return text.size();
}

// Where the byte c first lies in text[from, to); `to` when it does not.
std::size_t Find(std::string_view text, char c, std::size_t from, std::size_t to) {
    const void* hit = std::memchr(text.data() + from, c, to - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : to;
}

// The link in lower case, in a buffer that keeps its room from one link to the next. Plain
// ASCII, nearly every link, is lowered as it is copied.
void Lower(std::string_view link, std::string& out) {
    unsigned char any = 0;
    for (const char c : link)
        any |= static_cast<unsigned char>(c);
    if (any >= 0x80) {
        out = LCase(link);
        return;
    }
    out.resize(link.size());
    for (std::size_t i = 0; i < link.size(); ++i) {
        const auto c = static_cast<unsigned char>(link[i]);
        out[i] = static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 32 : 0));
    }
}

enum class Kind { Https, Http, Www };

// A place where a link may start. In a blank-free run, the first of them always does.
struct Start {
    std::size_t at;
    Kind kind;
};

// The first "http://" or "https://" at or after `from`, or with `www` also the first "www";
// `at` is the end of the line when there is none.
Start NextStart(std::string_view line, std::size_t from, bool www) {
    for (std::size_t anchor = from;; ++anchor) {
        anchor = www ? NextAnchor(line.data(), anchor, line.size())
                     : NextColonSlashes(line.data(), anchor, line.size());
        if (anchor == line.size() || line[anchor] != ':')
            return {anchor, Kind::Www};
        bool https = false;
        std::size_t at = anchor;
        if (SchemeAt(line, anchor, https, at))
            return {at, https ? Kind::Https : Kind::Http};
    }
}

// The links of the blank-free run that starts with the link at `first`. A run holds at most
// one of each kind: a "www" runs up to the first "http://" or "https://" after it, an "http://"
// up to the first "https://" after it, and a "https://" to the end of the run. Whatever else
// lies in the run belongs to one of these. An empty view is a link the run does not hold.
struct Run {
    std::string_view www, http, https;
    std::size_t end;
};

Run SplitRun(std::string_view text, Start first) {
    Run run{{}, {}, {}, RunEnd(text, first.at)};
    const std::string_view rest = text.substr(0, run.end);
    if (first.kind == Kind::Www) {
        const Start next = NextStart(rest, first.at + 3, false);
        run.www = text.substr(first.at, next.at - first.at);
        first = next;
    }
    if (first.kind == Kind::Http) {
        Start next = NextStart(rest, first.at + 7, false);
        while (next.kind == Kind::Http)
            next = NextStart(rest, next.at + 7, false);
        run.http = text.substr(first.at, next.at - first.at);
        first = next;
    }
    run.https = text.substr(first.at, run.end - first.at);
    return run;
}

// Hands one kind of link of each run in text[from, lineEnd) to `give`, in order, until it
// returns false; `from` lies in no link. The "https://" link of a run is its first "https://",
// and its "http://" link is found from its first scheme, whatever "www" comes before.
template <class Give>
void GiveKind(std::string_view text, std::size_t from, std::size_t lineEnd, Kind kind,
              Give&& give) {
    const std::string_view line = text.substr(0, lineEnd);
    for (std::size_t pos = from; pos < lineEnd;) {
        Start first = NextStart(line, pos, kind == Kind::Www);
        while (kind == Kind::Https && first.kind == Kind::Http)
            first = NextStart(line, first.at + 7, false);
        if (first.at == lineEnd)
            return;
        const Run run = SplitRun(text, first);
        const std::string_view link = kind == Kind::Https  ? run.https
                                      : kind == Kind::Http ? run.http
                                                           : run.www;
        if (!link.empty() && !give(link))
            return;
        pos = run.end;
    }
}

} // namespace

LinkHarvester::LinkHarvester(LinkSink take, std::size_t capacity)
    : take_(std::move(take)), capacity_(capacity) {
    if (capacity_ == 0)
        stopped_ = true;
}

// Each run with a link is taken whole and the search goes on after it, so a prefix inside a
// link is never looked at as one. A line's end is looked for only while links wait for it.
bool LinkHarvester::add(std::string_view text, const CodePage* undecoded, bool lineGoesOn) {
    undecoded_ = undecoded;
    // At most one link of each kind waits for every 4 KB of the text, but a thousand always may:
    // a line of little but links is gone through again rather than held.
    const std::size_t limit = std::max<std::size_t>(1024, text.size() / 4096);
    // The next LF, once found, is kept until passed: in a text of lone CRs it is searched for
    // once, not once for every crowded line.
    std::size_t lf = 0;
    bool lfFound = false;
    std::size_t pos = 0;
    std::size_t lastRunEnd = 0;
    while (!stopped_) {
        const Start first = NextStart(text, pos, true);
        if (first.at == text.size())
            break;
        // Waiting links are handed over once a line end lies between them and the next link.
        if (waiting() &&
            Find(text, '\r', lastRunEnd, Find(text, '\n', lastRunEnd, first.at)) < first.at)
            endLine();
        const Run run = SplitRun(text, first);
        if ((!run.http.empty() && http_.size() == limit) ||
            (!run.www.empty() && www_.size() == limit)) {
            if (!lfFound || lf < first.at) {
                lf = Find(text, '\n', first.at, text.size());
                lfFound = true;
            }
            const std::size_t lineEnd = Find(text, '\r', first.at, lf);
            // A line that goes on past the text cannot be gone through again: its links are
            // held instead, no more of them than can still be taken.
            if (!lineGoesOn || lineEnd < text.size()) {
                pos = lastRunEnd = lineEnd;
                takeCrowdedLine(text, first.at, pos);
                continue;
            }
        }
        if (!run.http.empty() && wanted(heldHttp_.size() + http_.size()))
            http_.push_back(run.http);
        if (!run.www.empty() && wanted(heldWww_.size() + www_.size()))
            www_.push_back(run.www);
        if (!run.https.empty())
            give(run.https);
        pos = lastRunEnd = run.end;
    }
    if (!lineGoesOn ||
        Find(text, '\r', lastRunEnd, Find(text, '\n', lastRunEnd, text.size())) < text.size())
        endLine();
    else
        hold();
    return !stopped_;
}

bool LinkHarvester::waiting() const {
    return !http_.empty() || !www_.empty() || !heldHttp_.empty() || !heldWww_.empty();
}

void LinkHarvester::endLine() {
    giveWaiting(heldHttp_, http_);
    giveWaiting(heldWww_, www_);
}

void LinkHarvester::giveWaiting(std::vector<std::string>& held,
                                std::vector<std::string_view>& views) {
    bool more = true;
    for (const std::string& link : held)
        if (!(more = give(link)))
            break;
    for (std::size_t i = 0; more && i < views.size(); ++i)
        more = give(views[i]);
    held.clear();
    views.clear();
}

void LinkHarvester::hold() {
    for (auto [held, views] : {std::pair{&heldHttp_, &http_}, std::pair{&heldWww_, &www_}}) {
        held->insert(held->end(), views->begin(), views->end());
        views->clear();
    }
}

// A line of more links than may wait: from `from` on it is gone through once for each kind,
// the links that wait handed over in their turn.
void LinkHarvester::takeCrowdedLine(std::string_view text, std::size_t from, std::size_t lineEnd) {
    const auto hand = [this](std::string_view link) { return give(link); };
    GiveKind(text, from, lineEnd, Kind::Https, hand);
    giveWaiting(heldHttp_, http_);
    if (!stopped_)
        GiveKind(text, from, lineEnd, Kind::Http, hand);
    giveWaiting(heldWww_, www_);
    if (!stopped_)
        GiveKind(text, from, lineEnd, Kind::Www, hand);
}

bool LinkHarvester::give(std::string_view link) {
    if (stopped_)
        return false;
    if (undecoded_ && std::any_of(link.begin(), link.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        decoded_ = undecoded_->decode(link);
        link = decoded_;
    }
    Lower(link, lowered_);
    stopped_ = !take_(lowered_) || ++given_ == capacity_;
    return !stopped_;
}

std::vector<std::string> HarvestLinks(std::string_view text) {
    std::vector<std::string> links;
    LinkHarvester harvester([&links](std::string_view link) {
        links.emplace_back(link);
        return true;
    });
    harvester.add(text);
    return links;
}

} // namespace tabbern
