// The share file: the export of one group or All Groups, and its import with confirmation.
#include "sharing/Sharing.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "sharing/SharingSupport.h"
#include "store/FileIo.h"
#include "store/Store.h"
#include "store/Text.h"
#include "store/TextFile.h"

namespace tabbern {

namespace {

constexpr std::size_t kAbsent = std::string::npos;

// The group of an import, from the last line read: the text between "[g]" and "[d]". The
// positions count from 1, and an absent tag counts as position 0, as the share files' readers
// have always counted them.
std::string ImportGroup(App& app, const std::string& lastLine) {
    const std::size_t g = FindNoCase(lastLine, "[g]");
    const std::size_t d = FindNoCase(lastLine, "[d]");
    const std::size_t groupStart = (g == kAbsent ? 0 : g + 1) + 3;
    const std::size_t dateTag = d == kAbsent ? 0 : d + 1;
    std::string group;
    if (dateTag != 0 && dateTag >= groupStart)
        group = lastLine.substr(groupStart - 1, dateTag - groupStart);
    if (IsBlank(group))
        group = MiscGroup(app);
    return group;
}

} // namespace

// ---- export -------------------------------------------------------------------------------

void ExportShareFile(App& app) {
    FileDialogRequest request;
    request.filters = {{"Tabbern (*.tbn)", "*.tbn"}};
    const std::string path = AskExportPath(app, request);
    if (path.empty())
        return;
    // A place the user cannot write to is his to change; the program and its data go on.
    try {
        WriteShareFile(app, path);
    } catch (const FileError& e) {
        SayCannotWrite(app, path, e);
        return;
    }
    const std::string& selector = app.main.Combo1.text();
    if (EqualsTrimLower(selector, kAllGroupsKey))
        Say(app, "Your Export of All Groups to " + path + "> Is Complete");
    else
        Say(app, "Your Export of Group <" + selector + "> to <" + path + "> Is Complete");
}

void WriteShareFile(App& app, const std::string& path) {
    if (IsBlank(path))
        return;
    const std::string selector = TrimLower(app.main.Combo1.text());
    const bool allGroups = selector == kAllGroupsKey;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(app.recordCount) + 1);
    lines.push_back(app.storeHeaderLine);
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        BookmarkRow& row = app.bookmarks.row(r);
        // The completed address stays in the table too.
        CompleteUrl(row[kColUrl]);
        const bool keep =
            allGroups ? !IsBlank(row[kColName]) : EqualsTrimLower(row[kColGroup], selector);
        if (keep)
            lines.push_back(BuildRecordLine(row));
    }
    WriteTextLines(path, lines);
}

// ---- import -------------------------------------------------------------------------------

void ImportShareFile(App& app) {
    FileDialogRequest request;
    request.filters = {{"Tabbern Files (*.tbn)", "*.tbn"}};
    request.fileName = "*.tbn";
    const std::string path = Trim(app.platform.openFileDialog(request));
    // A cancelled dialog may hand back the name it was given.
    if (path.empty() || LCase(path) == "*.tbn")
        return;

    AddConfirmForm& confirm = app.frmAddConfirm;
    confirm.GroupList.setEnabled(false);
    confirm.GroupList.setVisible(false);
    confirm.GroupList.setText("");
    confirm.Text1.setText("");

    std::vector<std::string> fileLines;
    try {
        fileLines = ReadTextLines(path);
    } catch (const FileError& e) {
        SayCannotRead(app, path, e);
        return;
    }
    if (fileLines.empty() || TrimLower(fileLines.front()) != TrimLower(app.storeHeaderLine)) {
        Say(app, "Not A Valid Tabbern Data File");
        return;
    }

    // Accepted record lines, trimmed, in file order; the list shows each one's name and URL.
    std::vector<std::string> pending;
    std::string list;
    std::string lastLine;
    int accepted = 0;
    bool found = false;
    const int freeCapacity = app.bookmarkLimit - app.recordCount;
    for (std::size_t i = 1; i < fileLines.size(); ++i) {
        lastLine = Trim(fileLines[i]);
        ParsedRecord rec;
        const bool inOrder = ParseRecordLine(lastLine, rec);
        std::string number;
        if (!inOrder && !ParseRecordAnyOrder(lastLine, rec, number))
            continue;
        // A line that begins with its group tag counts, but is neither shown nor stored.
        if (FindNoCase(lastLine, "[g]") != 0) {
            // Listed as the store will load it.
            list += Trim(rec.name) + "\r\n" + Trim(rec.url) + "\r\n";
            if (inOrder) {
                pending.push_back(lastLine);
            } else {
                // Stored with its tags in the order every copy of the program reads.
                BookmarkRow row;
                row[kColRecord] = number;
                row[kColName] = rec.name;
                row[kColGroup] = rec.group;
                row[kColDateAdded] = rec.dateAdded;
                row[kColLastAccessed] = rec.lastAccessed;
                row[kColUrl] = rec.url;
                pending.push_back(BuildRecordLine(row));
            }
        }
        ++accepted;
        found = true;
        // All or nothing: a file that does not fit is refused whole.
        if (accepted >= freeCapacity) {
            confirm.Text1.setText(list);
            Say(app, LimitMessage(app, freeCapacity));
            found = false;
            break;
        }
    }
    if (!found)
        return;

    confirm.Text1.setText(list);
    // Only the import button confirms; a dialog closed any other way imports nothing.
    app.importConfirmed = false;
    app.forms.showModal(confirm);
    if (!app.importConfirmed)
        return;

    const std::string group = ImportGroup(app, lastLine);
    if (!AppendStoreRecordLines(app, pending))
        return;
    LoadStore(app);
    RefillBookmarkList(app);
    AddGroup(app, "newname", "add", group);
    RebuildGroupTable(app);
    AddMissingGroups(app);
    FillGroupSelector(app);
    app.main.Combo1.setListIndex(0);
    ShowSelectionDetails(app);
}

} // namespace tabbern
