// The bookmark list of the main window: filling it for the current group filter, sorting the
// BookmarkTable, the selection and its details, the group selectors, and the name search.
//
// List1 shows the names; the hidden List2..List6 are filled in step with it (URL, record number,
// date added, group, last accessed) so that every list position knows its whole bookmark.
#pragma once

#include <string>

namespace tabbern {

struct App;
class ComboBox;

// ---- list fill and sort -------------------------------------------------------------------
// Refills the six lists with the bookmarks of the current group filter and selects the first.
void FillBookmarkList(App& app);
// Reorders rows 0..count-1 by the key column (2, 4, 5 or 6): blank keys first, then ascending
// by exact byte order; stable. Record numbers follow the new row indexes.
void SortBookmarks(App& app, int keyColumn);
// Sorts and fills by the remembered sort choice and ticks its menu item; saves nothing.
void ApplySortChoice(App& app);
// The refill every writer uses: sorted when sort choices are remembered, else in table order.
void RefillBookmarkList(App& app);

void menusortbyname_Click(App& app);
void menusortbyurl_Click(App& app);
void menusortbydateadded_Click(App& app);
void menulastaccessed_Click(App& app);

// ---- selection and details ----------------------------------------------------------------
void List1_Click(App& app);
// Brings the hidden lists to List1's position and shows that bookmark in the detail labels.
void ShowSelectionDetails(App& app);

// ---- group selectors ----------------------------------------------------------------------
void Combo1_Click(App& app);
void Combo1_KeyPress(App& app, int key);
// Puts "All Groups" and the sorted group names into the main window's selector.
void FillGroupSelector(App& app);
// Sorts the GroupTable in place: blank entries first, then exact ascending order; stable.
void SortGroupNames(App& app);
// Fills a dialog's group box with the trimmed group names and selects the first.
void FillGroupCombo(App& app, ComboBox& box);
// Makes the GroupTable mirror the selector's entries, selecting each of them in turn.
void RebuildGroupTable(App& app);
// Selects the selector entry with that name (ignoring case); the last entry when none has it.
void SelectGroupByName(App& app, const std::string& name);

// ---- name search --------------------------------------------------------------------------
void FindBookmarkByName(App& app);
void TextNameSearch_KeyPress(App& app, int key);
void Command2_Click(App& app);

// Connects the main window's list, selector, sort menu and search controls to the handlers.
void WireListViewHandlers(App& app);

} // namespace tabbern
