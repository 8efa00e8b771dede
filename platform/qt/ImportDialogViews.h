// The two dialogs of the Share menu's imports as real windows: the confirmation of what an
// import adds (frmAddConfirm) and the naming of each link that a text file gave (frmAssignName).
// The core shows both modally and hides them from their buttons; the frame's close button and
// Escape press the dialog's cancel button.
#pragma once

#include "platform/qt/BookmarkDialogView.h"

class QTextEdit;

namespace tabbern {

class AddConfirmForm;
class AssignNameForm;

// On the large card of bitmap 103: the list of what will be imported, and below it the name
// and group boxes that only the clipboard import shows. The list takes their room while they
// are hidden.
class AddConfirmView : public DialogView {
    Q_OBJECT

public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 370;

    AddConfirmView(QtPlatform& platform, AddConfirmForm& model);

    void sync() override;

private:
    void placeList();

    AddConfirmForm& model_;
    QTextEdit* list_ = nullptr;
};

// On the small dialogs' card: the link in large type, the name box, the group box, and the
// assign, skip and cancel buttons.
class AssignNameView : public DialogView {
    Q_OBJECT

public:
    AssignNameView(QtPlatform& platform, AssignNameForm& model);
};

} // namespace tabbern
