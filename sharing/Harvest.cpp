#include "sharing/Harvest.h"

#include "store/Text.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tabbern {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The prefix at i, letters in any case; the prefix is given in lower case.
bool PrefixAt(std::string_view text, std::size_t i, std::string_view prefix) {
    if (prefix.size() > text.size() - i)
        return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        const char c = text[i + k];
        const char p = prefix[k];
        // Only letters fold; ':' and '/' must match exactly.
        const bool letter = p >= 'a' && p <= 'z';
        if (letter ? static_cast<char>(c | 0x20) != p : c != p)
            return false;
    }
    return true;
}

bool IsW(char c) {
    return c == 'w' || c == 'W';
}

std::size_t Find(std::string_view text, char c, std::size_t from, std::size_t to) {
    const void* hit = std::memchr(text.data() + from, c, to - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : kNone;
}

// The link in lower case, written into a buffer that keeps its room from one link to the
// next. Plain ASCII, nearly every link, is lowered as it is copied.
std::string_view Lowered(std::string_view s, std::string& buffer) {
    if (buffer.size() < s.size())
        buffer.resize(std::max(s.size(), 2 * buffer.size()));
    unsigned char any = 0;
    for (const char c : s)
        any |= static_cast<unsigned char>(c);
    if (any >= 0x80) {
        buffer = LCase(s);
        return buffer;
    }
    char* out = buffer.data();
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        out[i] = static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 32 : 0));
    }
    return std::string_view(out, s.size());
}

// Where the next CR and the next LF lie. Each is searched for again only once passed, so that
// a text without one of them is searched for it once, not once per line.
class LineEnds {
public:
    explicit LineEnds(std::string_view text) : text_(text) {}
    std::size_t next(std::size_t from) {
        return std::min(find(cr_, '\r', from), find(lf_, '\n', from));
    }

private:
    std::size_t find(std::size_t& cached, char c, std::size_t from) {
        if (cached == kNone || cached < from) {
            const std::size_t at = Find(text_, c, from, text_.size());
            cached = at == kNone ? text_.size() : at;
        }
        return cached;
    }

    std::string_view text_;
    std::size_t cr_ = kNone, lf_ = kNone;
};

} // namespace

LinkHarvester::LinkHarvester(LinkSink take) : take_(std::move(take)) {}

bool LinkHarvester::add(std::string_view text) {
    LineEnds lineEnds(text);
    std::size_t lineStart = 0;
    while (!stopped_) {
        const std::size_t lineEnd = lineEnds.next(lineStart);
        scanLine(text.substr(0, lineEnd), lineStart);
        endLine(text);
        if (lineEnd >= text.size())
            break;
        lineStart = lineEnd + 1;
    }
    return !stopped_;
}

// The first "http://" or "https://" starting at or after `from`. Each holds one ":", found
// by the library's fast byte search.
LinkHarvester::Occurrence LinkHarvester::nextHttp(std::string_view line, std::size_t from) {
    for (std::size_t colon = from + 4; colon < line.size(); ++colon) {
        colon = Find(line, ':', colon, line.size());
        if (colon == kNone)
            break;
        if (colon >= from + 5 && PrefixAt(line, colon - 5, "https://"))
            return {colon - 5, Prefix::Https};
        if (PrefixAt(line, colon - 4, "http://"))
            return {colon - 4, Prefix::Http};
    }
    return {kNone, Prefix::Http};
}

// The first "www" starting at or after `from`. Three letters "w" in a row always cover one
// of every third position, so only those are looked at until one holds a "w".
std::size_t LinkHarvester::nextWww(std::string_view line, std::size_t from) {
    const char* s = line.data();
    const std::size_t n = line.size();
    std::size_t checked = from;
    for (std::size_t probe = from + 2; probe < n; probe += 3) {
        if (!IsW(s[probe]))
            continue;
        for (std::size_t at = std::max(checked, probe - 2); at <= probe; ++at)
            if (IsW(s[at]) && at + 3 <= n && IsW(s[at + 1]) && IsW(s[at + 2]))
                return at;
        checked = probe + 1;
    }
    return kNone;
}

// The occurrences of the prefixes are taken in order of position, one blank-free run at a
// time. Only the first of each prefix in a run can start a link: the first "https://" claims
// the rest of the run, the first "http://" before it everything up to it, and a "www" that
// comes before both everything up to the nearer of them.
void LinkHarvester::scanLine(std::string_view line, std::size_t begin) {
    // Each search goes on from where the last one of its kind stopped, and a find that lies
    // beyond the run just closed is kept for the next: no stretch of the line is searched twice
    // for the same thing.
    Occurrence web = nextHttp(line, begin); // the next "http://" or "https://"
    std::size_t www = nextWww(line, begin);
    while (web.at != kNone || www != kNone) {
        const std::size_t first = std::min(web.at, www); // kNone is the largest position
        const std::size_t blank = Find(line, ' ', first, line.size());
        const std::size_t runEnd = blank == kNone ? line.size() : blank;
        std::size_t linkEnd = runEnd;
        if (web.at < runEnd) {
            Occurrence next = web;
            if (web.kind == Prefix::Http) {
                do
                    next = nextHttp(line, next.at + 1);
                while (next.at < runEnd && next.kind != Prefix::Https);
                if (next.at < runEnd) {
                    https_.push_back({next.at, runEnd});
                    linkEnd = next.at;
                }
                http_.push_back({web.at, linkEnd});
            } else {
                https_.push_back({web.at, runEnd});
            }
            if (www < web.at)
                www_.push_back({www, web.at});
            web = next.at < runEnd ? nextHttp(line, runEnd) : next;
        } else {
            www_.push_back({www, runEnd});
        }
        if (www < runEnd)
            www = nextWww(line, runEnd);
    }
}

void LinkHarvester::endLine(std::string_view text) {
    emit(text, https_);
    emit(text, http_);
    emit(text, www_);
    https_.clear();
    http_.clear();
    www_.clear();
}

void LinkHarvester::emit(std::string_view text, const std::vector<Span>& spans) {
    for (const Span& sp : spans) {
        if (stopped_)
            return;
        stopped_ = !take_(Lowered(text.substr(sp.begin, sp.end - sp.begin), lowered_));
    }
}

std::vector<std::string> HarvestLinks(std::string_view text, std::size_t limit) {
    std::vector<std::string> links;
    if (limit == 0)
        return links;
    LinkHarvester harvester([&links, limit](std::string_view link) {
        links.emplace_back(link);
        return links.size() < limit;
    });
    harvester.add(text);
    return links;
}

} // namespace tabbern
