#include "settings/Options.h"

#include "app/App.h"
#include "settings/Settings.h"

namespace tabbern {

namespace {

// Flips the item's tick, as choosing it does, and gives the new state.
bool FlipTick(MenuItem& item) {
    item.setChecked(!item.checked());
    return item.checked();
}

} // namespace

void menuloadminimized_Click(App& app) {
    app.loadMinimisedFlag = FlipTick(app.main.menuloadminimized) ? 1 : 0;
    WriteSettings(app);
}

void menuremembersortchoices_Click(App& app) {
    app.rememberSortFlag = FlipTick(app.main.menuremembersortchoices) ? 1 : 0;
    WriteSettings(app);
}

void menuscreenlocation_Click(App& app) {
    SaveScreenLocation(app, FlipTick(app.main.menuscreenlocation));
}

} // namespace tabbern
