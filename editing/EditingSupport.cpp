#include "editing/EditingSupport.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "store/Store.h"
#include "store/Text.h"

#include <charconv>

namespace tabbern {

namespace {

// The list texts of record numbers are short decimal numbers; anything else names no row.
bool ParseRecordNumber(const std::string& text, int& out) {
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* end = t.data() + t.size();
    const auto [ptr, ec] = std::from_chars(t.data(), end, out);
    return ec == std::errc() && ptr == end;
}

} // namespace

void Say(App& app, const std::string& text) {
    app.platform.messageBox(text, app.appTitle, MsgButtons::OK);
}

std::string TagRefusal(const std::string& what) {
    return what + " Cannot Contain [r], [n], [g], [d], [l] Or [u]";
}

bool ContainsRecordTag(std::string_view text) {
    for (const char* tag : kRecordTags)
        if (ContainsNoCase(text, tag))
            return true;
    return false;
}

bool RefuseGroupName(App& app, Form& dialog, const std::string& text, const std::string& box) {
    if (ContainsRecordTag(text))
        Say(app, TagRefusal("A Group Name"));
    else if (TrimLower(text) == kAllGroupsKey)
        Say(app, "Cannot Use The Name <ALL GROUPS> For A Group Name");
    else
        return false;
    dialog.setFocusedControl(box);
    return true;
}

bool RefuseTaggedFields(App& app, BookmarkDialog& dialog) {
    auto refuse = [&](const std::string& text, const std::string& what, const char* control) {
        if (!ContainsRecordTag(text))
            return false;
        Say(app, TagRefusal(what));
        dialog.setFocusedControl(control);
        return true;
    };
    return refuse(dialog.Text1.text(), "A " + app.itemNoun + " Name", "Text1") ||
           RefuseGroupName(app, dialog, dialog.Combo1.text(), "Combo1") ||
           refuse(dialog.Text3.text(), "A URL", "Text3");
}

bool CheckBookmarkDialog(App& app, BookmarkDialog& dialog, const std::string& blankNameMessage,
                         std::string& name, std::string& url) {
    name = Trim(dialog.Text1.text());
    if (name.empty()) {
        Say(app, blankNameMessage);
        dialog.setFocusedControl("Text1");
        return false;
    }
    url = Trim(dialog.Text3.text());
    if (url.empty()) {
        Say(app, "Please Enter A URL");
        dialog.setFocusedControl("Text3");
        return false;
    }
    return !RefuseTaggedFields(app, dialog);
}

std::string GroupOrDefault(App& app, const std::string& trimmedGroup) {
    if (!trimmedGroup.empty())
        return trimmedGroup;
    return "Misc - " + app.platform.todayShortDate();
}

int RowOfRecordNumber(const App& app, const std::string& recordText) {
    int wanted = 0;
    if (!ParseRecordNumber(recordText, wanted))
        return -1;
    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        int held = 0;
        if (ParseRecordNumber(app.bookmarks.at(r, kColRecord), held) && held == wanted)
            return r;
    }
    return -1;
}

void BookmarkDialog_KeyPress(BookmarkDialog& dialog, const std::string& fromControl, int key) {
    if (key != kEnterKey)
        return;
    if (fromControl == "Text1")
        dialog.setFocusedControl("Combo1");
    else if (fromControl == "Combo1")
        dialog.setFocusedControl("Text3");
    else if (fromControl == "Text3")
        dialog.setFocusedControl("Command1");
}

// ---- wiring -------------------------------------------------------------------------------

namespace {

void WireBookmarkDialogKeys(BookmarkDialog& d) {
    d.Text1.onKeyPress = [&d](int key) { BookmarkDialog_KeyPress(d, "Text1", key); };
    d.Combo1.onKeyPress = [&d](int key) { BookmarkDialog_KeyPress(d, "Combo1", key); };
    d.Text3.onKeyPress = [&d](int key) { BookmarkDialog_KeyPress(d, "Text3", key); };
}

} // namespace

void WireEditingHandlers(App& app) {
    MainForm& m = app.main;
    m.menuaddname.onClick = [&app] { menuaddname_Click(app); };
    m.menunamesedit.onClick = [&app] { menunamesedit_Click(app); };
    m.menunamesdelete.onClick = [&app] { menunamesdelete_Click(app); };
    m.menuaddgroup.onClick = [&app] { menuaddgroup_Click(app); };
    m.menueditselectedgroup.onClick = [&app] { menueditselectedgroup_Click(app); };
    m.menudeletegroup.onClick = [&app] { menudeletegroup_Click(app); };
    m.List1.onDblClick = [&app] { List1_DblClick(app); };
    m.LabelShowURLAddress.onDblClick = [&app] { LabelShowURLAddress_DblClick(app); };
    app.addGroupFromSelector = [](App& a, const std::string& name) {
        AddGroup(a, "combobox", "", name);
    };

    AddNameForm& add = app.frmAddName;
    add.onActivate = [&app] { frmAddName_Activate(app); };
    add.Command1.onClick = [&app] { frmAddName_Command1_Click(app); };
    add.Command2.onClick = [&app] { frmAddName_Command2_Click(app); };
    WireBookmarkDialogKeys(add);

    EditNameForm& edit = app.frmEditName;
    edit.onActivate = [&app] { frmEditName_Activate(app); };
    edit.Command1.onClick = [&app] { frmEditName_Command1_Click(app); };
    edit.Command2.onClick = [&app] { frmEditName_Command2_Click(app); };
    WireBookmarkDialogKeys(edit);

    EditGroupNameForm& rename = app.frmEditGroupName;
    rename.onActivate = [&app] { frmEditGroupName_Activate(app); };
    rename.Command1.onClick = [&app] { frmEditGroupName_Command1_Click(app); };
    rename.Command2.onClick = [&app] { frmEditGroupName_Command2_Click(app); };
    rename.Text3.onKeyPress = [&app](int key) { frmEditGroupName_Text3_KeyPress(app, key); };
}

} // namespace tabbern
