#include "ui/InterfaceTexts.h"

#include "app/App.h"

namespace tabbern {

void SetInterfaceTexts(App& app) {
    MainForm& m = app.main;
    const std::string& noun = app.itemNoun;
    m.setCaption(" " + app.appTitle);
    m.LabelLastAccessed.setCaption("Last Accessed On:");
    m.TextNameSearch.setText("");
    m.Label1.setCaption("My Groups");
    m.Label2.setCaption("Group:");
    m.TextNameSearch.setToolTip(" Enter A " + noun + " To Find ");
    m.Command2.setToolTip(" Find " + noun + " ");
}

} // namespace tabbern
