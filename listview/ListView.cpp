#include "listview/ListView.h"

#include "app/App.h"
#include "checking/CheckLinks.h"
#include "listview/BlankFirstOrder.h"
#include "settings/Settings.h"
#include "store/Text.h"

#include <array>
#include <utility>
#include <vector>

namespace tabbern {

namespace {

// The five hidden lists, in the order the details are aligned.
std::array<ListBox*, 5> HiddenLists(MainForm& m) {
    return {&m.List2, &m.List3, &m.List4, &m.List5, &m.List6};
}

std::string DateToolTip(const std::string& lastAccessed, const std::string& dateAdded) {
    return " Last Accessed On: " + lastAccessed + " - Date Added: " + dateAdded + " ";
}

struct SortCommand {
    int choice;
    int keyColumn;
    MenuItem MainForm::*item;
};
constexpr SortCommand kSortCommands[] = {
    {1, kColName, &MainForm::menusortbyname},
    {2, kColUrl, &MainForm::menusortbyurl},
    {3, kColDateAdded, &MainForm::menusortbydateadded},
    {4, kColLastAccessed, &MainForm::menulastaccessed},
};

// Any sort choice outside 1..4 sorts by name.
const SortCommand& CommandForChoice(int choice) {
    for (const SortCommand& c : kSortCommands)
        if (c.choice == choice)
            return c;
    return kSortCommands[0];
}

void RunSortCommand(App& app, const SortCommand& command) {
    app.sortChoice = command.choice;
    for (const SortCommand& c : kSortCommands)
        (app.main.*c.item).setChecked(&c == &command);
    WriteSettings(app);
    SortBookmarks(app, command.keyColumn);
    FillBookmarkList(app);
}

} // namespace

// ---- list fill and sort -------------------------------------------------------------------

void FillBookmarkList(App& app) {
    MainForm& m = app.main;
    m.List1.clear();
    for (ListBox* list : HiddenLists(m))
        list->clear();

    // The detail area shows no bookmark until a selection fills it; the group label stays.
    m.LabelShowURLAddress.setCaption("");
    m.LabelShowURLAddress.setToolTip("");
    m.lblLastChecked.setCaption("");
    m.lblLastChecked.setToolTip("");
    m.lblDateAccessed.setCaption("  ");
    m.LabelLastAccessed.setCaption("Last Accessed On:");
    m.lblDateAccessed.setToolTip(DateToolTip("", ""));
    m.LabelLastAccessed.setToolTip(DateToolTip("", ""));

    if (app.currentGroupFilter == kAllGroupsKey || IsBlank(app.currentGroupFilter))
        app.currentGroupFilter = "all";
    const std::string filterKey = TrimLower(app.currentGroupFilter);
    const bool everyGroup = filterKey == "all";

    for (int r = 0; r < BookmarkTable::kRows; ++r) {
        const BookmarkRow& row = app.bookmarks.row(r);
        if (IsBlank(row[kColName]))
            continue;
        if (!everyGroup && !EqualsTrimLower(row[kColGroup], filterKey))
            continue;
        m.List1.addItem(row[kColName]);
        m.List2.addItem(row[kColUrl]);
        m.List3.addItem(row[kColRecord]);
        m.List4.addItem(row[kColDateAdded]);
        m.List5.addItem(row[kColGroup]);
        m.List6.addItem(row[kColLastAccessed]);
    }

    if (m.List1.listCount() > 0) {
        m.List1.setListIndex(0);
        m.List2.setListIndex(0);
        ShowSelectionDetails(app);
        for (ListBox* list : HiddenLists(m))
            list->setListIndex(0);
    }
    app.frmAddName.Text1.setText("");
    app.frmAddName.Text3.setText("");
}

void SortBookmarks(App& app, int keyColumn) {
    const int count = app.recordCount;
    if (count <= 0)
        return;
    std::vector<const std::string*> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r)
        keys.push_back(&app.bookmarks.at(r, keyColumn));
    const std::vector<std::size_t> order = BlankFirstOrder(keys);

    std::vector<BookmarkRow> sorted;
    sorted.reserve(order.size());
    for (std::size_t from : order)
        sorted.push_back(std::move(app.bookmarks.row(static_cast<int>(from))));
    for (int r = 0; r < count; ++r) {
        BookmarkRow& row = app.bookmarks.row(r);
        row = std::move(sorted[static_cast<std::size_t>(r)]);
        row[kColRecord] = std::to_string(r);
    }
}

void ApplySortChoice(App& app) {
    for (const SortCommand& c : kSortCommands)
        (app.main.*c.item).setChecked(false);
    const SortCommand& command = CommandForChoice(app.sortChoice);
    SortBookmarks(app, command.keyColumn);
    FillBookmarkList(app);
    (app.main.*command.item).setChecked(true);
}

void RefillBookmarkList(App& app) {
    if (app.rememberSortFlag == 1)
        ApplySortChoice(app);
    else
        FillBookmarkList(app);
}

void menusortbyname_Click(App& app) {
    RunSortCommand(app, kSortCommands[0]);
}
void menusortbyurl_Click(App& app) {
    RunSortCommand(app, kSortCommands[1]);
}
void menusortbydateadded_Click(App& app) {
    RunSortCommand(app, kSortCommands[2]);
}
void menulastaccessed_Click(App& app) {
    RunSortCommand(app, kSortCommands[3]);
}

// ---- selection and details ----------------------------------------------------------------

void List1_Click(App& app) {
    MainForm& m = app.main;
    m.List2.setListIndex(m.List1.listIndex());
    app.selectedUrl = m.List2.selectedText();
    ShowSelectionDetails(app);
}

void ShowSelectionDetails(App& app) {
    MainForm& m = app.main;
    const int at = m.List1.listIndex();
    for (ListBox* list : HiddenLists(m))
        list->setListIndex(at);

    const std::string url = m.List2.selectedText();
    const std::string dateAdded = m.List4.selectedText();
    const std::string group = m.List5.selectedText();
    const std::string lastAccessed = m.List6.selectedText();

    m.lblWhatGroup.setCaption(group);
    m.lblWhatGroup.setToolTip(" " + group + " ");
    m.Label2.setToolTip(" " + group + " ");
    m.LabelShowURLAddress.setCaption(url + " ");
    m.LabelShowURLAddress.setToolTip(" " + url + " ");
    m.lblDateAccessed.setCaption(" " + lastAccessed + " ");
    m.lblDateAccessed.setToolTip(DateToolTip(lastAccessed, dateAdded));
    m.LabelLastAccessed.setToolTip(DateToolTip(lastAccessed, dateAdded));
    ShowLastChecked(app);
}

// ---- wiring -------------------------------------------------------------------------------

void WireListViewHandlers(App& app) {
    MainForm& m = app.main;
    m.List1.onClick = [&app] { List1_Click(app); };
    m.Combo1.onClick = [&app] { Combo1_Click(app); };
    m.Combo1.onKeyPress = [&app](int key) { Combo1_KeyPress(app, key); };
    m.menusortbyname.onClick = [&app] { menusortbyname_Click(app); };
    m.menusortbyurl.onClick = [&app] { menusortbyurl_Click(app); };
    m.menusortbydateadded.onClick = [&app] { menusortbydateadded_Click(app); };
    m.menulastaccessed.onClick = [&app] { menulastaccessed_Click(app); };
    m.Command2.onClick = [&app] { Command2_Click(app); };
    m.TextNameSearch.onKeyPress = [&app](int key) { TextNameSearch_KeyPress(app, key); };
}

} // namespace tabbern
