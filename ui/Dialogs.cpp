#include "ui/Dialogs.h"

namespace tabbern {

// Captions as the dialogs were designed; the texts built from the item noun are set at start-up.
BookmarkDialog::BookmarkDialog(std::string formName, std::string caption)
    : Form(std::move(formName)) {
    setVisible(false);
    setCaption(std::move(caption));
    Label2.setCaption("Group");
    Label3.setCaption("URL Link Address");
    Command1.setCaption("Save");
    Command2.setCaption("Cancel");
    Text1.setLabel(Label1);
    Combo1.setLabel(Label2);
    Text3.setLabel(Label3);
}

std::vector<Control*> BookmarkDialog::allControls() {
    return {&Text1, &Combo1, &Text3, &Command1, &Command2, &Label1, &Label2, &Label3, &Picture1};
}

EditGroupNameForm::EditGroupNameForm() : Form("frmEditGroupName") {
    setVisible(false);
    setCaption("Edit Selected Group");
    Command1.setCaption("Save");
    Command2.setCaption("Cancel");
    // The new name's box, told which group it renames.
    Text3.setLabel(Label1);
    Text3.setDescribedBy(Label2);
}

std::vector<Control*> EditGroupNameForm::allControls() {
    return {&Text1, &Label2, &Text3, &Command1, &Command2, &Label1, &Picture1};
}

} // namespace tabbern
