// The rename dialog of a group (frmEditGroupName) as a real window. The core shows it without
// making it modal, so the main window stays usable while it is open.
#pragma once

#include "platform/qt/BookmarkDialogView.h"

namespace tabbern {

class EditGroupNameForm;

class GroupNameDialogView : public DialogView {
    Q_OBJECT

public:
    GroupNameDialogView(QtPlatform& platform, EditGroupNameForm& model);
};

} // namespace tabbern
