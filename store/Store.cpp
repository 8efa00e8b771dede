#include "store/Store.h"

#include "app/App.h"
#include "app/Startup.h"
#include "listview/ListView.h"
#include "store/FileIo.h"
#include "store/SharedFolder.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <unordered_set>

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

namespace {

// FindNoCase for a record tag: "[", a lower-case letter in either case, "]". Start-up parses
// every line of the store, so the tag is found by its bracket rather than by trying each place.
std::size_t FindTag(std::string_view line, const char* tag, std::size_t from) {
    for (std::size_t at = line.find('[', from); at != std::string_view::npos;
         at = line.find('[', at + 1)) {
        if (at + 2 >= line.size())
            return std::string_view::npos;
        const char letter = line[at + 1];
        if ((letter == tag[1] || letter == tag[1] - ('a' - 'A')) && line[at + 2] == ']')
            return at;
    }
    return std::string_view::npos;
}

} // namespace

bool ParseRecordLine(const std::string& line, ParsedRecord& out) {
    // Each tag is looked for after the one before it. For every line whose tags first occur in
    // order this finds the same places as looking for each from the start; a line whose name
    // happens to hold a later tag still loads instead of being torn apart.
    std::size_t start[6];
    std::size_t from = 0;
    for (int i = 0; i < 6; ++i) {
        const std::size_t at = FindTag(line, kRecordTags[i], from);
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

bool ParseRecordAnyOrder(const std::string& line, ParsedRecord& out, std::string& recordNumber) {
    std::size_t start[6];
    for (int i = 0; i < 6; ++i) {
        start[i] = FindNoCase(line, kRecordTags[i]);
        if (start[i] == std::string::npos)
            return false;
    }
    auto field = [&](int tag) {
        const std::size_t begin = start[tag] + 3;
        std::size_t end = line.size();
        for (const std::size_t other : start)
            if (other >= begin && other < end)
                end = other;
        return line.substr(begin, end - begin);
    };
    recordNumber = field(0);
    out.name = field(1);
    out.group = field(2);
    out.dateAdded = field(3);
    out.lastAccessed = field(4);
    out.url = field(5);
    return true;
}

std::string CompleteUrl(std::string& url) {
    // Trimmed in place: the loader completes every URL of the store.
    const std::size_t last = url.find_last_not_of(' ');
    url.erase(last == std::string::npos ? 0 : last + 1);
    url.erase(0, url.find_first_not_of(' '));
    // Most addresses begin with their scheme, which settles it without a search.
    const bool schemeFirst = FindNoCase(std::string_view(url).substr(0, 8), "https://") == 0 ||
                             FindNoCase(std::string_view(url).substr(0, 7), "http://") == 0;
    if (!url.empty() && !schemeFirst && !ContainsNoCase(url, "http://") &&
        !ContainsNoCase(url, "https://") && !ContainsNoCase(url, "www."))
        url = "www." + url;
    return url;
}

// ---- loading ------------------------------------------------------------------------------

namespace {

// A data file counts whatever its attributes: a hidden or system file is still the user's
// data, and taking it for missing would replace it with an empty one.
bool DataFileExists(App& app, const std::string& fileName) {
    return FileExistsIn(app.dataFolder, fileName);
}

} // namespace

std::string BookmarkLimitMessage(const App& app) {
    return std::to_string(app.bookmarkLimit) +
           " Bookmark Limit Reached. Please Delete Bookmarks Before Adding Additional Bookmarks.";
}

bool StoreHasRoomFor(App& app, int adding) {
    if (app.recordCount + static_cast<int>(app.storeLinesPastLimit.size()) + adding <=
        app.bookmarkLimit)
        return true;
    app.platform.messageBox(BookmarkLimitMessage(app), app.appTitle, MsgButtons::OK);
    return false;
}

void LoadStore(App& app) {
    if (!DataFileExists(app, app.storeFileName)) {
        app.fingerprints.store = FingerprintOfFile(app.dataFile(app.storeFileName));
        return;
    }
    app.bookmarks.clearAll();
    app.recordCount = 0;
    app.storeLinesPastLimit.clear();
    const std::string bytes = ReadFileBytes(app.dataFile(app.storeFileName));
    app.fingerprints.store = FingerprintOfBytes(bytes);
    const std::vector<std::string> lines = DecodeLines(bytes);
    ParsedRecord rec;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
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
            for (std::size_t j = i + 1; j < lines.size(); ++j)
                if (ParseRecordLine(lines[j], rec))
                    app.storeLinesPastLimit.push_back(lines[j]);
            app.platform.messageBox(BookmarkLimitMessage(app), app.appTitle, MsgButtons::OK);
            return;
        }
    }
}

namespace {

// Writes the lines while holding the folder's lock, when the file is still as the fingerprint
// says; the fingerprint then describes the bytes written. False, with nothing written, when
// another copy changed the file.
bool WriteIfUnchanged(App& app, FileFingerprint& seen, const std::string& path,
                      const std::vector<std::string>& lines) {
    DataFolderLock lock(app.dataFolder);
    if (ChangedSince(seen, FingerprintOfFile(path)))
        return false;
    const std::string bytes = EncodeLines(lines);
    WriteFileAtomically(path, bytes);
    seen = FingerprintOfBytes(bytes);
    return true;
}

// Creates a data file holding only its header line, unless another copy wrote the file since
// it was found as `found`. True when written.
bool WriteHeaderOnly(App& app, FileFingerprint found, const std::string& path,
                     const std::string& header, FileFingerprint& seen) {
    if (!WriteIfUnchanged(app, found, path, {header}))
        return false;
    seen = found;
    return true;
}

} // namespace

void LoadGroups(App& app) {
    app.groupCount = 0;
    app.groups.clear();
    app.groupLinesPastLimit.clear();
    const std::string path = app.dataFile(app.groupFileName);
    // A file another copy created meanwhile is read instead.
    if (!DataFileExists(app, app.groupFileName) &&
        WriteHeaderOnly(app, FingerprintOfFile(path), path, app.groupHeaderLine,
                        app.fingerprints.groups))
        return;
    const std::string bytes = ReadFileBytes(path);
    app.fingerprints.groups = FingerprintOfBytes(bytes);
    const std::vector<std::string> lines = DecodeLines(bytes);
    auto isName = [&app](const std::string& name) {
        return name != app.groupHeaderLine && !name.empty();
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name = Trim(lines[i]);
        if (isName(name)) {
            app.groups.push_back(std::move(name));
            ++app.groupCount;
        }
        if (app.groupCount > app.groupLimit - 1) {
            for (std::size_t j = i + 1; j < lines.size(); ++j)
                if (std::string rest = Trim(lines[j]); isName(rest))
                    app.groupLinesPastLimit.push_back(std::move(rest));
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
    if (DataFileExists(app, fileName)) {
        AppendTextLines(path, lines);
        return;
    }
    std::vector<std::string> whole;
    whole.reserve(lines.size() + 1);
    whole.push_back(header);
    whole.insert(whole.end(), lines.begin(), lines.end());
    WriteTextLines(path, whole);
}

// An addition goes to the file as it is now, whoever wrote it last. When another copy had
// changed it, the fingerprint stays as it was: the tables lack that copy's change until the
// next load, and a rewrite before then must not drop it. `fits`, when given, judges the file
// as it is now (told whether it is still as this program last saw it); when it refuses,
// nothing is written and the result is false.
bool AppendToCurrentFile(App& app, FileFingerprint& seen, const std::string& fileName,
                         const std::string& header, const std::vector<std::string>& lines,
                         const std::function<bool(bool unchanged)>& fits = nullptr) {
    const std::string path = app.dataFile(fileName);
    DataFolderLock lock(app.dataFolder);
    const bool unchanged = !ChangedSince(seen, FingerprintOfFile(path));
    if (fits && !fits(unchanged))
        return false;
    AppendOrCreate(app, fileName, header, lines);
    if (unchanged)
        seen = FingerprintOfFile(path);
    return true;
}

// The records the store file holds now, counted as the loader counts them.
int RecordsInStoreFile(App& app) {
    if (!DataFileExists(app, app.storeFileName))
        return 0;
    ParsedRecord rec;
    int n = 0;
    for (const std::string& line : DecodeLines(ReadFileBytes(app.dataFile(app.storeFileName))))
        n += ParseRecordLine(line, rec) ? 1 : 0;
    return n;
}

// After another copy changed a data file: the tables, the group selector and the list show
// the files as they are now, and the user learns that the change was not made.
void ReloadChangedDataFiles(App& app, const std::string& fileNoun) {
    LoadStore(app);
    LoadGroups(app);
    FillGroupSelector(app);
    // All Groups; its click sets the filter and refills the list.
    if (app.main.Combo1.listCount() > 0)
        app.main.Combo1.setListIndex(0);
    else
        RefillBookmarkList(app);
    ShowSelectionDetails(app);
    app.platform.messageBox("The " + fileNoun + " File Was Changed By Another Copy Of " +
                                app.programName +
                                ". The List Has Been Reloaded; Please Repeat Your Change.",
                            app.appTitle, MsgButtons::OK);
}

std::vector<std::string> StoreLines(App& app, const RowFilter& keep) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(app.recordCount) + 2);
    lines.push_back(app.storeHeaderLine);
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        const BookmarkRow& row = app.bookmarks.row(r);
        if (keep(r, row))
            lines.push_back(BuildRecordLine(row));
    }
    lines.insert(lines.end(), app.storeLinesPastLimit.begin(), app.storeLinesPastLimit.end());
    return lines;
}

std::vector<std::string>
GroupLines(App& app, const std::function<bool(int index, const std::string&)>& leaveOut) {
    std::vector<std::string> lines;
    lines.reserve(app.groups.size() + 1);
    lines.push_back(app.groupHeaderLine);
    for (std::size_t i = 0; i < app.groups.size(); ++i)
        if (!leaveOut || !leaveOut(static_cast<int>(i), app.groups[i]))
            lines.push_back(FlattenLineBreaks(app.groups[i]));
    const std::size_t past = app.groups.size();
    for (std::size_t i = 0; i < app.groupLinesPastLimit.size(); ++i)
        if (!leaveOut || !leaveOut(static_cast<int>(past + i), app.groupLinesPastLimit[i]))
            lines.push_back(app.groupLinesPastLimit[i]);
    return lines;
}

// Adds group lines to the group file; a missing file is created with its header line first,
// or the next start-up would take it for a damaged file.
void AppendGroupLines(App& app, const std::vector<std::string>& names) {
    std::vector<std::string> lines;
    lines.reserve(names.size());
    for (const std::string& n : names)
        lines.push_back(FlattenLineBreaks(n));
    AppendToCurrentFile(app, app.fingerprints.groups, app.groupFileName, app.groupHeaderLine,
                        lines);
}

} // namespace

bool RowHasName(int, const BookmarkRow& r) {
    return !IsBlank(r[kColName]);
}
bool RowHasRecordNumber(int, const BookmarkRow& r) {
    return !IsBlank(r[kColRecord]);
}

bool RewriteStore(App& app, const RowFilter& keep) {
    const std::vector<std::string> lines = StoreLines(app, keep);
    const std::string path = app.dataFile(app.storeFileName);
    if (WriteIfUnchanged(app, app.fingerprints.store, path, lines))
        return true;
    ReloadChangedDataFiles(app, app.itemNoun);
    return false;
}

void RewriteStoreAdding(App& app, int addedRow) {
    const std::vector<std::string> lines = StoreLines(app, RowHasRecordNumber);
    const std::string path = app.dataFile(app.storeFileName);
    if (!WriteIfUnchanged(app, app.fingerprints.store, path, lines))
        AppendStoreRecords(app, {app.bookmarks.row(addedRow)});
}

bool AppendStoreRecords(App& app, const std::vector<BookmarkRow>& records) {
    std::vector<std::string> lines;
    for (const BookmarkRow& rec : records)
        if (!IsBlank(rec[kColName]))
            lines.push_back(BuildRecordLine(rec));
    return AppendStoreRecordLines(app, lines);
}

bool AppendStoreRecordLines(App& app, const std::vector<std::string>& lines) {
    const int adding = static_cast<int>(lines.size());
    // Another copy may have filled the store since this one read it.
    const bool fitted = AppendToCurrentFile(
        app, app.fingerprints.store, app.storeFileName, app.storeHeaderLine, lines,
        [&app, adding](bool unchanged) {
            const int held =
                unchanged ? app.recordCount + static_cast<int>(app.storeLinesPastLimit.size())
                          : RecordsInStoreFile(app);
            return held + adding <= app.bookmarkLimit;
        });
    if (!fitted)
        app.platform.messageBox(BookmarkLimitMessage(app), app.appTitle, MsgButtons::OK);
    return fitted;
}

bool RewriteGroupFile(App& app,
                      const std::function<bool(int index, const std::string&)>& leaveOut) {
    const std::vector<std::string> lines = GroupLines(app, leaveOut);
    const std::string path = app.dataFile(app.groupFileName);
    if (WriteIfUnchanged(app, app.fingerprints.groups, path, lines))
        return true;
    ReloadChangedDataFiles(app, "Group");
    return false;
}

bool RewriteGroupFile(App& app) {
    return RewriteGroupFile(app, nullptr);
}

void RewriteGroupFileAdding(App& app, const std::string& name,
                            const std::function<bool(int index, const std::string&)>& leaveOut) {
    const std::vector<std::string> lines = GroupLines(app, leaveOut);
    const std::string path = app.dataFile(app.groupFileName);
    if (WriteIfUnchanged(app, app.fingerprints.groups, path, lines))
        return;
    if (IsBlank(name))
        return;
    const std::string key = TrimLower(name);
    if (DataFileExists(app, app.groupFileName))
        for (const std::string& line : ReadTextLines(path))
            if (TrimLower(line) == key)
                return;
    AppendGroupLines(app, {name});
}

void AppendGroupLine(App& app, const std::string& name) {
    AppendGroupLines(app, {name});
}

void AddMissingGroups(App& app) {
    // Names past the group limit are in the file already, though not loaded. Looked up by hash:
    // start-up checks every bookmark against every group.
    std::unordered_set<std::string> known;
    known.reserve(app.groups.size() + app.groupLinesPastLimit.size());
    for (const std::string& g : app.groups)
        known.insert(TrimLower(g));
    for (const std::string& g : app.groupLinesPastLimit)
        known.insert(TrimLower(g));
    std::vector<std::string> added;
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        std::string group = Trim(app.bookmarks.at(r, kColGroup));
        if (group.empty())
            continue;
        if (known.insert(LCase(group)).second) {
            app.groups.push_back(group);
            added.push_back(std::move(group));
        }
    }
    // One write for all of them: the same bytes as one append per group, without a rewrite of
    // the file for each.
    if (!added.empty())
        AppendGroupLines(app, added);
}

bool DataFilesUnchanged(App& app) {
    const std::string storePath = app.dataFile(app.storeFileName);
    const std::string groupPath = app.dataFile(app.groupFileName);
    bool storeChanged = false, groupsChanged = false;
    {
        DataFolderLock lock(app.dataFolder);
        storeChanged = ChangedSince(app.fingerprints.store, FingerprintOfFile(storePath));
        groupsChanged = ChangedSince(app.fingerprints.groups, FingerprintOfFile(groupPath));
    }
    if (!storeChanged && !groupsChanged)
        return true;
    ReloadChangedDataFiles(app, storeChanged ? app.itemNoun : "Group");
    return false;
}

// ---- start-up check -----------------------------------------------------------------------

namespace {

// Keeps the bytes of a damaged data file, as the check found them, in a file of their own
// beside it ("tabbern.dat.bad", then "tabbern.dat.bad2" ...), never over an earlier one. False,
// with nothing written, when another copy changed the file since.
bool KeepDamagedCopy(App& app, const FileFingerprint& found, const std::string& fileName) {
    DataFolderLock lock(app.dataFolder);
    const std::string bytes = ReadFileBytes(app.dataFile(fileName));
    if (ChangedSince(found, FingerprintOfBytes(bytes)))
        return false;
    std::string copy = fileName + ".bad";
    for (int n = 2; FileExistsIn(app.dataFolder, copy); ++n)
        copy = fileName + ".bad" + std::to_string(n);
    WriteFileAtomically(app.dataFile(copy), bytes);
    return true;
}

// TrimLower(ReadFirstLine(path)) == TrimLower(header). A first line of plain ASCII reads the same
// in every encoding the reader takes, so it is compared as read, without decoding the whole
// store; a line with other bytes goes through ReadFirstLine.
bool FirstLineIs(const std::string& path, const std::string& header) {
    const std::string bytes = ReadFileBytes(path);
    const std::string_view line = std::string_view(bytes).substr(0, bytes.find_first_of("\r\n"));
    for (const char c : line)
        if (static_cast<unsigned char>(c) >= 0x80)
            return TrimLower(ReadFirstLine(path)) == TrimLower(header);
    return TrimLower(line) == TrimLower(header);
}

void CheckDataFile(App& app, FileFingerprint& seen, const std::string& fileName,
                   const std::string& header, const char* question, const char* warning) {
    const std::string path = app.dataFile(fileName);
    for (;;) {
        // The usual case, a file that begins with its header line, needs nothing more.
        if (DataFileExists(app, fileName) && FirstLineIs(path, header))
            return;
        // A repair writes only over the file as the check found it: the fingerprint comes
        // first, and what the check sees next is judged against it. When another copy wrote
        // the file in between, that copy's version is checked instead.
        const FileFingerprint found = FingerprintOfFile(path);
        if (!DataFileExists(app, fileName)) {
            if (WriteHeaderOnly(app, found, path, header, seen))
                return;
            continue;
        }
        // An empty file holds nothing to lose: it gets its header line without a question.
        if (found.exists && found.size == 0) {
            if (WriteHeaderOnly(app, found, path, header, seen))
                return;
            continue;
        }
        if (TrimLower(ReadFirstLine(path)) == TrimLower(header))
            return;
        const MsgResult answer = app.platform.messageBox(std::string(question) + "\r" + warning,
                                                         app.appTitle, MsgButtons::YesNo);
        if (answer == MsgResult::Yes) {
            if (KeepDamagedCopy(app, found, fileName) &&
                WriteHeaderOnly(app, found, path, header, seen))
                return;
            continue;
        }
        if (FileExists(app, app.programFolder, app.runningMarkerName))
            DeleteFileIfExists(app.programFile(app.runningMarkerName));
        if (FileExists(app, app.programFolder, app.minimisedMarkerName))
            DeleteFileIfExists(app.programFile(app.minimisedMarkerName));
        EndProcess(app.platform);
    }
}

} // namespace

void CheckStoreFile(App& app) {
    CheckDataFile(
        app, app.fingerprints.store, app.storeFileName, app.storeHeaderLine,
        "The Database File Is Corrupt. Do You Want To Create A New, Blank Database File?",
        "WARNING: Selecting <Yes> Will Erase All Information From The Current Database File.");
}

void CheckGroupFile(App& app) {
    CheckDataFile(app, app.fingerprints.groups, app.groupFileName, app.groupHeaderLine,
                  "The Group File Is Corrupt. Do You Want To Create A New, Blank Group File?",
                  "WARNING: Selecting <Yes> Will Erase All Information From The Current Group "
                  "File.");
}

} // namespace tabbern
