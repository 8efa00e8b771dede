// The main window: its controls and its menu bar.
#pragma once

#include "ui/Controls.h"

#include <vector>

namespace tabbern {

class MainForm : public Form {
public:
    MainForm();

    // Controls, as laid out on the window.
    PictureBox Picture1{"Picture1"};
    Label lblAltDatapath{"lblAltDatapath"};
    Label Label1{"Label1"};
    ComboBox Combo1{"Combo1"};
    ListBox List1{"List1"};
    TextBox TextNameSearch{"TextNameSearch"};
    Button Command2{"Command2"};
    Label LabelLastAccessed{"LabelLastAccessed"};
    Label lblDateAccessed{"lblDateAccessed"};
    Label Label2{"Label2"};
    Label lblWhatGroup{"lblWhatGroup"};
    Label LabelShowURLAddress{"LabelShowURLAddress"};
    // When the selected bookmark's address was last checked, and what came of it.
    Label lblLastChecked{"lblLastChecked"};
    // Hidden lists kept in step with List1: URL, record number, date added, group, last accessed.
    ListBox List2{"List2"};
    ListBox List3{"List3"};
    ListBox List4{"List4"};
    ListBox List5{"List5"};
    ListBox List6{"List6"};

    // Menu bar.
    MenuItem menunames{"menunames"};
    MenuItem menuaddname{"menuaddname"};
    MenuItem menunamesedit{"menunamesedit"};
    MenuItem menunamesdelete{"menunamesdelete"};
    MenuItem menusortby{"menusortby"};
    MenuItem menusortbyname{"menusortbyname"};
    MenuItem menusortbyurl{"menusortbyurl"};
    MenuItem menusortbydateadded{"menusortbydateadded"};
    MenuItem menulastaccessed{"menulastaccessed"};
    MenuItem menuquit{"menuquit"};
    MenuItem menugroup{"menugroup"};
    MenuItem menuaddgroup{"menuaddgroup"};
    MenuItem menueditselectedgroup{"menueditselectedgroup"};
    MenuItem menudeletegroup{"menudeletegroup"};
    MenuItem menuchecklinks{"menuchecklinks"};
    MenuItem menushare{"menushare"};
    MenuItem menuimportfromtextfile{"menuimportfromtextfile"};
    MenuItem menuimportfromclipboard{"menuimportfromclipboard"};
    MenuItem menuimportfromtabbernfile{"menuimportfromtabbernfile"};
    MenuItem menuexporttotabbernfile{"menuexporttotabbernfile"};
    MenuItem menuimportfrombrowserfile{"menuimportfrombrowserfile"};
    MenuItem menuexporttobrowserfile{"menuexporttobrowserfile"};
    MenuItem menuoptions{"menuoptions"};
    MenuItem menuremembersortchoices{"menuremembersortchoices"};
    MenuItem menuscreenlocation{"menuscreenlocation"};
    MenuItem menustartwhenwindowsstarts{"menustartwhenwindowsstarts"};
    MenuItem menuloadminimized{"menuloadminimized"};
    MenuItem menusetdata{"menusetdata"};
    MenuItem menuhelp{"menuhelp"};
    MenuItem menuabout{"menuabout"};
    MenuItem helpdocument{"helpdocument"};
    MenuItem menutabbernwebsite{"menutabbernwebsite"};

    // The top-level menus in menu-bar order.
    std::vector<MenuItem*> menuBar;

    std::vector<Control*> allControls() override;

    // Design-time placement of a visible control, or nullptr for the hidden ones.
    static const TwipRect* layoutOf(const std::string& name);

    static constexpr int kClientWidth = 3750;
    static constexpr int kClientHeight = 7650;
};

} // namespace tabbern
