// The store loader. The first byte picks the bookmark limit (the program's, or one that short
// files reach too); the rest is a store file: its lines as the record parser reads them, then
// the file loaded, rewritten and loaded again, and appended to.
#include "FuzzSupport.h"

#include "store/Store.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <array>
#include <tuple>
#include <vector>

namespace tabbern::fuzz {
namespace {

auto Fields(const ParsedRecord& r) {
    return std::tie(r.name, r.group, r.dateAdded, r.lastAccessed, r.url);
}

// Checks every line the parser takes; returns how many it takes.
int CheckRecordLines(const std::vector<std::string>& lines) {
    int records = 0;
    for (const std::string& line : lines) {
        ParsedRecord rec;
        if (!ParseRecordLine(line, rec))
            continue;
        ++records;
        Require(!ContainsNoCase(rec.name, "[g]") && !ContainsNoCase(rec.group, "[d]") &&
                    !ContainsNoCase(rec.dateAdded, "[l]") &&
                    !ContainsNoCase(rec.lastAccessed, "[u]"),
                "a field ends at the first occurrence of the next tag", line);
        Require(rec.name.size() + rec.group.size() + rec.dateAdded.size() +
                        rec.lastAccessed.size() + rec.url.size() + 18 <=
                    line.size(),
                "the fields and six tags fit in the line", line);
        BookmarkRow row;
        row[kColRecord] = "0";
        std::tie(row[kColName], row[kColGroup], row[kColDateAdded], row[kColLastAccessed],
                 row[kColUrl]) = Fields(rec);
        ParsedRecord again;
        Require(ParseRecordLine(BuildRecordLine(row), again) && Fields(again) == Fields(rec),
                "a built record line parses to its fields", line);
    }
    return records;
}

std::vector<std::array<std::string, 7>> Rows(const App& app) {
    std::vector<std::array<std::string, 7>> rows;
    for (int r = 0; r < app.recordCount; ++r)
        rows.push_back(app.bookmarks.row(r).col);
    return rows;
}

} // namespace

void TestOneInput(std::string_view input) {
    const auto [choice, bytes] = ChoiceAndRest(input);
    constexpr int kLimits[] = {1000, 1, 2, 5};
    const int limit = kLimits[choice % std::size(kLimits)];
    const std::vector<std::string> lines = DecodeLines(bytes);
    const int records = CheckRecordLines(lines);

    Program& p = TheProgram();
    App& app = p.app;
    app.bookmarkLimit = limit;
    const std::string path = app.dataFile(app.storeFileName);
    p.Put(path, bytes);
    LoadStore(app);
    Require(app.recordCount == std::min(records, limit), "every record up to the limit loads",
            bytes);
    Require(p.fake.messages.size() == (records >= limit ? 1u : 0u),
            "the limit message comes once, and only at the limit", bytes);
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        const BookmarkRow& row = app.bookmarks.row(r);
        std::string url = row[kColUrl];
        Require(r < app.recordCount
                    ? row[kColRecord] == std::to_string(r) && CompleteUrl(url) == row[kColUrl]
                    : row.isFree(),
                "rows are numbered in file order with complete URLs, the rest free", bytes);
    }
    Require(test::ReadBytes(path) == bytes, "loading leaves the file alone", bytes);

    const auto before = Rows(app);
    RewriteStore(app, RowHasRecordNumber);
    LoadStore(app);
    Require(Rows(app) == before, "a rewritten store loads as the same table", bytes);

    test::WriteBytes(path, bytes);
    AppendTextLines(path, lines);
    std::vector<std::string> twice = lines;
    twice.insert(twice.end(), lines.begin(), lines.end());
    Require(ReadTextLines(path) == twice, "appended lines read back after the file's own", bytes);
}

} // namespace tabbern::fuzz
