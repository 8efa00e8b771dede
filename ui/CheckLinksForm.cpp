#include "ui/CheckLinksForm.h"

namespace tabbern {

CheckLinksForm::CheckLinksForm() : Form("frmCheckLinks") {
    setVisible(false);
    setCaption("Check Links");
    Label2.setCaption("Bookmarks That Need A Look");
    Command1.setCaption("Cancel");
    List1.setLabel(Label2);
    ProgressBar1.setAccessibleName("Link check progress");
    ProgressBar1.setDescribedBy(Label1);
}

std::vector<Control*> CheckLinksForm::allControls() {
    return {&Label1, &ProgressBar1, &Label2, &List1, &Command1, &cmdCloseBox};
}

} // namespace tabbern
