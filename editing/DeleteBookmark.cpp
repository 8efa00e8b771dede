// Deleting the selected bookmark: by content, so that exact copies go with it.
#include "editing/Editing.h"

#include "app/App.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

void menunamesdelete_Click(App& app) {
    MainForm& m = app.main;
    if (m.List1.listCount() == 0) {
        Say(app, "There Are No " + app.itemNoun + "'s To Delete");
        return;
    }
    const std::string name = Trim(m.List1.selectedText());
    if (name.empty())
        return;
    const std::string group = Trim(m.List5.selectedText());
    const std::string listedUrl = m.List2.selectedText();

    const std::string question = "Delete The " + app.itemNoun + ":\r" + name + "\r\r" +
                                 "From The Group: \r" + group + "\r\r" + "For URL: \r" + listedUrl;
    if (app.platform.messageBox(question, app.appTitle, MsgButtons::OKCancel) != MsgResult::OK)
        return;

    // Names and groups match ignoring case and blanks around them; the URL must match exactly.
    // An empty group matches the rows whose group is empty too.
    const std::string nameKey = LCase(name);
    const std::string groupKey = LCase(group);
    const std::string urlKey = Trim(listedUrl);
    const bool written = RewriteStore(app, [&](int r, const BookmarkRow& row) {
        const bool matches = TrimLower(row[kColName]) == nameKey &&
                             TrimLower(row[kColGroup]) == groupKey && Trim(row[kColUrl]) == urlKey;
        return !matches && RowHasName(r, row);
    });
    if (!written)
        return;
    LoadStore(app);
    RefillBookmarkList(app);
    if (m.Combo1.listCount() > 0)
        m.Combo1.setListIndex(0);
    ShowSelectionDetails(app);
}

} // namespace tabbern
