// The bookmarks HTML file that every web browser exports and imports
// ("<!DOCTYPE NETSCAPE-Bookmark-file-1>"): nested <DL> lists, <DT><H3> folders and <DT><A>
// links. The reader takes the format as it is written in practice, not as strict HTML; the
// writer writes it plainly, in UTF-8. Neither knows the store: the imports and exports do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabbern {

// One link of a bookmarks file. Names and folder titles have their entities decoded, every run
// of blanks, line ends and control characters made one blank, and are trimmed; they hold at
// most kMaxBrowserTextBytes.
struct BrowserLink {
    std::string name;    // the link's text; may be empty
    std::string folder;  // the innermost folder's title; empty outside every folder
    std::string address; // HREF with its entities decoded and the blanks around it removed
    std::optional<std::int64_t> added;   // ADD_DATE, seconds since 1970
    std::optional<std::int64_t> visited; // LAST_VISIT, seconds since 1970

    bool operator==(const BrowserLink&) const = default;
};

// Longer names and folder titles are cut (at a character) to this many bytes.
inline constexpr std::size_t kMaxBrowserTextBytes = 1024;
// Folders nested deeper than this count as the deepest one.
inline constexpr std::size_t kMaxBrowserFolderDepth = 256;

// Hands the links with an HREF to `take` in file order, until it answers false. The bytes are
// read as UTF-8 when they are valid UTF-8 (a byte-order mark is skipped), otherwise as
// Windows-1252. Any bytes are safe: the work is linear in their length and the memory held
// beyond the input is bounded.
void ReadBrowserBookmarks(std::string_view bytes, const std::function<bool(BrowserLink&&)>& take);
std::vector<BrowserLink> ReadBrowserBookmarks(std::string_view bytes);

// A whole bookmarks file in UTF-8: each run of links with the same folder under one <H3>
// folder of that title (links without a folder at the top level), dates only where known,
// every text escaped. Reading it back gives the same links.
std::string WriteBrowserBookmarks(const std::vector<BrowserLink>& links);

} // namespace tabbern
