// The name search: the box TextNameSearch and the button Command2 beside it.
#include "listview/ListView.h"

#include "app/App.h"
#include "store/Text.h"

namespace tabbern {

namespace {

void SelectInHiddenLists(MainForm& m, int at) {
    m.List2.setListIndex(at);
    m.List3.setListIndex(at);
    m.List4.setListIndex(at);
    m.List5.setListIndex(at);
    m.List6.setListIndex(at);
}

} // namespace

void FindBookmarkByName(App& app) {
    MainForm& m = app.main;
    const int before = m.List1.listIndex();
    const std::string wanted = TrimLower(m.TextNameSearch.text());

    // Each entry tried is selected, so the details follow the search down the list.
    for (int i = 0; i < m.List1.listCount(); ++i) {
        m.List1.setListIndex(i);
        if (TrimLower(m.List1.item(i)) == wanted) {
            SelectInHiddenLists(m, i);
            m.TextNameSearch.setText("");
            return;
        }
    }

    m.List1.setListIndex(before);
    // Selecting no entry runs no click, yet the details must not keep showing the last entry
    // tried: with nothing selected before, the selection and details go back to empty.
    if (before < 0)
        List1_Click(app);
    SelectInHiddenLists(m, before);
    app.platform.messageBox(" Could Not Find " + app.itemNoun + " <" +
                                Trim(m.TextNameSearch.text()) + ">",
                            app.appTitle, MsgButtons::OK);
    m.TextNameSearch.setText("");
}

void TextNameSearch_KeyPress(App& app, int key) {
    if (key == kEnterKey)
        FindBookmarkByName(app);
}

void Command2_Click(App& app) {
    if (!IsBlank(app.main.TextNameSearch.text()))
        FindBookmarkByName(app);
}

} // namespace tabbern
