// The bytes of a full data folder for the benchmarks: a store file and a group file as the
// program writes them. Names, URLs and dates follow different orders, so that every sort
// command really reorders the table.
#pragma once

#include "app/App.h"

#include <string>

namespace tabbern::bench {

inline constexpr int kFullRecords = 1000;
inline constexpr int kFullGroups = 200;

inline std::string GroupName(int g) {
    return "Group " + std::to_string(g);
}

// Record i's name; unique for every i below 1000.
inline std::string BookmarkName(int i) {
    return "Bookmark number " + std::to_string((i * 7919) % 1000);
}

inline std::string StoreFileBytes(int records, int groups) {
    std::string bytes = HeaderLine() + "\r\n";
    for (int i = 0; i < records; ++i) {
        const std::string added =
            std::to_string(i * 7 % 12 + 1) + "/" + std::to_string(i * 13 % 28 + 1) + "/2025";
        // Every fifth bookmark was never opened: blank keys sort first.
        const std::string accessed = i % 5 == 0 ? std::string()
                                                : std::to_string(i * 11 % 12 + 1) + "/" +
                                                      std::to_string(i % 28 + 1) + "/2026";
        bytes += "[r]" + std::to_string(i) + "[n]" + BookmarkName(i) + "[g]" +
                 GroupName(i % groups) + "[d]" + added + "[l]" + accessed + "[u]https://www.site" +
                 std::to_string(i * 337 % 1000) + ".example/some/path?q=" + std::to_string(i) +
                 "\r\n";
    }
    return bytes;
}

inline std::string GroupFileBytes(int groups) {
    std::string bytes = HeaderLine() + "\r\n";
    for (int g = 0; g < groups; ++g)
        bytes += GroupName(g) + "\r\n";
    return bytes;
}

} // namespace tabbern::bench
