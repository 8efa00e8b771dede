#include "ui/Dialogs.h"

namespace tabbern {

namespace {

Control* FindByName(const std::vector<Control*>& controls, const std::string& name) {
    for (Control* c : controls)
        if (c->name() == name)
            return c;
    return nullptr;
}

} // namespace

std::vector<Control*> BookmarkDialog::allControls() {
    return {&Text1, &Combo1, &Text3, &Command1, &Command2, &Label1, &Label2, &Label3, &Picture1};
}

Control* BookmarkDialog::findControl(const std::string& name) {
    return FindByName(allControls(), name);
}

std::vector<Control*> EditGroupNameForm::allControls() {
    return {&Text1, &Label2, &Text3, &Command1, &Command2, &Label1, &Picture1};
}

Control* EditGroupNameForm::findControl(const std::string& name) {
    return FindByName(allControls(), name);
}

} // namespace tabbern
