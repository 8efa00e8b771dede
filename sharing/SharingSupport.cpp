#include "sharing/SharingSupport.h"

#include "app/App.h"
#include "app/Startup.h"
#include "editing/EditingSupport.h"
#include "listview/ListView.h"
#include "store/FileIo.h"
#include "store/Store.h"
#include "store/Text.h"

namespace tabbern {

void SayCannotRead(App& app, const std::string& path, const FileError& e) {
    Say(app, "Cannot Read The File:\r" + path + "\r" + e.reason());
}

void SayCannotWrite(App& app, const std::string& path, const FileError& e) {
    Say(app, "Cannot Write The File:\r" + path + "\r" + e.reason());
}

std::string LimitMessage(const App& app, int freeCapacity) {
    const std::string n = std::to_string(freeCapacity);
    return "Maximum Database Record Count of " + n + app.itemNoun + "s Reached!" + " Remove " + n +
           app.itemNoun + "s and Re-Import";
}

std::string AskExportPath(App& app, const FileDialogRequest& request) {
    if (IsBlank(app.main.Combo1.text())) {
        Say(app, "No Group Selected");
        return {};
    }
    if (app.recordCount <= 0) {
        Say(app, "There Is Nothing To Export. The Database File Is Empty.");
        return {};
    }
    return Trim(app.platform.saveFileDialog(request));
}

std::string MiscGroup(App& app) {
    return "Misc - " + app.platform.todayShortDate();
}

void RefreshGroupsAfterImport(App& app) {
    LoadGroups(app);
    AddMissingGroups(app);
    LoadGroups(app);
    RebuildGroupTable(app);
    FillGroupSelector(app);
    app.main.Combo1.setListIndex(0);
    ShowSelectionDetails(app);
}

} // namespace tabbern
