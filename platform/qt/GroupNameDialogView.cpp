#include "platform/qt/GroupNameDialogView.h"

#include "ui/Dialogs.h"

#include <QLabel>

namespace tabbern {

namespace {

// The same columns as the bookmark dialogs: the prompt, the group's current name in large type
// and the box for the new name, centred on the card above the etched line of bitmap 102; the
// buttons below it.
constexpr int kLeft = 28;
constexpr int kBoxWidth = 334;
constexpr int kButtonTop = 228;

} // namespace

GroupNameDialogView::GroupNameDialogView(QtPlatform& platform, EditGroupNameForm& model)
    : DialogView(platform, model, model.Command2) {
    addPicture(model.Picture1);
    addLabel(model.Label1, QRect(kLeft, 56, kBoxWidth, 18));
    QLabel* current = addLabel(model.Label2, QRect(kLeft, 80, kBoxWidth, 30));
    QFont large = current->font();
    large.setPixelSize(17);
    current->setFont(large);
    // The current name travels in Text1 for the save; Label2 shows it to the user.
    addTextBox(model.Text1, QRect(kLeft, 80, kBoxWidth, 26), false);
    addTextBox(model.Text3, QRect(kLeft, 122, kBoxWidth, 26));
    addButton(model.Command1, QRect(kLeft + kBoxWidth - 110 - 8 - 115, kButtonTop, 115, 24));
    addButton(model.Command2, QRect(kLeft + kBoxWidth - 110, kButtonTop, 110, 24));
    finishBuilding();
}

} // namespace tabbern
