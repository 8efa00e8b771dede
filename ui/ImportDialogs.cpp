#include "ui/ImportDialogs.h"

#include "app/App.h"

namespace tabbern {

// Captions as the dialogs were designed; the texts built from the item noun are set at start-up.
AddConfirmForm::AddConfirmForm() : Form("frmAddConfirm") {
    setVisible(false);
    setCaption("Confirm Import");
    Text1.setEnabled(false);
    // Only the clipboard import asks for a name.
    Text2.setEnabled(false);
    Text2.setVisible(false);
    Label1.setVisible(false);
    Label2.setVisible(false);
    Label3.setVisible(false);
    Command1.setCaption("Import");
    Command2.setCaption("Cancel");
    Text2.setLabel(Label1);
    GroupList.setLabel(Label2);
    // A browser file's summary tells what the list leaves out.
    Text1.setDescribedBy(Label3);
}

std::vector<Control*> AddConfirmForm::allControls() {
    return {&Text1, &Text2, &GroupList, &Label1, &Label2, &Label3, &Command1, &Command2, &Picture1};
}

AssignNameForm::AssignNameForm() : Form("frmAssignName") {
    setVisible(false);
    setCaption("Name This Link");
    Command1.setCaption("Assign");
    Command2.setCaption("Skip");
    Command3.setCaption("Stop");
    // The box is told which link it names; the group box has no caption of its own.
    Text1.setLabel(Label1);
    Text1.setDescribedBy(Label3);
    Combo1.setAccessibleName("Group");
}

std::vector<Control*> AssignNameForm::allControls() {
    return {&Label3, &Label1, &Text1, &Combo1, &Command1, &Command2, &Command3, &Picture1};
}

void SetImportDialogTexts(App& app) {
    const std::string& noun = app.itemNoun;
    AddConfirmForm& c = app.frmAddConfirm;
    c.Label1.setCaption(noun + ":");
    c.Label2.setCaption("Group:");
    c.Text2.setToolTip(" Enter A " + noun + " For This URL Link ");
    c.Command1.setToolTip(" Import Into Tabbern ");
    c.Command2.setToolTip(" Cancel All Importports ");
    c.Text1.setAccessibleName(noun + "s To Import");

    AssignNameForm& a = app.frmAssignName;
    a.Command1.setToolTip(" Assign " + noun + " To This URL Link ");
    a.Command2.setToolTip(" Do Not Assign A " + noun + " To This URL Link ");
    a.Command3.setToolTip(" Cancel Importing ");
    a.Label1.setCaption("Enter A " + noun + " For This URL Link");
    a.Text1.setToolTip(" Enter A " + noun + " For This URL Link ");
}

} // namespace tabbern
