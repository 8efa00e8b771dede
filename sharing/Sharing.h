// Sharing: the share file and its export and import, the clipboard and text-file imports, and
// the two import dialogs. Every import appends to the store file in one atomic replacement, so
// an import that is interrupted leaves the store as it was.
#pragma once

#include <string>

namespace tabbern {

struct App;
class ComboBox;

// ---- share file ---------------------------------------------------------------------------
// Exports the group the selector shows, or All Groups, to a file the user chooses.
void ExportShareFile(App& app);
// Writes the share file: the header line, then the record lines of the selector's group (or,
// for All Groups, of every row with a name). Completes the URLs of all rows in the table.
void WriteShareFile(App& app, const std::string& path);
// Reads a share file, lists its bookmarks for confirmation and appends them to the store.
void ImportShareFile(App& app);

// ---- clipboard and text files -------------------------------------------------------------
// Makes one bookmark of the clipboard text, named and grouped in the confirmation dialog.
void ImportClipboardLink(App& app);
// Lists the web links of a text file for confirmation, then asks a name and group for each.
void ImportTextFileLinks(App& app);

// ---- browser bookmarks file ---------------------------------------------------------------
// Reads a bookmarks file that a web browser exported, lists what it adds for confirmation, with
// how many links it leaves out and why, and appends them to the store.
void ImportBrowserBookmarks(App& app);
// Writes the group the selector shows, or All Groups, as a bookmarks file for web browsers.
void ExportBrowserBookmarks(App& app);
// Connects the two menu items to them.
void WireBrowserBookmarkHandlers(App& app);

// ---- the import dialogs -------------------------------------------------------------------
void frmAddConfirm_Activate(App& app);
void frmAddConfirm_Command1_Click(App& app);
void frmAddConfirm_Command2_Click(App& app);

void frmAssignName_Activate(App& app);
void frmAssignName_Command1_Click(App& app);
void frmAssignName_Command2_Click(App& app);
void frmAssignName_Command3_Click(App& app);
void frmAssignName_Text1_KeyPress(App& app, int key);
void frmAssignName_Combo1_KeyPress(App& app, int key);

// True when an entry of the box, trimmed and lower-cased, equals the text so compared.
bool IsGroupInList(const ComboBox& box, const std::string& text);

// Connects the Share menu and the two import dialogs to the handlers.
void WireSharingHandlers(App& app);

} // namespace tabbern
