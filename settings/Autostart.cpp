#include "settings/Autostart.h"

#include "app/App.h"

namespace tabbern {

bool CheckForStartupKey(App& app) {
    // An entry with an empty command still counts as present.
    return app.platform.autostartEntry(app.programName).has_value();
}

void RunAtStartup(App& app, const std::string& name, const std::string& command) {
    app.platform.writeAutostartEntry(name, command);
}

void RemoveFromStartup(App& app, const std::string& name) {
    app.platform.removeAutostartEntry(name);
}

void menustartwhenwindowsstarts_Click(App& app) {
    MenuItem& item = app.main.menustartwhenwindowsstarts;
    if (!item.checked()) {
        item.setChecked(true);
        RunAtStartup(app, app.programName, app.platform.programCommand());
    } else {
        item.setChecked(false);
        RemoveFromStartup(app, app.programName);
    }
}

} // namespace tabbern
