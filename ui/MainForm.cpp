#include "ui/MainForm.h"

#include <array>
#include <utility>

namespace tabbern {

namespace {

struct Placement {
    const char* name;
    TwipRect rect;
};

// The window as designed, in twips within the client area.
constexpr std::array<Placement, 13> kLayout{{
    {"Picture1", {-120, 0, 3975, 8655}},
    {"lblAltDatapath", {-120, 6, 3975, 225}},
    {"Label1", {360, 480, 915, 255}},
    {"Combo1", {360, 720, 3015, 315}},
    {"List1", {360, 1080, 3015, 5130}},
    {"TextNameSearch", {330, 6240, 2295, 285}},
    {"Command2", {2700, 6270, 690, 300}},
    {"LabelLastAccessed", {360, 6600, 1575, 165}},
    {"lblDateAccessed", {1725, 6600, 1215, 165}},
    {"Label2", {360, 6840, 495, 255}},
    {"lblWhatGroup", {960, 6840, 2280, 255}},
    {"LabelShowURLAddress", {360, 7080, 2970, 195}},
    // Added below the designed rows, which the window grew by one for.
    {"lblLastChecked", {360, 7320, 2970, 195}},
}};

} // namespace

MainForm::MainForm() : Form("frmMain") {
    setClientSize(kClientWidth, kClientHeight);
    // The outer size with frame and menu bar as designed; the view reports the real one.
    setSize(kClientWidth + 120, kClientHeight + 690);
    setVisible(false);
    for (ListBox* hidden : {&List2, &List3, &List4, &List5, &List6})
        hidden->setVisible(false);
    Combo1.setLabel(Label1);

    const std::pair<MenuItem*, const char*> captions[] = {
        {&menunames, "&Bookmarks"},
        {&menuaddname, "&Add A Bookmark"},
        {&menunamesedit, "&Edit Selected Bookmark"},
        {&menunamesdelete, "&Delete Selected Bookmark"},
        {&menusortby, "&Sort By"},
        {&menusortbyname, "&Bookmark Name"},
        {&menusortbyurl, "&URL Link Address"},
        {&menusortbydateadded, "&Date Added"},
        {&menulastaccessed, "&Date Last Accessed"},
        {&menuquit, "E&xit"},
        {&menugroup, "&Groups"},
        {&menuaddgroup, "&Add Group Below"},
        {&menueditselectedgroup, "&Edit Selected Group"},
        {&menudeletegroup, "&Delete Selected Group"},
        {&menuchecklinks, "Check &Links In Selected Group"},
        {&menushare, "&Share"},
        {&menuimportfromtextfile, "Import From A &Text File"},
        {&menuimportfromclipboard, "Import From The Windows &Clipboard"},
        {&menuimportfromtabbernfile, "Import From A &Tabbern File"},
        {&menuexporttotabbernfile, "&Export Group To A Tabbern Data File"},
        {&menuimportfrombrowserfile, "Import From A &Browser Bookmarks File"},
        {&menuexporttobrowserfile, "Export To A &Web Browser Bookmarks File"},
        {&menuoptions, "&Options"},
        {&menuremembersortchoices, "Remember Sort &Choices"},
        {&menuscreenlocation, "Remember Screen &Location"},
        {&menustartwhenwindowsstarts, "&Start When Windows Starts"},
        {&menuloadminimized, "Start Tabbern &Minimized"},
        {&menusetdata, "Change &Path For Data Files"},
        {&menuhelp, "&Help"},
        {&menuabout, "&About Tabbern"},
        {&helpdocument, "Tabbern &Help"},
        {&menutabbernwebsite, "Tabbern &Website"},
    };
    for (const auto& [item, caption] : captions)
        item->setCaption(caption);

    menusortby.children = {&menusortbyname, &menusortbyurl, &menusortbydateadded,
                           &menulastaccessed};
    menunames.children = {&menuaddname, &menunamesedit, &menunamesdelete,
                          &menusortby,  nullptr,        &menuquit};
    menugroup.children = {&menuaddgroup, &menueditselectedgroup, &menudeletegroup, nullptr,
                          &menuchecklinks};
    menushare.children = {&menuimportfromtextfile,
                          &menuimportfromclipboard,
                          &menuimportfromtabbernfile,
                          &menuexporttotabbernfile,
                          nullptr,
                          &menuimportfrombrowserfile,
                          &menuexporttobrowserfile};
    menuoptions.children = {&menuremembersortchoices, &menuscreenlocation,
                            &menustartwhenwindowsstarts, &menuloadminimized, &menusetdata};
    menuhelp.children = {&menuabout, &helpdocument, &menutabbernwebsite};
    menuBar = {&menunames, &menugroup, &menushare, &menuoptions, &menuhelp};
}

std::vector<Control*> MainForm::allControls() {
    std::vector<Control*> all = {
        &Picture1,        &lblAltDatapath, &Label1,       &Combo1,
        &List1,           &TextNameSearch, &Command2,     &LabelLastAccessed,
        &lblDateAccessed, &Label2,         &lblWhatGroup, &LabelShowURLAddress,
        &lblLastChecked,  &List2,          &List3,        &List4,
        &List5,           &List6};
    // Menus depth first, in the order they appear.
    auto addMenu = [&all](auto& self, MenuItem* m) -> void {
        all.push_back(m);
        for (MenuItem* c : m->children)
            if (c)
                self(self, c);
    };
    for (MenuItem* m : menuBar)
        addMenu(addMenu, m);
    return all;
}

const TwipRect* MainForm::layoutOf(const std::string& name) {
    for (const Placement& p : kLayout)
        if (name == p.name)
            return &p.rect;
    return nullptr;
}

} // namespace tabbern
