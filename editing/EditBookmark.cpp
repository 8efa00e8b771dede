// The edit dialog: shows the selected bookmark and stores the changed name, group and URL.
#include "editing/Editing.h"

#include "app/App.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

void menunamesedit_Click(App& app) {
    app.forms.showModal(app.frmEditName);
}

void frmEditName_Activate(App& app) {
    EditNameForm& d = app.frmEditName;
    MainForm& m = app.main;
    if (app.recordCount == 0) {
        app.forms.hideForm(d);
        Say(app, "There Are No " + app.itemNoun + "'s To Edit");
        return;
    }
    if (m.List2.listCount() == 0) {
        app.forms.hideForm(d);
        Say(app, "There No " + app.itemNoun + "'s To Edit");
        return;
    }
    const std::string record = Trim(m.List3.selectedText());
    if (record.empty())
        return;

    d.editedRecord = record;
    const std::string group = Trim(m.List5.selectedText());
    const std::string groupKey = LCase(group);
    d.Text1.setText(Trim(m.List1.selectedText()));
    d.Text3.setText(Trim(m.List2.selectedText()));

    FillGroupCombo(app, d.Combo1);
    bool found = false;
    for (int i = 0; i < d.Combo1.listCount() && !found; ++i) {
        if (TrimLower(d.Combo1.item(i)) == groupKey) {
            d.Combo1.setListIndex(i);
            found = true;
        }
    }
    // A group the group file does not list yet (a "Misc - " default) is still the bookmark's
    // own: offer it, so that a save without changes keeps the bookmark where it was.
    if (!found)
        d.Combo1.setText(group);
    d.setFocusedControl("Text1");
}

void frmEditName_Command1_Click(App& app) {
    EditNameForm& d = app.frmEditName;
    std::string name, url;
    if (!CheckBookmarkDialog(app, d, app.itemNoun + " Name Cannot Be Blank", name, url))
        return;

    const int at = RowOfRecordNumber(app, d.editedRecord);
    if (at < 0) {
        // The selection named no loaded bookmark: nothing may be written over another one.
        app.forms.hideForm(d);
        return;
    }
    const std::string group = Trim(d.Combo1.text());
    BookmarkRow& row = app.bookmarks.row(at);
    row[kColName] = name;
    row[kColGroup] = GroupOrDefault(app, group);
    row[kColDateAdded] = app.platform.todayShortDate();
    row[kColUrl] = CompleteUrl(url);

    if (!RewriteStore(app, RowHasName)) {
        app.forms.hideForm(d);
        return;
    }
    LoadStore(app);
    RefillBookmarkList(app);
    AddGroup(app, "newname", "edit", group);

    // Select the edited bookmark again, by its new name.
    ListBox& names = app.main.List1;
    const std::string key = LCase(name);
    int select = names.listCount() > 0 ? 0 : -1;
    for (int i = 0; i < names.listCount(); ++i) {
        if (TrimLower(names.item(i)) == key) {
            select = i;
            break;
        }
    }
    if (select >= 0)
        names.setListIndex(select);
    app.forms.hideForm(d);
}

void frmEditName_Command2_Click(App& app) {
    app.forms.hideForm(app.frmEditName);
}

} // namespace tabbern
