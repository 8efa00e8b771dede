// The small dialogs of the editing commands: add a bookmark, edit a bookmark, rename a group.
#pragma once

#include "ui/Controls.h"

#include <string>
#include <utility>
#include <vector>

namespace tabbern {

// The add and edit dialogs share their controls: a name, a group box, a URL, save and cancel.
class BookmarkDialog : public Form {
public:
    BookmarkDialog(std::string formName, std::string caption);

    TextBox Text1{"Text1"};      // bookmark name
    ComboBox Combo1{"Combo1"};   // group name
    TextBox Text3{"Text3"};      // URL
    Button Command1{"Command1"}; // save
    Button Command2{"Command2"}; // cancel
    Label Label1{"Label1"};
    Label Label2{"Label2"};
    Label Label3{"Label3"};
    PictureBox Picture1{"Picture1"};

    std::vector<Control*> allControls() override;
};

class AddNameForm : public BookmarkDialog {
public:
    AddNameForm() : BookmarkDialog("frmAddName", "Add A Bookmark") {}
};

class EditNameForm : public BookmarkDialog {
public:
    EditNameForm() : BookmarkDialog("frmEditName", "Edit Selected Bookmark") {}

    // The record number of the bookmark being edited, as its activation took it from the list.
    std::string editedRecord;
};

class EditGroupNameForm : public Form {
public:
    EditGroupNameForm();

    TextBox Text1{"Text1"};      // the group's current name
    Label Label2{"Label2"};      // the current name in angle brackets
    TextBox Text3{"Text3"};      // the new name
    Button Command1{"Command1"}; // save
    Button Command2{"Command2"}; // cancel
    Label Label1{"Label1"};
    PictureBox Picture1{"Picture1"};

    std::vector<Control*> allControls() override;
};

} // namespace tabbern
