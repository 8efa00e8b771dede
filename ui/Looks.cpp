#include "ui/Looks.h"

#include "app/App.h"

namespace tabbern {

void SetLooks(App& app) {
    const Colour highlight = Colour::system(Colour::Kind::Highlight);

    MainForm& m = app.main;
    m.Label1.setForeColour(Colour::fromRgb(kWhite));
    m.Picture1.setPicture(kMainBackground);
    m.TextNameSearch.setBackColour(Colour::system(Colour::Kind::ButtonFace));
    m.Command2.setPicture(kFindPicture);

    app.frmAddName.Picture1.setPicture(kCardPicture);
    app.frmEditName.Picture1.setPicture(kCardPicture);
    app.frmEditGroupName.Picture1.setPicture(kCardPicture);
    app.frmAssignName.Picture1.setPicture(kCardPicture);

    app.frmAddName.setBackColour(highlight);
    app.frmEditName.setBackColour(highlight);
    app.frmAssignName.setBackColour(highlight);
    app.frmAddConfirm.setBackColour(highlight);
    app.frmEditGroupName.setBackColour(highlight);
    app.frmAbout.setBackColour(highlight);

    app.frmAddName.Command1.setPicture(kSavePicture);
    app.frmAddName.Command2.setPicture(kCancelPicture);
    app.frmEditName.Command1.setPicture(kSavePicture);
    app.frmEditName.Command2.setPicture(kCancelPicture);
    app.frmEditGroupName.Command1.setPicture(kSavePicture);
    app.frmEditGroupName.Command2.setPicture(kCancelPicture);
    app.frmAssignName.Command1.setPicture(kAssignPicture);
    app.frmAssignName.Command2.setPicture(kSkipPicture);
    app.frmAssignName.Command3.setPicture(kStopImportPicture);
    app.frmAddConfirm.Picture1.setPicture(kConfirmCardPicture);
    app.frmAddConfirm.Command1.setPicture(kImportPicture);
    app.frmAddConfirm.Command2.setPicture(kCancelImportPicture);

    AboutForm& about = app.frmAbout;
    for (Label* label :
         {&about.lblDescription, static_cast<Label*>(&about.lblTitle), &about.lblDisclaimer})
        label->setForeColour(Colour::fromRgb(kBlack));
    about.setPicture(kCardPicture);
    about.cmdOK.setPicture(kOkPicture);
}

} // namespace tabbern
