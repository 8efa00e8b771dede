#include "settings/DataFolder.h"

#include "app/App.h"
#include "app/Startup.h"
#include "listview/ListView.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

std::string BrowseForDataFolder(App& app, const std::string& prompt) {
    return app.platform.browseForFolder(prompt);
}

void ShowDataFolder(App& app) {
    const std::string folder = Trim(app.dataFolder);
    app.main.lblAltDatapath.setCaption("   " + folder + " ");
    app.main.lblAltDatapath.setToolTip(" " + folder + " ");
}

void menusetdata_Click(App& app) {
    const std::string chosen = BrowseForDataFolder(app, "Please select a Server folder.");
    if (IsBlank(chosen))
        return;

    app.dataFolder = StripTrailingSeparator(chosen);
    if (app.dataFolder.empty())
        app.dataFolder = app.platform.programFolder();
    // Nothing of the new folder's files has been seen yet.
    app.fingerprints = {};

    // A refused repair ends the program here, before the choice is remembered, so the next
    // start still uses the folder that was in force.
    CheckStoreFile(app);
    CheckGroupFile(app);
    LoadStore(app);
    FillBookmarkList(app);
    LoadGroups(app);
    AddMissingGroups(app);
    LoadGroups(app);
    FillGroupSelector(app);
    // All Groups; its click sets the filter and refills the list.
    app.main.Combo1.setListIndex(0);
    ShowSelectionDetails(app);

    WriteOneLineFile(app.programFile(app.dataPathFileName), chosen);
    ShowDataFolder(app);
}

void lblAltDatapath_DblClick(App& app) {
    if (app.main.lblAltDatapath.enabled())
        menusetdata_Click(app);
}

} // namespace tabbern
