// Opening the selected bookmark in the browser, and stamping its last access.
#include "editing/Editing.h"

#include "app/App.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

void List1_DblClick(App& app) {
    OpenSelectedBookmark(app);
}

void LabelShowURLAddress_DblClick(App& app) {
    MainForm& m = app.main;
    m.List2.setListIndex(m.List1.listIndex());
    app.selectedUrl = m.List2.selectedText();
    ShowSelectionDetails(app);
    OpenSelectedBookmark(app);
}

void OpenSelectedBookmark(App& app) {
    MainForm& m = app.main;
    // The selected URL outlives the list it came from; without a selection there is nothing
    // the user could mean.
    if (m.List1.listIndex() < 0)
        return;
    const std::string url = app.selectedUrl;
    // A stored URL can be anything a share file or the clipboard brought in; only a web
    // address may reach the desktop's opener, which would run a program or open a local file.
    if (!IsWebAddress(url)) {
        Say(app, app.programName + " Opens Only Web Addresses:\r" + url);
        return;
    }
    // A bookmark that did not open was not accessed.
    if (!app.platform.shellOpen(BrowserAddress(url))) {
        Say(app, "No Web Browser Could Open:\r" + url);
        return;
    }

    const int at = RowOfRecordNumber(app, m.List3.selectedText());
    if (at < 0)
        return;
    app.bookmarks.at(at, kColLastAccessed) = app.platform.todayShortDate();
    // The table stays as it is in memory: no reload, so rows and record numbers keep their order.
    if (!RewriteStore(app, RowHasName))
        return;

    const int position = m.List1.listIndex();
    RefillBookmarkList(app);
    if (position >= 1) {
        m.List1.setListIndex(position);
        for (ListBox* list : {&m.List2, &m.List3, &m.List4, &m.List5, &m.List6})
            list->setListIndex(position);
    }
}

} // namespace tabbern
