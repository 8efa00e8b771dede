// The pictures and colours that start-up gives the main window and the dialogs.
#pragma once

namespace tabbern {

struct App;

// The program's pictures, by the numbers its resources carry them under (icon 101 included).
enum Picture : int {
    kProgramIcon = 101,
    kMainBackground = 101,
    kCardPicture = 102,
    kConfirmCardPicture = 103,
    kFindPicture = 104,
    kOkPicture = 105,
    kCancelPicture = 106,
    kSavePicture = 107,
    kImportPicture = 108,
    kCancelImportPicture = 109,
    kAssignPicture = 110,
    kSkipPicture = 111,
    kStopImportPicture = 112,
};

void SetLooks(App& app);

} // namespace tabbern
