// The two import dialogs' handlers. They store no bookmark themselves: the imports read the
// answers from the import globals once the dialog has hidden.
#include "sharing/Sharing.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

namespace {

// A name holding a record tag would tear its record apart when the store is read back: it is
// refused as the bookmark dialogs refuse it, and the dialog stays open.
bool RefuseTagged(App& app, Form& dialog, const std::string& text, const std::string& what,
                  const Control& box) {
    if (!ContainsRecordTag(text))
        return false;
    Say(app, TagRefusal(what));
    dialog.setFocusedControl(box.name());
    return true;
}

} // namespace

// ---- frmAddConfirm ------------------------------------------------------------------------

void frmAddConfirm_Activate(App& app) {
    AddConfirmForm& d = app.frmAddConfirm;
    d.Text2.setText("");
    FillGroupCombo(app, d.GroupList);
    if (d.Text2.enabled() && d.Text2.visible())
        d.setFocusedControl(d.Text2.name());
}

void frmAddConfirm_Command1_Click(App& app) {
    AddConfirmForm& d = app.frmAddConfirm;
    // Only the clipboard import takes a name and a group here.
    if (d.Text2.enabled() && d.Text2.visible()) {
        if (RefuseTagged(app, d, d.Text2.text(), "A " + app.itemNoun + " Name", d.Text2) ||
            RefuseGroupName(app, d, d.GroupList.text(), d.GroupList.name()))
            return;
    }
    app.importConfirmed = true;
    d.Text1.setText("");
    app.forms.hideForm(d);
}

void frmAddConfirm_Command2_Click(App& app) {
    app.importConfirmed = false;
    app.frmAddConfirm.Text1.setText("");
    app.forms.hideForm(app.frmAddConfirm);
}

// ---- frmAssignName ------------------------------------------------------------------------

void frmAssignName_Activate(App& app) {
    AssignNameForm& d = app.frmAssignName;
    FillGroupCombo(app, d.Combo1);
    d.setFocusedControl(d.Text1.name());
}

void frmAssignName_Command1_Click(App& app) {
    AssignNameForm& d = app.frmAssignName;
    if (RefuseTagged(app, d, d.Text1.text(), "A " + app.itemNoun + " Name", d.Text1) ||
        RefuseGroupName(app, d, d.Combo1.text(), d.Combo1.name()))
        return;
    app.assignedName = Trim(d.Text1.text());
    const std::string group = Trim(d.Combo1.text());
    // A group typed over the list goes into the group file at once, even when no bookmark is
    // stored for it later. A blank box names no group.
    if (!group.empty() && !IsGroupInList(d.Combo1, group))
        AppendGroupLine(app, group);
    app.assignedGroup = group;
    app.forms.hideForm(d);
}

void frmAssignName_Command2_Click(App& app) {
    AssignNameForm& d = app.frmAssignName;
    d.Text1.setText("");
    app.assignedName.clear();
    app.forms.hideForm(d);
}

void frmAssignName_Command3_Click(App& app) {
    app.continueImporting = false;
    app.forms.hideForm(app.frmAssignName);
}

void frmAssignName_Text1_KeyPress(App& app, int key) {
    if (key == kEnterKey)
        app.frmAssignName.setFocusedControl(app.frmAssignName.Combo1.name());
}

void frmAssignName_Combo1_KeyPress(App& app, int key) {
    if (key == kEnterKey)
        app.frmAssignName.setFocusedControl(app.frmAssignName.Command1.name());
}

bool IsGroupInList(const ComboBox& box, const std::string& text) {
    const std::string key = TrimLower(text);
    for (const std::string& entry : box.items())
        if (EqualsTrimLower(entry, key))
            return true;
    return false;
}

// ---- wiring -------------------------------------------------------------------------------

void WireSharingHandlers(App& app) {
    MainForm& m = app.main;
    m.menuexporttotabbernfile.onClick = [&app] { ExportShareFile(app); };
    m.menuimportfromtabbernfile.onClick = [&app] { ImportShareFile(app); };
    m.menuimportfromclipboard.onClick = [&app] { ImportClipboardLink(app); };
    m.menuimportfromtextfile.onClick = [&app] { ImportTextFileLinks(app); };

    AddConfirmForm& confirm = app.frmAddConfirm;
    confirm.onActivate = [&app] { frmAddConfirm_Activate(app); };
    confirm.Command1.onClick = [&app] { frmAddConfirm_Command1_Click(app); };
    confirm.Command2.onClick = [&app] { frmAddConfirm_Command2_Click(app); };

    AssignNameForm& assign = app.frmAssignName;
    assign.onActivate = [&app] { frmAssignName_Activate(app); };
    assign.Command1.onClick = [&app] { frmAssignName_Command1_Click(app); };
    assign.Command2.onClick = [&app] { frmAssignName_Command2_Click(app); };
    assign.Command3.onClick = [&app] { frmAssignName_Command3_Click(app); };
    assign.Text1.onKeyPress = [&app](int key) { frmAssignName_Text1_KeyPress(app, key); };
    assign.Combo1.onKeyPress = [&app](int key) { frmAssignName_Combo1_KeyPress(app, key); };
}

} // namespace tabbern
