// The link check's window: how far the check has come, and the bookmarks that need a look.
// Modeless, so that the main window stays in use while the check runs.
#pragma once

#include "ui/Controls.h"

#include <vector>

namespace tabbern {

class CheckLinksForm : public Form {
public:
    CheckLinksForm();

    Label Label1{"Label1"};                   // "Checked 37 of 120"
    ProgressBar ProgressBar1{"ProgressBar1"}; // the same as a bar
    Label Label2{"Label2"};                   // the caption of the list
    ListBox List1{"List1"};                   // name, address and what happened, one a row
    Button Command1{"Command1"};              // Cancel while the check runs, then Close
    // What the close box and Escape press; it has no place on the window.
    Button cmdCloseBox{"cmdCloseBox"};

    std::vector<Control*> allControls() override;
};

} // namespace tabbern
