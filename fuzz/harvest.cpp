// The link harvester against the scan as first described (tests/support/DescribedScan.h). The
// first byte is the harvester's capacity, the rest the text.
#include "FuzzSupport.h"

#include "sharing/Harvest.h"
#include "store/Text.h"
#include "support/DescribedScan.h"

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
    Require(test::InPieces(text, limit, [] { return true; }) == test::FirstOf(links, limit),
            "cut after every blank and stopped at a capacity, a text gives its first links", text);
}

} // namespace tabbern::fuzz
