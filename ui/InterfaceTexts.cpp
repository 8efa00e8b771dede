#include "ui/InterfaceTexts.h"

#include "app/App.h"
#include "ui/ImportDialogs.h"

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
    // The list has no caption on the window: it holds the bookmarks of the group chosen above.
    m.List1.setAccessibleName(noun + "s");

    for (BookmarkDialog* d : {static_cast<BookmarkDialog*>(&app.frmAddName),
                              static_cast<BookmarkDialog*>(&app.frmEditName)}) {
        d->Label1.setCaption(noun + " Name");
        d->Command1.setToolTip(" Save This " + noun + " ");
        d->Command2.setToolTip(" Do Not Save ");
    }
    EditGroupNameForm& g = app.frmEditGroupName;
    g.Command1.setToolTip(" Save Group Name Change ");
    g.Command2.setToolTip(" Do Not Save Group Name Change ");
    g.Label1.setCaption("Enter A New Name For This Group");
    SetImportDialogTexts(app);

    app.frmHelp.Command1.setCaption(" Close ");
    AboutForm& about = app.frmAbout;
    about.setCaption(" About " + app.appTitle);
    about.lblTitle.setCaption(app.appTitle);
    about.lblDisclaimer.setCaption(AboutDisclaimer());
    about.lblDescription.setCaption(AboutDescription());
}

} // namespace tabbern
