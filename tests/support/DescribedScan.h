// The link scan as it was first described, kept deliberately naive (quadratic per line) as the
// yardstick of the harvester's tests and fuzz harness: in each line (ended by CR LF, CR or LF),
// each prefix in turn is searched from the line's start again and again; a link runs to the
// next blank and is then blanked out with the prefix's filler letter. The one change: a link
// ends where an earlier link's filler begins. Also the harvester fed a text in pieces, as a long
// line is read.
#pragma once

#include "sharing/Harvest.h"
#include "store/Text.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabbern::test {

inline std::vector<std::string> DescribedScan(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            lines.back() += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.emplace_back();
    }

    std::vector<std::string> out;
    const std::pair<std::string, char> prefixes[] = {
        {"https://", 'R'}, {"http://", 'O'}, {"www", 'B'}};
    for (const std::string& original : lines) {
        // ASCII letters lowered, so that the upper-case fillers stand out.
        std::string work = original;
        for (char& c : work)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        for (const auto& [prefix, filler] : prefixes) {
            for (std::size_t k = 0; k < work.size(); ++k) {
                const std::size_t pos = work.find(prefix);
                if (pos == std::string::npos)
                    break;
                const std::size_t end = std::min(work.find(' ', pos), work.size());
                // The link, cut where an earlier filler begins, lowered whole.
                const std::size_t cut = work.find_first_of("ROB", pos);
                out.push_back(LCase(original.substr(pos, std::min(end, cut) - pos)));
                std::fill(work.begin() + static_cast<std::ptrdiff_t>(pos),
                          work.begin() + static_cast<std::ptrdiff_t>(end), filler);
            }
        }
    }
    return out;
}

// The links of a text handed over in pieces, each cut just after a blank that `cut` picks, the
// line going on.
template <class Cut>
std::vector<std::string> InPieces(std::string_view text, std::size_t capacity, Cut&& cut,
                                  const CodePage* undecoded = nullptr) {
    std::vector<std::string> links;
    LinkHarvester harvester(
        [&links](std::string_view link) {
            links.emplace_back(link);
            return true;
        },
        capacity);
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == ' ' && cut()) {
            harvester.add(text.substr(from, i + 1 - from), undecoded, true);
            from = i + 1;
        }
    harvester.add(text.substr(from), undecoded);
    return links;
}

inline std::vector<std::string> FirstOf(std::vector<std::string> links, std::size_t n) {
    links.resize(std::min(n, links.size()));
    return links;
}

} // namespace tabbern::test
