// The add dialog: prefilled from the clipboard and the group on show, stored on save.
#include "editing/Editing.h"

#include "app/App.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

void menuaddname_Click(App& app) {
    // A full store takes no more: the dialog would only collect what cannot be kept.
    if (StoreHasRoomFor(app, 1))
        app.forms.showModal(app.frmAddName);
}

void frmAddName_Activate(App& app) {
    AddNameForm& d = app.frmAddName;
    d.Text1.setText("");
    d.Text3.setText("");

    // Only clipboard text that looks like a web address is worth offering as the URL.
    const std::string clip = Trim(app.platform.clipboardText());
    if (ContainsNoCase(clip, "http") || ContainsNoCase(clip, "www") || ContainsNoCase(clip, "ww3"))
        d.Text3.setText(clip);

    FillGroupCombo(app, d.Combo1);
    // Preset the group the main window shows; All Groups keeps the first group offered.
    const ComboBox& selector = app.main.Combo1;
    if (selector.listCount() >= 1) {
        if (TrimLower(selector.text()) != kAllGroupsKey)
            d.Combo1.setText(selector.text());
    } else {
        d.Combo1.setText("");
    }
    d.setFocusedControl("Text1");
}

void frmAddName_Command1_Click(App& app) {
    AddNameForm& d = app.frmAddName;
    std::string name, url;
    if (!CheckBookmarkDialog(app, d, "Please Enter A " + app.itemNoun + " Name", name, url))
        return;

    const std::string group = Trim(d.Combo1.text());
    const std::string today = app.platform.todayShortDate();
    const int at = app.recordCount;
    BookmarkRow& row = app.bookmarks.row(at);
    row[kColRecord] = std::to_string(at);
    row[kColName] = name;
    row[kColGroup] = GroupOrDefault(app, group);
    row[kColDateAdded] = today;
    row[kColUrl] = CompleteUrl(url);
    row[kColLastAccessed].clear();

    // Rows are kept by record number here, so that a loaded record without a name survives.
    // When another copy changed the file, the new record joins that copy's version instead.
    RewriteStoreAdding(app, at);
    LoadStore(app);
    RefillBookmarkList(app);
    // The blank group box is passed as it is: the "Misc - " default adds no group.
    AddGroup(app, "newname", "add", Trim(d.Combo1.text()));
    app.forms.hideForm(d);
}

void frmAddName_Command2_Click(App& app) {
    app.forms.hideForm(app.frmAddName);
}

} // namespace tabbern
