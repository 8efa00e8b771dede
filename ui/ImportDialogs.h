// The two dialogs of the imports: the confirmation of what an import adds, and the naming of
// each link that a text file gave.
#pragma once

#include "ui/Controls.h"

#include <vector>

namespace tabbern {

struct App;

// frmAddConfirm: lists what an import is about to add; the clipboard import also takes the
// bookmark's name and group here. The frame's close button counts as Command2.
class AddConfirmForm : public Form {
public:
    AddConfirmForm();

    TextBox Text1{"Text1"};          // what will be imported, one entry a line; display only
    TextBox Text2{"Text2"};          // bookmark name (clipboard import)
    ComboBox GroupList{"GroupList"}; // group (clipboard import)
    Label Label1{"Label1"};          // caption of Text2
    Label Label2{"Label2"};          // caption of GroupList
    Label Label3{"Label3"};          // how many are imported and what is left out (browser file)
    Button Command1{"Command1"};     // import
    Button Command2{"Command2"};     // cancel the whole import
    PictureBox Picture1{"Picture1"};

    std::vector<Control*> allControls() override;
};

// frmAssignName: names one link of a text-file import and gives it a group. The frame's close
// button counts as Command3.
class AssignNameForm : public Form {
public:
    AssignNameForm();

    Label Label3{"Label3"};      // the link being named
    Label Label1{"Label1"};      // prompt
    TextBox Text1{"Text1"};      // bookmark name
    ComboBox Combo1{"Combo1"};   // group
    Button Command1{"Command1"}; // assign
    Button Command2{"Command2"}; // do not assign this link
    Button Command3{"Command3"}; // cancel importing
    PictureBox Picture1{"Picture1"};

    std::vector<Control*> allControls() override;
};

// The captions and tooltips of both dialogs that start-up builds from the item noun.
void SetImportDialogTexts(App& app);

} // namespace tabbern
