#include "ui/Looks.h"

#include "app/App.h"

namespace tabbern {

void SetLooks(App& app) {
    const Colour highlight = Colour::system(Colour::Kind::Highlight);

    MainForm& m = app.main;
    m.Label1.setForeColour(Colour::fromRgb(kWhite));
    m.Picture1.setPicture(101);
    m.TextNameSearch.setBackColour(Colour::system(Colour::Kind::ButtonFace));
    m.Command2.setPicture(104);

    app.frmAddName.Picture1.setPicture(102);
    app.frmEditName.Picture1.setPicture(102);
    app.frmEditGroupName.Picture1.setPicture(102);
    app.frmAssignName.Picture1.setPicture(102);

    app.frmAddName.setBackColour(highlight);
    app.frmEditName.setBackColour(highlight);
    app.frmAssignName.setBackColour(highlight);
    app.frmAddConfirm.setBackColour(highlight);
    app.frmEditGroupName.setBackColour(highlight);
    app.frmAbout.setBackColour(highlight);

    app.frmAddName.Command1.setPicture(107);
    app.frmAddName.Command2.setPicture(106);
    app.frmEditName.Command1.setPicture(107);
    app.frmEditName.Command2.setPicture(106);
    app.frmEditGroupName.Command1.setPicture(107);
    app.frmEditGroupName.Command2.setPicture(106);
    app.frmAssignName.Command1.setPicture(110);
    app.frmAssignName.Command2.setPicture(111);
    app.frmAssignName.Command3.setPicture(112);
    app.frmAddConfirm.Picture1.setPicture(103);
    app.frmAddConfirm.Command1.setPicture(108);
    app.frmAddConfirm.Command2.setPicture(109);

    AboutForm& about = app.frmAbout;
    for (Label* label :
         {&about.lblDescription, static_cast<Label*>(&about.lblTitle), &about.lblDisclaimer})
        label->setForeColour(Colour::fromRgb(kBlack));
    about.setPicture(102);
    about.cmdOK.setPicture(105);
}

} // namespace tabbern
