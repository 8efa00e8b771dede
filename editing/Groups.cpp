// Group management: add a group name, rename a group with its bookmarks, delete a group.
#include "editing/Editing.h"

#include "app/App.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

namespace {

// Puts the name into the selector, mirrors the selector in the GroupTable, writes the group
// file, reads it back and selects the new name in the refilled selector.
void StoreGroupName(App& app, const std::string& name, bool keepBlankEntries) {
    app.main.Combo1.addItem(name);
    app.pendingGroupText = name;
    RebuildGroupTable(app);
    if (keepBlankEntries)
        RewriteGroupFileAdding(app, name, nullptr);
    else
        RewriteGroupFileAdding(app, name, [](int, const std::string& g) { return IsBlank(g); });
    LoadGroups(app);
    FillGroupSelector(app);
    SelectGroupByName(app, name);
}

} // namespace

void AddGroup(App& app, const std::string& source, const std::string& mode,
              const std::string& name) {
    if (source == "combobox") {
        if (IsBlank(name)) {
            Say(app, "No Group To Add");
            app.main.setFocusedControl(app.main.Combo1.name());
            return;
        }
        if (RefuseGroupName(app, app.main, name, app.main.Combo1.name()))
            return;
        StoreGroupName(app, name, true);
    } else if (source == "newname") {
        if (mode != "add" && mode != "edit") {
            Say(app, "New Group Not Specified, Nor Added");
            return;
        }
        StoreGroupName(app, name, false);
    }
}

void menuaddgroup_Click(App& app) {
    AddGroup(app, "combobox", "", Trim(app.main.Combo1.text()));
}

// ---- rename -------------------------------------------------------------------------------

namespace {

// A group that can be renamed: not All Groups, not blank. Otherwise says why and gives false.
bool IsRenamableGroup(App& app, const std::string& name) {
    if (TrimLower(name) == kAllGroupsKey) {
        Say(app, "Cannot Edit <All Groups>");
        return false;
    }
    if (IsBlank(name)) {
        Say(app, "No Group To Edit");
        return false;
    }
    return true;
}

} // namespace

void menueditselectedgroup_Click(App& app) {
    if (IsRenamableGroup(app, app.main.Combo1.text()))
        app.forms.showModeless(app.frmEditGroupName);
}

// Runs on every switch to the dialog, so it always renames what the selector shows now.
void frmEditGroupName_Activate(App& app) {
    EditGroupNameForm& d = app.frmEditGroupName;
    const std::string oldName = Trim(app.main.Combo1.text());
    d.Label2.setCaption("<" + oldName + ">");
    d.Text1.setText(oldName);
    d.setFocusedControl(d.Text3.name());
}

void frmEditGroupName_Command1_Click(App& app) {
    EditGroupNameForm& d = app.frmEditGroupName;
    const std::string newName = Trim(d.Text3.text());
    const std::string oldKey = TrimLower(d.Text1.text());
    // The dialog is not modal: the selector may have moved to All Groups, or to nothing,
    // since it was opened.
    if (!IsRenamableGroup(app, d.Text1.text()))
        return;
    if (newName.empty()) {
        Say(app, "Group Name Not Entered");
        d.setFocusedControl(d.Text3.name());
        return;
    }
    if (RefuseGroupName(app, d, newName, d.Text3.name()))
        return;
    // Both files change: neither may be written over another copy's change.
    if (!DataFilesUnchanged(app))
        return;

    for (std::string& g : app.groups)
        if (TrimLower(g) == oldKey)
            g = newName;
    if (!RewriteGroupFile(app, [](int, const std::string& g) { return IsBlank(g); }))
        return;
    FillGroupSelector(app);
    if (app.main.Combo1.listCount() > 0)
        app.main.Combo1.setListIndex(0);

    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        std::string& group = app.bookmarks.at(r, kColGroup);
        if (TrimLower(group) == oldKey)
            group = newName;
    }
    if (!RewriteStore(app, RowHasName))
        return;
    RefillBookmarkList(app);

    Say(app, "Group " + d.Label2.caption() + " Renamed To <" + newName + ">");
    app.forms.hideForm(d);
    d.Text3.setText("");
}

void frmEditGroupName_Command2_Click(App& app) {
    app.forms.hideForm(app.frmEditGroupName);
}

void frmEditGroupName_Text3_KeyPress(App& app, int key) {
    if (key == kEnterKey)
        app.frmEditGroupName.setFocusedControl(app.frmEditGroupName.Command1.name());
}

// ---- delete -------------------------------------------------------------------------------

void menudeletegroup_Click(App& app) {
    const std::string entry = Trim(app.main.Combo1.text());
    if (entry.empty()) {
        Say(app, "There Is Not A Group Selected To Delete");
        return;
    }
    if (LCase(entry) == kAllGroupsKey) {
        Say(app, "Cannot Delete <ALL GROUPS>");
        return;
    }
    if (app.platform.messageBox("Delete The Group <" + entry + ">?", app.appTitle,
                                MsgButtons::OKCancel) != MsgResult::OK)
        return;
    const MsgResult withBookmarks =
        app.platform.messageBox("Do You Want To Delete All Bookmarks Associated With This Group",
                                app.appTitle, MsgButtons::YesNo);
    DeleteGroup(app, withBookmarks == MsgResult::Yes);
}

void DeleteGroup(App& app, bool deleteBookmarks) {
    ComboBox& selector = app.main.Combo1;
    const std::string key = TrimLower(selector.text());
    app.pendingGroupText.clear();
    if (!DataFilesUnchanged(app))
        return;
    if (!RewriteGroupFile(app, [&key](int, const std::string& g) { return TrimLower(g) == key; }))
        return;
    LoadGroups(app);
    FillGroupSelector(app);
    if (selector.listCount() > 0)
        selector.setListIndex(0);
    if (!deleteBookmarks)
        return;

    for (int r = 0; r < BookmarkTable::kRows; ++r)
        if (TrimLower(app.bookmarks.at(r, kColGroup)) == key)
            app.bookmarks.at(r, kColName).clear();
    if (!RewriteStore(app, RowHasName))
        return;
    LoadStore(app);
    RefillBookmarkList(app);
    if (selector.listCount() > 0)
        selector.setListIndex(0);
    ShowSelectionDetails(app);
}

} // namespace tabbern
