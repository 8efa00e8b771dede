// The browser bookmarks file's reader and writer. The input is the file's bytes.
//
// Properties: no crash, no undefined behaviour and no deep recursion however the lists nest;
// every name and folder title is well-formed UTF-8 of at most kMaxBrowserTextBytes, without
// control characters or blanks at either end; every address is well-formed UTF-8 without
// blanks at either end; nothing is lost or changed by the writer: the links written and read
// again are the same links; a reader told to stop after some links gave exactly those first.
#include "FuzzSupport.h"

#include "sharing/BrowserBookmarks.h"
#include "store/Text.h"

#include <algorithm>

namespace tabbern::fuzz {
namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
}

void CheckText(std::string_view text, bool isName, std::string_view input) {
    Require(IsValidUtf8(text), "texts are well-formed UTF-8", input);
    Require(text.empty() || (!IsBlankOrControl(text.front()) && !IsBlankOrControl(text.back())),
            "texts have no blanks at either end", input);
    if (!isName)
        return;
    Require(text.size() <= kMaxBrowserTextBytes, "names are cut to the limit", input);
    for (const char c : text)
        Require(c == ' ' || !IsBlankOrControl(c), "names hold no control characters", input);
}

} // namespace

void TestOneInput(std::string_view input) {
    const std::vector<BrowserLink> links = ReadBrowserBookmarks(input);
    for (const BrowserLink& link : links) {
        CheckText(link.name, true, input);
        CheckText(link.folder, true, input);
        CheckText(link.address, false, input);
    }
    Require(ReadBrowserBookmarks(WriteBrowserBookmarks(links)) == links,
            "links written and read again are the same", input);

    const std::size_t wanted = links.size() / 2;
    std::vector<BrowserLink> first;
    ReadBrowserBookmarks(input, [&](BrowserLink&& link) {
        first.push_back(std::move(link));
        return first.size() < wanted;
    });
    Require(first.size() == std::min<std::size_t>(std::max<std::size_t>(wanted, 1), links.size()) &&
                std::equal(first.begin(), first.end(), links.begin()),
            "a stopped read gives the first links", input);
}

} // namespace tabbern::fuzz
