// The group selector Combo1 of the main window and the group boxes of the dialogs.
#include "listview/ListView.h"

#include "app/App.h"
#include "listview/BlankFirstOrder.h"
#include "store/Text.h"

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tabbern {

namespace {

const char* const kAllGroups = "All Groups";

// Walking the selector from code runs every entry's click, but only the refill for the entry
// the walk ends on can be seen: the clicks on the way only note that a refill is due.
// Returns whether this call started the deferral (an outer walk keeps it otherwise).
bool DeferListRefill(App& app) {
    if (app.listRefillDeferred)
        return false;
    app.listRefillDeferred = true;
    return true;
}

void EndDeferredRefill(App& app, bool started) {
    if (!started)
        return;
    app.listRefillDeferred = false;
    if (app.listRefillPending) {
        app.listRefillPending = false;
        RefillBookmarkList(app);
    }
}

} // namespace

void Combo1_Click(App& app) {
    app.currentGroupFilter = TrimLower(app.main.Combo1.text());
    // Start-up's own selection only sets the filter: the list was filled just before it.
    if (!app.comboFirstClickDone) {
        app.comboFirstClickDone = true;
        return;
    }
    if (app.listRefillDeferred) {
        app.listRefillPending = true;
        return;
    }
    RefillBookmarkList(app);
}

void Combo1_KeyPress(App& app, int key) {
    if (key == kEnterKey && app.addGroupFromSelector)
        app.addGroupFromSelector(app, Trim(app.main.Combo1.text()));
}

void FillGroupSelector(App& app) {
    ComboBox& combo = app.main.Combo1;
    combo.clear();
    combo.setText("");
    combo.addItem(kAllGroups);
    if (app.groupCount < 1)
        return;
    SortGroupNames(app);
    for (const std::string& g : app.groups)
        if (!IsBlank(g))
            combo.addItem(g);
    if (!IsBlank(app.pendingGroupText)) {
        combo.setText(app.pendingGroupText);
        app.pendingGroupText.clear();
    }
}

void SortGroupNames(App& app) {
    std::vector<const std::string*> keys;
    keys.reserve(app.groups.size());
    for (const std::string& g : app.groups)
        keys.push_back(&g);
    const std::vector<std::size_t> order = BlankFirstOrder(keys);
    GroupTable sorted;
    sorted.reserve(order.size());
    for (std::size_t from : order)
        sorted.push_back(std::move(app.groups[from]));
    app.groups = std::move(sorted);
}

void FillGroupCombo(App& app, ComboBox& box) {
    box.clear();
    box.setText("");
    for (const std::string& g : app.groups)
        if (!IsBlank(g) && TrimLower(g) != kAllGroupsKey)
            box.addItem(Trim(g));
    if (box.listCount() > 0)
        box.setListIndex(0);
}

void RebuildGroupTable(App& app) {
    ComboBox& combo = app.main.Combo1;
    if (combo.listCount() < 2)
        return;
    const bool deferred = DeferListRefill(app);
    combo.setListIndex(0);
    const int n = combo.listCount();
    app.groups.assign(static_cast<std::size_t>(n) + 1, std::string());
    // The names the table holds so far, for the duplicate test; the last entry stays blank.
    std::unordered_set<std::string> taken{std::string()};
    // The selector is locked while it is walked, then given back as it was: a selector that
    // the command line disabled stays disabled for the whole run.
    const bool wasEnabled = combo.enabled();
    combo.setEnabled(false);
    for (int i = 0; i < n; ++i) {
        // Each selection runs the selector's click, as choosing the entry would.
        combo.setListIndex(i);
        const std::string& entry = combo.text();
        if (TrimLower(entry) == kAllGroupsKey)
            continue;
        std::string name = Trim(entry);
        if (taken.insert(name).second)
            app.groups[static_cast<std::size_t>(i)] = std::move(name);
    }
    combo.setEnabled(wasEnabled);
    EndDeferredRefill(app, deferred);
}

void SelectGroupByName(App& app, const std::string& name) {
    ComboBox& combo = app.main.Combo1;
    if (IsBlank(name) || combo.listCount() == 0)
        return;
    const std::string wanted = LCase(name);
    const bool deferred = DeferListRefill(app);
    for (int i = 0; i < combo.listCount(); ++i) {
        combo.setListIndex(i);
        if (TrimLower(combo.item(i)) == wanted)
            break;
    }
    EndDeferredRefill(app, deferred);
}

} // namespace tabbern
