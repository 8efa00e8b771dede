// The link harvester against the scan as first described (tests/support/DescribedScan.h). The
// first byte is a link limit, the rest the text.
#include "FuzzSupport.h"

#include "sharing/Harvest.h"
#include "store/Text.h"
#include "support/DescribedScan.h"

#include <algorithm>
#include <vector>

namespace tabbern::fuzz {

void TestOneInput(std::string_view input) {
    const auto [limit, text] = ChoiceAndRest(input);

    const std::vector<std::string> links = HarvestLinks(text);
    for (const std::string& link : links)
        Require((link.starts_with("https://") || link.starts_with("http://") ||
                 link.starts_with("www")) &&
                    link.find_first_of(" \r\n") == std::string::npos && LCase(link) == link,
                "a link starts with its prefix, is one lower-case word", link);
    // The quadratic scan is the yardstick only for texts it scans in good time.
    if (text.size() <= 1 << 14)
        Require(links == test::DescribedScan(text), "the links are those of the described scan",
                text);
    const std::vector<std::string> limited = HarvestLinks(text, limit);
    Require(limited.size() == std::min<std::size_t>(limit, links.size()) &&
                std::equal(limited.begin(), limited.end(), links.begin()),
            "a limit gives the first links", text);

    std::vector<std::string> pieces;
    LinkHarvester harvester(
        [&pieces](std::string_view link) {
            pieces.emplace_back(link);
            return true;
        },
        limit);
    std::size_t from = 0;
    for (std::size_t blank = text.find(' '); blank != text.npos; blank = text.find(' ', from)) {
        harvester.add(text.substr(from, blank + 1 - from), nullptr, true);
        from = blank + 1;
    }
    harvester.add(text.substr(from));
    Require(pieces == limited, "a line handed over in pieces cut after blanks gives its links",
            text);
}

} // namespace tabbern::fuzz
