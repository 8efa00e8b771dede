// The in-memory tables that every part of the program works on.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tabbern {

// The pseudo-group that stands first in the group selector, as every comparison sees it
// (trimmed, lower-cased). No table holds it.
inline constexpr const char* kAllGroupsKey = "all groups";

// Columns of the BookmarkTable, numbered as the program has always numbered them.
enum BookmarkColumn : int {
    kColRecord = 1,
    kColName = 2,
    kColGroup = 3,
    kColDateAdded = 4,
    kColUrl = 5,
    kColLastAccessed = 6,
};

struct BookmarkRow {
    std::array<std::string, 7> col; // 1..6 used; 0 unused so that columns keep their numbers

    std::string& operator[](int c) { return col[static_cast<std::size_t>(c)]; }
    const std::string& operator[](int c) const { return col[static_cast<std::size_t>(c)]; }
    bool isFree() const;
    void clear();
};

// 1001 rows (0 to 1000) of six texts. Records occupy rows 0 to count - 1 after a load; row 1000
// is the spare row an addition may use before the reload applies the limit.
class BookmarkTable {
public:
    static constexpr int kRows = 1001;

    BookmarkRow& row(int r) { return rows_.at(static_cast<std::size_t>(r)); }
    const BookmarkRow& row(int r) const { return rows_.at(static_cast<std::size_t>(r)); }
    std::string& at(int r, int c) { return row(r)[c]; }
    const std::string& at(int r, int c) const { return row(r)[c]; }
    void clearAll();

private:
    std::array<BookmarkRow, kRows> rows_;
};

// The ordered group names; blank entries may occur and every consumer skips them.
using GroupTable = std::vector<std::string>;

} // namespace tabbern
