// The link harvester: web links found in any text, as the text-file import lists them.
//
// A link starts at "https://", "http://" or "www" (any letter case) and runs to the next blank
// or the end of its line; quotes, brackets, tabs and other punctuation stay in it. Within a
// blank-free run, the text from one link on belongs to that link, so a prefix inside a link
// starts no link of its own, and a link that runs straight into a link found before it ends
// where that link begins. Each line gives its "https://" links first, in order of position,
// then its "http://" links, then its "www" links. Links come out lower-cased.
//
// The work is a few linear passes over the text: a minified page of many megabytes on one line
// costs no more than the same page in many lines.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabbern {

inline constexpr std::size_t kNoLinkLimit = static_cast<std::size_t>(-1);

// Takes one link, lower-cased; the text is valid only during the call. Returning false stops
// the harvest.
using LinkSink = std::function<bool(std::string_view link)>;

class LinkHarvester {
public:
    explicit LinkHarvester(LinkSink take);

    // Hands over the links of a text, line by line; lines end at CR LF, a lone CR or a lone LF.
    // Returns false once the sink has stopped the harvest.
    bool add(std::string_view text);

private:
    struct Span {
        std::size_t begin, end;
    };
    enum class Prefix { Https, Http, Www };
    struct Occurrence {
        std::size_t at;
        Prefix kind;
    };
    // The line runs from `begin` to the end of `line`.
    void scanLine(std::string_view line, std::size_t begin);
    static Occurrence nextHttp(std::string_view line, std::size_t from);
    static std::size_t nextWww(std::string_view line, std::size_t from);
    // Hands over the current line's links in their order: "https://", "http://", "www".
    void endLine(std::string_view text);
    void emit(std::string_view text, const std::vector<Span>& spans);

    LinkSink take_;
    bool stopped_ = false;
    std::string lowered_;
    std::vector<Span> https_, http_, www_;
};

// The links of a whole text, lines ending at CR LF, a lone CR or a lone LF; at most `limit`.
std::vector<std::string> HarvestLinks(std::string_view text, std::size_t limit = kNoLinkLimit);

} // namespace tabbern
