#include "settings/Options.h"

#include "app/App.h"
#include "settings/Settings.h"

namespace tabbern {

void menuloadminimized_Click(App& app) {
    MenuItem& item = app.main.menuloadminimized;
    const bool on = !item.checked();
    item.setChecked(on);
    app.loadMinimisedFlag = on ? 1 : 0;
    WriteSettings(app);
}

void menuremembersortchoices_Click(App& app) {
    MenuItem& item = app.main.menuremembersortchoices;
    const bool on = !item.checked();
    item.setChecked(on);
    app.rememberSortFlag = on ? 1 : 0;
    WriteSettings(app);
}

void menuscreenlocation_Click(App& app) {
    MenuItem& item = app.main.menuscreenlocation;
    const bool on = !item.checked();
    item.setChecked(on);
    SaveScreenLocation(app, on);
}

} // namespace tabbern
