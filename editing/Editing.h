// The editing commands: add, edit, delete and open bookmarks; add, rename and delete groups.
// Each writes the data files whole and refills the list, as every writer does.
#pragma once

#include <string>
#include <string_view>

#include "editing/WebAddress.h"

namespace tabbern {

struct App;
class BookmarkDialog;

// ---- shared checks ------------------------------------------------------------------------
// True when the text holds one of the six record tags in any letter case; such a text would
// tear its record apart when the store is read back.
bool ContainsRecordTag(std::string_view text);
// Finds the BookmarkTable row holding a record number given as list text; -1 when none does.
int RowOfRecordNumber(const App& app, const std::string& recordText);

// ---- add a bookmark -----------------------------------------------------------------------
void menuaddname_Click(App& app);
void frmAddName_Activate(App& app);
void frmAddName_Command1_Click(App& app);
void frmAddName_Command2_Click(App& app);

// ---- edit a bookmark ----------------------------------------------------------------------
void menunamesedit_Click(App& app);
void frmEditName_Activate(App& app);
void frmEditName_Command1_Click(App& app);
void frmEditName_Command2_Click(App& app);

// Enter moves the focus through a bookmark dialog: name, group, URL, save.
void BookmarkDialog_KeyPress(BookmarkDialog& dialog, const std::string& fromControl, int key);

// ---- delete a bookmark --------------------------------------------------------------------
void menunamesdelete_Click(App& app);

// ---- open a bookmark ----------------------------------------------------------------------
void List1_DblClick(App& app);
void LabelShowURLAddress_DblClick(App& app);
// Opens the selected bookmark in the browser and stamps today as its last access.
void OpenSelectedBookmark(App& app);

// ---- groups -------------------------------------------------------------------------------
// source "combobox" (the group selector) or "newname" (dialogs and imports, mode "add" or
// "edit"); any other source does nothing.
void AddGroup(App& app, const std::string& source, const std::string& mode,
              const std::string& name);
void menuaddgroup_Click(App& app);
void menueditselectedgroup_Click(App& app);
void frmEditGroupName_Activate(App& app);
void frmEditGroupName_Command1_Click(App& app);
void frmEditGroupName_Command2_Click(App& app);
void frmEditGroupName_Text3_KeyPress(App& app, int key);
void menudeletegroup_Click(App& app);
// Removes the group that the selector names, and with deleteBookmarks its bookmarks too.
void DeleteGroup(App& app, bool deleteBookmarks);

// Connects the editing menus, the list's double-clicks and the three dialogs to the handlers.
void WireEditingHandlers(App& app);

} // namespace tabbern
