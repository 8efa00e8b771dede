// The store loader. The first input byte chooses the bookmark limit (the program's 1000, or a
// small one that short files reach too); the rest is a whole store file: its lines as the record
// parser reads them, then the file as LoadStore reads it, rewrites it and reads it back.
//
// Properties: no crash and no undefined behaviour; a parsed field never holds the tag that
// ends it; a record line built from parsed fields parses to the same fields; the loader keeps
// to the bookmark limit and numbers rows from 0; and nothing is lost: a loaded table written
// back and loaded again is the same table, and lines appended to the file read back after the
// file's own lines, whatever the encodings of the two.
#include "FuzzSupport.h"

#include "store/Store.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <array>

namespace tabbern::fuzz {
namespace {

bool SameFields(const ParsedRecord& a, const ParsedRecord& b) {
    return a.name == b.name && a.group == b.group && a.dateAdded == b.dateAdded &&
           a.lastAccessed == b.lastAccessed && a.url == b.url;
}

// Every line the parser takes, checked on its own.
int CheckRecordLines(const std::vector<std::string>& lines) {
    int records = 0;
    for (const std::string& line : lines) {
        ParsedRecord rec;
        if (!ParseRecordLine(line, rec))
            continue;
        ++records;
        // Each field ends at the first occurrence of the next tag.
        Require(!ContainsNoCase(rec.name, "[g]"), "a name never holds [g]", line);
        Require(!ContainsNoCase(rec.group, "[d]"), "a group never holds [d]", line);
        Require(!ContainsNoCase(rec.dateAdded, "[l]"), "a date never holds [l]", line);
        Require(!ContainsNoCase(rec.lastAccessed, "[u]"), "a date never holds [u]", line);
        Require(rec.name.size() + rec.group.size() + rec.dateAdded.size() +
                        rec.lastAccessed.size() + rec.url.size() + 18 <=
                    line.size(),
                "the fields and six tags fit in the line", line);

        BookmarkRow row;
        row[kColRecord] = "0";
        row[kColName] = rec.name;
        row[kColGroup] = rec.group;
        row[kColDateAdded] = rec.dateAdded;
        row[kColLastAccessed] = rec.lastAccessed;
        row[kColUrl] = rec.url;
        ParsedRecord again;
        Require(ParseRecordLine(BuildRecordLine(row), again), "a built record line parses", line);
        Require(SameFields(rec, again), "a built record line gives back its fields", line);
    }
    return records;
}

using Snapshot = std::vector<std::array<std::string, 7>>;

Snapshot TakeSnapshot(const App& app) {
    Snapshot rows;
    for (int r = 0; r < app.recordCount; ++r)
        rows.push_back(app.bookmarks.row(r).col);
    return rows;
}

} // namespace
} // namespace tabbern::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabbern;
    using namespace tabbern::fuzz;
    if (size == 0)
        return 0;
    constexpr int kLimits[] = {1000, 1, 2, 5};
    const int limit = kLimits[data[0] % std::size(kLimits)];
    const std::string_view bytes = AsText(data + 1, size - 1);

    const std::vector<std::string> lines = DecodeLines(bytes);
    const int records = CheckRecordLines(lines);

    Program& p = TheProgram();
    App& app = p.app;
    app.bookmarkLimit = limit;
    p.fake.messages.clear();
    const std::string path = app.dataFile(app.storeFileName);
    test::WriteBytes(path, bytes);

    LoadStore(app);
    Require(app.recordCount == std::min(records, limit), "every record up to the limit loads",
            bytes);
    Require(p.fake.messages.size() == (records >= limit ? 1u : 0u),
            "the limit message comes once, and only at the limit", bytes);
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        const BookmarkRow& row = app.bookmarks.row(r);
        if (r >= app.recordCount) {
            Require(row.isFree(), "rows after the records are free", bytes);
            continue;
        }
        Require(row[kColRecord] == std::to_string(r), "records are numbered in file order", bytes);
        std::string url = row[kColUrl];
        Require(CompleteUrl(url) == row[kColUrl], "a loaded URL is already complete", bytes);
    }
    Require(test::ReadBytes(path) == bytes, "loading leaves the file alone", bytes);

    // Nothing lost: the table written back and read again is the same table.
    const Snapshot before = TakeSnapshot(app);
    RewriteStore(app, RowHasRecordNumber);
    LoadStore(app);
    Require(TakeSnapshot(app) == before, "a rewritten store loads as the same table", bytes);

    // Nothing lost in an append either: the file's lines, then the appended ones.
    test::WriteBytes(path, bytes);
    AppendTextLines(path, lines);
    std::vector<std::string> twice = lines;
    twice.insert(twice.end(), lines.begin(), lines.end());
    Require(ReadTextLines(path) == twice, "appended lines read back after the file's own", bytes);
    return 0;
}
