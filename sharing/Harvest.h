// The link harvester: web links found in any text, as the text-file import lists them.
//
// A link starts at "https://", "http://" or "www" (any letter case) and runs to the next blank
// or the end of its line; quotes, brackets, tabs and other punctuation stay in it. Within a
// blank-free run, the text from one link on belongs to that link, so a prefix inside a link
// starts no link of its own, and a link that runs straight into a link found before it ends
// where that link begins. Each line gives its "https://" links first, in order of position,
// then its "http://" links, then its "www" links. Links come out lower-cased.
//
// The text is skipped through sixteen bytes at a time to the only places where a link can
// start: a "www" or a "://". Blanks and line ends are looked for only from a link on and, while
// links wait for their line's end, between links; only links are lowered. No byte is looked at
// more than a few times, so a minified page of many megabytes on one line costs no more than in
// many lines, and the links that wait take a room bounded by the text's size.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabbern {

class CodePage;

inline constexpr std::size_t kNoLinkLimit = static_cast<std::size_t>(-1);

// Takes one link, lower-cased; the text is valid only during the call. Returning false stops
// the harvest.
using LinkSink = std::function<bool(std::string_view link)>;

class LinkHarvester {
public:
    // The harvest stops after `capacity` links; links that could only come after those are not
    // held while they wait for their line's end.
    explicit LinkHarvester(LinkSink take, std::size_t capacity = kNoLinkLimit);

    // Hands over the links of a text, line by line; lines end at CR LF, a lone CR or a lone LF.
    // Returns false once the sink has stopped the harvest. Text in a single-byte code page may
    // be given as it is, with the code page: a link starts and ends at ASCII alone, so the
    // same links are found, and only they are decoded.
    //
    // A line of megabytes may come in pieces: a text that ends just after a blank with
    // `lineGoesOn` set leaves its last line open, and the next text carries on with it. A link
    // never crosses a blank, so the pieces give the links the whole line gives.
    bool add(std::string_view text, const CodePage* undecoded = nullptr, bool lineGoesOn = false);

private:
    // Hands the link over lowered, unless the harvest has stopped; false once it has.
    bool give(std::string_view link);
    // Hands over the waiting links of the line that ended: "http://", then "www".
    void endLine();
    bool waiting() const;
    // Hands over the held links of a kind, then those of the present text, and forgets them.
    void giveWaiting(std::vector<std::string>& held, std::vector<std::string_view>& views);
    // Whether one more link of a kind, `waiting` of which already wait, could still be taken.
    bool wanted(std::size_t waiting) const { return waiting < capacity_ - given_; }
    // Copies the links that wait for the end of a line that goes on in the next text.
    void hold();
    // Hands over all links of a line with more than may wait, those from `from` on found again.
    void takeCrowdedLine(std::string_view text, std::size_t from, std::size_t lineEnd);

    LinkSink take_;
    std::size_t capacity_, given_ = 0;
    bool stopped_ = false;
    const CodePage* undecoded_ = nullptr;
    std::string decoded_, lowered_;
    // A line's "https://" links go at once; its "http://" and "www" links wait for its end, as
    // views into the text, up to a limit. A line with more is gone through again instead.
    std::vector<std::string_view> http_, www_;
    // Those of an open line found in earlier texts; they come before the views above.
    std::vector<std::string> heldHttp_, heldWww_;
};

// The links of a whole text, lines ending at CR LF, a lone CR or a lone LF.
std::vector<std::string> HarvestLinks(std::string_view text);

} // namespace tabbern
