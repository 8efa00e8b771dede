// Where the controls of each window lie, in twips, and how they are shown.
#pragma once

#include "platform/win32/FormWindow.h"

namespace tabbern::win32 {

FormLayout MainWindowLayout();
FormLayout BookmarkDialogLayout();
FormLayout GroupNameDialogLayout();
FormLayout AddConfirmLayout();
// The confirmation's list: the whole height, or shortened above the name and group boxes.
TwipRect AddConfirmListRect(bool fieldsShown);
FormLayout AssignNameLayout();
FormLayout AboutLayout();
FormLayout HelpLayout();

} // namespace tabbern::win32
