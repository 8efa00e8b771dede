// The link harvester. The first input byte chooses a link limit, the rest is the text.
//
// Properties: no crash and no undefined behaviour; the links are exactly those of the scan as
// first described (each prefix searched again and again from the line start, a found link
// blanked out with its prefix's filler letter), with the one known change that a link ends
// where an earlier link's filler begins; every link starts with a prefix, holds no blank and no
// line end, and is lower case; a limit gives the first links only.
#include "FuzzSupport.h"

#include "sharing/Harvest.h"
#include "store/Text.h"
#include "support/DescribedScan.h"

#include <algorithm>
#include <vector>

namespace tabbern::fuzz {
namespace {

using test::DescribedScan;

using Links = std::vector<std::string>;

bool StartsWithPrefix(std::string_view link) {
    return link.starts_with("https://") || link.starts_with("http://") || link.starts_with("www");
}

// The quadratic scan is the yardstick only for texts it can scan in good time.
constexpr std::size_t kScanLimit = 1 << 14;

} // namespace
} // namespace tabbern::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabbern;
    using namespace tabbern::fuzz;
    if (size == 0)
        return 0;
    const std::size_t limit = data[0];
    const std::string_view text = AsText(data + 1, size - 1);

    const Links links = HarvestLinks(text);
    for (const std::string& link : links) {
        Require(StartsWithPrefix(link), "a link starts with its prefix", link);
        Require(link.find_first_of(" \r\n") == std::string::npos,
                "a link holds no blank and no line end", link);
        Require(LCase(link) == link, "a link is lower case", link);
    }
    if (text.size() <= kScanLimit)
        Require(links == DescribedScan(text), "the links are those of the described scan", text);

    const Links limited = HarvestLinks(text, limit);
    Require(limited.size() == std::min(limit, links.size()) &&
                std::equal(limited.begin(), limited.end(), links.begin()),
            "a limit gives the first links", text);
    return 0;
}
