// Loading and writing the bookmark store file and the group file, and the start-up check of
// both. All operations work on the App's tables and folders.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/Tables.h"

namespace tabbern {

struct App;

// ---- record format ------------------------------------------------------------------------
// The six tags, in the order a record line holds them.
inline constexpr const char* kRecordTags[6] = {"[r]", "[n]", "[g]", "[d]", "[l]", "[u]"};

// "[r]" rec "[n]" name "[g]" group "[d]" added "[l]" accessed "[u]" url, from a table row.
// A CR or LF inside a field becomes a blank, so that a field can never split its record.
std::string BuildRecordLine(const BookmarkRow& row);

// Parses one line of the store file. Returns false for lines that are not records (the header,
// blank or damaged lines, and lines whose six tags are out of order). Fields are as stored,
// untrimmed; the URL is not completed and the record number is not read.
struct ParsedRecord {
    std::string name, group, dateAdded, lastAccessed, url;
};
bool ParseRecordLine(const std::string& line, ParsedRecord& out);
// The fields of a line that holds all six tags in any order (as another program may write a
// share file): each field runs from the first occurrence of its tag to the next tag in the
// line. False when a tag is missing.
bool ParseRecordAnyOrder(const std::string& line, ParsedRecord& out, std::string& recordNumber);

// A CR or LF inside a field becomes a blank.
std::string FlattenLineBreaks(std::string s);

// Trims the URL and puts "www." in front when it names none of "http://", "https://", "www.".
std::string CompleteUrl(std::string& url);

// ---- loading ------------------------------------------------------------------------------
// Loads the records up to the bookmark limit; record lines past it are kept aside and written
// back as they are by every rewrite (App::storeLinesPastLimit). The group file likewise.
void LoadStore(App& app);
void LoadGroups(App& app);

// ---- the bookmark limit -------------------------------------------------------------------
// "1000 Bookmark Limit Reached. Please Delete Bookmarks Before Adding Additional Bookmarks."
std::string BookmarkLimitMessage(const App& app);
// True when the store can take that many more records; otherwise says the limit message.
// Every command that adds bookmarks asks before it writes.
bool StoreHasRoomFor(App& app, int adding);

// ---- writing ------------------------------------------------------------------------------
// The data folder may be shared by several running copies. Every write holds the folder's lock
// and first compares the file with what this program last read or wrote (App::fingerprints).
// A rewrite of a file that another copy changed in the meantime writes nothing: the files are
// reloaded, the list refilled, the user told, and the writer returns false so that its caller
// stops. Additions instead go to the file as it is now, and the caller reloads.
using RowFilter = std::function<bool(int row, const BookmarkRow&)>;
// The usual filter: rows whose name, trimmed, is not empty.
bool RowHasName(int row, const BookmarkRow& r);
// The add operation's filter: rows whose record number, trimmed, is not empty.
bool RowHasRecordNumber(int row, const BookmarkRow& r);

// Writes the rows the filter keeps. False when another copy changed the file (see above).
bool RewriteStore(App& app, const RowFilter& keep);
// The add operation's write, the new record standing in row addedRow: the rows with a record
// number, or, when another copy changed the file, the new record appended to the file as it
// is now. The caller reloads the store either way.
void RewriteStoreAdding(App& app, int addedRow);
// Appends the records (columns 1..6 as in the table) whose name is not blank. Another copy may
// have filled the store meanwhile: when the file as it is now has no room for them, nothing is
// written, the limit message is said and the result is false.
bool AppendStoreRecords(App& app, const std::vector<BookmarkRow>& records);
// Appends ready record lines, creating the file with its header line when it is missing;
// refuses as AppendStoreRecords does.
bool AppendStoreRecordLines(App& app, const std::vector<std::string>& lines);
// Writes the group file from the GroupTable, leaving out the entries the caller names.
// False when another copy changed the file (see above).
bool RewriteGroupFile(App& app, const std::function<bool(int index, const std::string&)>& leaveOut);
bool RewriteGroupFile(App& app);
// The write of a command that adds the group name: as RewriteGroupFile, or, when another copy
// changed the file, the name appended to the file as it is now unless it already lists the
// name (trimmed, lower-cased). The caller reloads the groups either way.
void RewriteGroupFileAdding(App& app, const std::string& name,
                            const std::function<bool(int index, const std::string&)>& leaveOut);
void AppendGroupLine(App& app, const std::string& name);
void AddMissingGroups(App& app);

// For a command that writes both files: true when neither changed since this program last
// read or wrote it; otherwise reloads, tells the user and returns false, as a rewrite does.
bool DataFilesUnchanged(App& app);

// ---- start-up check -----------------------------------------------------------------------
void CheckStoreFile(App& app);
void CheckGroupFile(App& app);

} // namespace tabbern
