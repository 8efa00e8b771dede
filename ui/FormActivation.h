// Which of the program's own windows is the active one, for the views of every window system.
//
// A form's activation handler runs when the form becomes the program's active form: when it is
// shown, or when the user switches to it from another of the program's forms. Coming back from
// a message box or a file dialog, which hands the focus back to the form it covered, is no
// activation: the add dialog would otherwise clear what the user typed.
#pragma once

#include "ui/Controls.h"

namespace tabbern {

class FormActivation {
public:
    // The form's window became the program's active window. True when that is an activation,
    // that is, when another form (or none) was active before.
    bool becameActive(Form& form) {
        if (active_ == &form)
            return false;
        active_ = &form;
        return true;
    }
    // The form's window was hidden or destroyed: being active again is an activation again.
    void gone(const Form& form) {
        if (active_ == &form)
            active_ = nullptr;
    }
    Form* active() const { return active_; }

private:
    Form* active_ = nullptr;
};

} // namespace tabbern
