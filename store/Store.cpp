#include "store/Store.h"

#include "app/App.h"
#include "app/Startup.h"
#include "store/FileIo.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace tabbern {

// ---- record format ------------------------------------------------------------------------

std::string FlattenLineBreaks(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

std::string BuildRecordLine(const BookmarkRow& row) {
    // The URL is written last although it is column 5: the loader takes it to the line end.
    static constexpr int kOrder[6] = {kColRecord,    kColName,         kColGroup,
                                      kColDateAdded, kColLastAccessed, kColUrl};
    std::string line;
    line.reserve(64 + row[kColName].size() + row[kColUrl].size());
    for (int i = 0; i < 6; ++i) {
        line += kRecordTags[i];
        line += FlattenLineBreaks(row[kOrder[i]]);
    }
    return line;
}

bool ParseRecordLine(const std::string& line, ParsedRecord& out) {
    // Each tag is looked for after the one before it. For every line whose tags first occur in
    // order this finds the same places as looking for each from the start; a line whose name
    // happens to hold a later tag still loads instead of being torn apart.
    std::size_t start[6];
    std::size_t from = 0;
    for (int i = 0; i < 6; ++i) {
        const std::size_t at = FindNoCase(line, kRecordTags[i], from);
        if (at == std::string::npos)
            return false;
        start[i] = at;
        from = at + 3;
    }
    auto field = [&](int tag) {
        const std::size_t begin = start[tag] + 3;
        return line.substr(begin, start[tag + 1] - begin);
    };
    out.name = field(1);
    out.group = field(2);
    out.dateAdded = field(3);
    out.lastAccessed = field(4);
    out.url = line.substr(start[5] + 3);
    return true;
}

std::string CompleteUrl(std::string& url) {
    url = Trim(url);
    if (!url.empty() && !ContainsNoCase(url, "http://") && !ContainsNoCase(url, "https://") &&
        !ContainsNoCase(url, "www."))
        url = "www." + url;
    return url;
}

// ---- loading ------------------------------------------------------------------------------

void LoadStore(App& app) {
    if (!FileExists(app, app.dataFolder, app.storeFileName))
        return;
    app.bookmarks.clearAll();
    app.recordCount = 0;
    const std::vector<std::string> lines = ReadTextLines(app.dataFile(app.storeFileName));
    ParsedRecord rec;
    for (const std::string& line : lines) {
        if (ParseRecordLine(line, rec)) {
            BookmarkRow& row = app.bookmarks.row(app.recordCount);
            row[kColRecord] = std::to_string(app.recordCount);
            row[kColName] = std::move(rec.name);
            row[kColGroup] = std::move(rec.group);
            row[kColDateAdded] = std::move(rec.dateAdded);
            row[kColLastAccessed] = std::move(rec.lastAccessed);
            CompleteUrl(rec.url);
            row[kColUrl] = std::move(rec.url);
            ++app.recordCount;
        }
        if (app.recordCount > app.bookmarkLimit - 1) {
            app.platform.messageBox(std::to_string(app.bookmarkLimit) +
                                        " Bookmark Limit Reached. Please Delete Bookmarks "
                                        "Before Adding Additional Bookmarks.",
                                    app.appTitle, MsgButtons::OK);
            return;
        }
    }
}

void LoadGroups(App& app) {
    app.groupCount = 0;
    app.groups.clear();
    if (!FileExists(app, app.dataFolder, app.groupFileName)) {
        WriteTextLines(app.dataFile(app.groupFileName), {app.groupHeaderLine});
        return;
    }
    const std::vector<std::string> lines = ReadTextLines(app.dataFile(app.groupFileName));
    for (const std::string& line : lines) {
        std::string name = Trim(line);
        if (name != app.groupHeaderLine && !name.empty()) {
            app.groups.push_back(std::move(name));
            ++app.groupCount;
        }
        if (app.groupCount > app.groupLimit - 1) {
            app.platform.messageBox(std::to_string(app.groupLimit) +
                                        " Group Limit Reached. Please Delete Groups Before "
                                        "Adding Additional Groups.",
                                    app.appTitle, MsgButtons::OK);
            return;
        }
    }
}

// ---- writing ------------------------------------------------------------------------------

namespace {

// Appends lines to a data file; a missing file is created holding its header line first.
void AppendOrCreate(App& app, const std::string& fileName, const std::string& header,
                    const std::vector<std::string>& lines) {
    const std::string path = app.dataFile(fileName);
    if (FileExists(app, app.dataFolder, fileName)) {
        AppendTextLines(path, lines);
        return;
    }
    std::vector<std::string> whole;
    whole.reserve(lines.size() + 1);
    whole.push_back(header);
    whole.insert(whole.end(), lines.begin(), lines.end());
    WriteTextLines(path, whole);
}

} // namespace

bool RowHasName(int, const BookmarkRow& r) {
    return !IsBlank(r[kColName]);
}
bool RowHasRecordNumber(int, const BookmarkRow& r) {
    return !IsBlank(r[kColRecord]);
}

void RewriteStore(App& app, const RowFilter& keep) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(app.recordCount) + 2);
    lines.push_back(app.storeHeaderLine);
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        const BookmarkRow& row = app.bookmarks.row(r);
        if (keep(r, row))
            lines.push_back(BuildRecordLine(row));
    }
    WriteTextLines(app.dataFile(app.storeFileName), lines);
}

void AppendStoreRecords(App& app, const std::vector<BookmarkRow>& records) {
    std::vector<std::string> lines;
    for (const BookmarkRow& rec : records)
        if (!IsBlank(rec[kColName]))
            lines.push_back(BuildRecordLine(rec));
    AppendOrCreate(app, app.storeFileName, app.storeHeaderLine, lines);
}

void RewriteGroupFile(App& app,
                      const std::function<bool(int index, const std::string&)>& leaveOut) {
    std::vector<std::string> lines;
    lines.reserve(app.groups.size() + 1);
    lines.push_back(app.groupHeaderLine);
    for (std::size_t i = 0; i < app.groups.size(); ++i)
        if (!leaveOut || !leaveOut(static_cast<int>(i), app.groups[i]))
            lines.push_back(FlattenLineBreaks(app.groups[i]));
    WriteTextLines(app.dataFile(app.groupFileName), lines);
}

void RewriteGroupFile(App& app) {
    RewriteGroupFile(app, nullptr);
}

namespace {

// Adds group lines to the group file; a missing file is created with its header line first,
// or the next start-up would take it for a damaged file.
void AppendGroupLines(App& app, const std::vector<std::string>& names) {
    std::vector<std::string> lines;
    lines.reserve(names.size());
    for (const std::string& n : names)
        lines.push_back(FlattenLineBreaks(n));
    AppendOrCreate(app, app.groupFileName, app.groupHeaderLine, lines);
}

} // namespace

void AppendGroupLine(App& app, const std::string& name) {
    AppendGroupLines(app, {name});
}

void AddMissingGroups(App& app) {
    std::vector<std::string> known;
    known.reserve(app.groups.size());
    for (const std::string& g : app.groups)
        known.push_back(TrimLower(g));
    std::vector<std::string> added;
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        std::string group = Trim(app.bookmarks.at(r, kColGroup));
        if (group.empty())
            continue;
        const std::string key = LCase(group);
        bool found = false;
        for (const std::string& k : known)
            if (k == key) {
                found = true;
                break;
            }
        if (!found) {
            known.push_back(key);
            app.groups.push_back(group);
            added.push_back(std::move(group));
        }
    }
    // One write for all of them: the same bytes as one append per group, without a rewrite of
    // the file for each.
    if (!added.empty())
        AppendGroupLines(app, added);
}

// ---- start-up check -----------------------------------------------------------------------

namespace {

void CheckDataFile(App& app, const std::string& fileName, const std::string& header,
                   const char* question, const char* warning) {
    const std::string path = app.dataFile(fileName);
    if (!FileExists(app, app.dataFolder, fileName)) {
        WriteTextLines(path, {header});
        return;
    }
    // An empty file holds nothing to lose: it gets its header line without a question.
    std::error_code ec;
    const auto size = std::filesystem::file_size(ToPath(path), ec);
    if (ec)
        throw FileError("Cannot read", path, ec.message());
    if (size == 0) {
        WriteTextLines(path, {header});
        return;
    }
    if (TrimLower(ReadFirstLine(path)) == TrimLower(header))
        return;
    const MsgResult answer = app.platform.messageBox(std::string(question) + "\r" + warning,
                                                     app.appTitle, MsgButtons::YesNo);
    if (answer == MsgResult::Yes) {
        WriteTextLines(path, {header});
        return;
    }
    if (FileExists(app, app.programFolder, app.runningMarkerName))
        DeleteFileIfExists(app.programFile(app.runningMarkerName));
    if (FileExists(app, app.programFolder, app.minimisedMarkerName))
        DeleteFileIfExists(app.programFile(app.minimisedMarkerName));
    EndProcess(app.platform);
}

} // namespace

void CheckStoreFile(App& app) {
    CheckDataFile(
        app, app.storeFileName, app.storeHeaderLine,
        "The Database File Is Corrupt. Do You Want To Create A New, Blank Database File?",
        "WARNING: Selecting <Yes> Will Erase All Information From The Current Database File.");
}

void CheckGroupFile(App& app) {
    CheckDataFile(app, app.groupFileName, app.groupHeaderLine,
                  "The Group File Is Corrupt. Do You Want To Create A New, Blank Group File?",
                  "WARNING: Selecting <Yes> Will Erase All Information From The Current Group "
                  "File.");
}

} // namespace tabbern
