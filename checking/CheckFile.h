// The remembered results of link checks: "tabbern.chk" in the data folder, one line per
// address checked, in fields separated by tabs:
//
//   address <TAB> status or word <TAB> final address <TAB> date checked (UTC, 2026-06-12T09:30:00Z)
//
// Lines end in CR LF and the file is replaced whole and atomically, like the data files. A later
// check of an address replaces its line; lines of addresses not checked again stay. A reader
// skips any line it cannot take whole, so a damaged or foreign line costs only itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tabbern {

struct CheckLine {
    std::string address;
    std::string code; // the HTTP status in decimal, or one of the result words
    std::string finalAddress;
    std::int64_t checkedAt = 0; // seconds since 1970, UTC
};

// A file larger than this is not read (it counts as holding no lines, and the next check
// replaces it): a thousand bookmarks of the longest addresses fill a small part of it.
inline constexpr std::size_t kCheckFileLimit = 16u << 20;
// A line longer than this is damaged: three addresses of the longest kind fit in it.
inline constexpr std::size_t kCheckLineLimit = 16u << 10;

// The lines of a check file, in file order, one per address.
class CheckRecords {
public:
    const std::vector<CheckLine>& lines() const { return lines_; }
    const CheckLine* find(const std::string& address) const;
    // Replaces the address's line where it stands, or adds it at the end.
    void put(CheckLine line);

private:
    std::vector<CheckLine> lines_;
    std::unordered_map<std::string, std::size_t> index_;
};

// The file's bytes to its records; lines that do not hold four sound fields are skipped, and of
// two lines for one address the later counts.
CheckRecords ParseCheckFile(std::string_view bytes);
std::string FormatCheckFile(const CheckRecords& records);

// Reads the file at the path; a missing, unreadable or oversized file holds no lines.
CheckRecords ReadCheckFile(const std::string& path);
// Adds the fresh lines to what the file holds now (another copy of the program may have written
// it since it was read) and replaces the file atomically. Returns what was written.
CheckRecords UpdateCheckFile(const std::string& path, const std::vector<CheckLine>& fresh);

// "2026-06-12T09:30:00Z" and back; nothing for a text that is not exactly of that form.
std::string FormatCheckTime(std::int64_t secondsSince1970);
std::optional<std::int64_t> ParseCheckTime(std::string_view text);

} // namespace tabbern
