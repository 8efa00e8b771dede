#include "ui/AboutHelp.h"

#include "app/App.h"
#include "editing/Editing.h"
#include "store/Text.h"

#include <initializer_list>

namespace tabbern {

namespace {

// Joins lines into one text, each line ended by CR LF, as the windows show multi-line text.
std::string CrLfLines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace

AboutForm::AboutForm() : Form("frmAbout") {
    setVisible(false);
    cmdOK.setCaption("OK");
    cmdOK.setToolTip(" Close About Screen ");
    Label2.setCaption(TABBERN_WEBSITE_HOST);
}

std::vector<Control*> AboutForm::allControls() {
    return {&lblTitle, &lblDescription, &lblDisclaimer, &Label2, &cmdOK, &Line1, &Line2};
}

HelpForm::HelpForm() : Form("frmHelp") {
    setVisible(false);
    setCaption("Tabbern Help");
    Text1.setText(HelpText());
    // The document is the window: it goes by the window's title.
    Text1.setAccessibleName(caption());
}

std::vector<Control*> HelpForm::allControls() {
    return {&Text1, &Command1};
}

std::string AboutDescription() {
    std::string text =
        "The Tabbern allows you to easily access your bookmarks and favorite websites "
        "directly from your desktop, \r\n";
    text += "without being forced to use a specific browser.\r\n\r\n";
    text += CrLfLines({
        "* Use multiple website browsers on the same computer. ",
        "* Easily share your bookmarks on different computers . ",
        "* Share your bookmarks across drives and networks. ",
        "* Group your bookmarks for better organization. ",
        "* Sort your bookmarks for easier access and viewing. ",
    });
    return text;
}

std::string AboutDisclaimer() {
    return "This program is provided as is, without warranty of any kind.";
}

std::string HelpText() {
    return CrLfLines({
        "Tabbern keeps your web bookmarks on your desktop, outside any web browser, so that every "
        "browser on this computer can use the same set. Choose a group under My Groups to see its "
        "bookmarks, double-click a bookmark to open it in your default browser, and use the menus "
        "to add, change, share and sort your bookmarks.",
        "",
        "Bookmarks->Add A Bookmark:",
        "Opens a window in which you type the name of the new bookmark, pick or type its group and "
        "enter its URL link. When the clipboard holds a web address it is already filled in. The "
        "group shown in the main window is preselected; a bookmark saved without a group goes into "
        "a group named \"Misc - \" and today's date. A URL without \"http://\", \"https://\" or "
        "\"www.\" in front gets \"www.\" put in front of it.",
        "",
        "Bookmarks->Edit Selected Bookmark:",
        "Opens the bookmark selected in the list so that you can change its name, group or URL "
        "link.",
        "",
        "Bookmarks-> Delete Selected Bookmark:",
        "Deletes the bookmark selected in the list after asking you first. Every stored bookmark "
        "with the same name, group and URL link is deleted with it.",
        "",
        "Bookmarks->Sort By:",
        "Sorts the list by bookmark name, URL link address, date added or date last accessed. "
        "Bookmarks without a value for the chosen order come first.",
        "",
        "Bookmarks->Exit:",
        "Asks whether you want to leave Tabbern and ends it when you answer Yes. Closing the main "
        "window ends Tabbern without asking. The Bookmarks menu also opens when you click the "
        "Tabbern icon in the notification area with the right mouse button.",
        "",
        "Groups->Add Group Below:",
        "Type the name of a new group into the box under My Groups, then choose this command or "
        "press Enter. The name <All Groups> is reserved.",
        "",
        "Groups->Edit Selected Group:",
        "Gives the group shown under My Groups a new name. Its bookmarks move to the new name with "
        "it.",
        "",
        "Groups->Delete Selected Group:",
        "Deletes the group shown under My Groups after asking you first. You then choose whether "
        "the bookmarks of that group are deleted too or kept.",
        "",
        "Groups->Check Links In Selected Group:",
        "Asks the web server of every bookmark in the group shown under My Groups, or of every "
        "bookmark under All Groups, whether the page is still there. A window shows how far the "
        "check has come and lists the bookmarks that need a look: pages not found, pages that "
        "have moved, servers that do not answer. Double-click one to select it in the list. You "
        "can go on working meanwhile, and Cancel stops the check. Nothing is changed or deleted; "
        "the details under the list show when a bookmark was last checked and what came of it.",
        "",
        "Share->Import From A Text File:",
        "Looks for web links in any text file, for example a saved web page or a list of notes. "
        "The links found are listed for you to confirm, then you give each link a name and a group "
        "or skip it.",
        "",
        "Share->Import From The Windows Clipboard:",
        "Makes a bookmark of the web address you copied to the clipboard of your desktop. You "
        "give it a name and a group before it is stored.",
        "",
        "Share->Import From A Tabbern File:",
        "Reads a Tabbern share file (.tbn), lists the bookmarks it holds and adds them to yours "
        "when you confirm. Bookmarks you already have are not looked for: importing a file twice "
        "adds its bookmarks twice.",
        "",
        "Share->Export Group To A Tabbern File:",
        "Writes the bookmarks of the group shown under My Groups, or of All Groups, into a Tabbern "
        "share file (.tbn) that another Tabbern can import.",
        "",
        "Options->Remember Sort Choices:",
        "When ticked, the list keeps the order you last chose under Sort By, also the next time "
        "Tabbern starts.",
        "",
        "Options->Remember Screen Location:",
        "When ticked, Tabbern stores where the main window stands when it ends and opens it there "
        "the next time. When not ticked, the window opens in the middle of the screen.",
        "",
        "Options->Start When Windows Starts:",
        "When ticked, Tabbern starts by itself each time you log in to your desktop session. On "
        "Linux this is an autostart entry named Tabbern in ~/.config/autostart.",
        "",
        "Options->Start Tabbern Minimized:",
        "When ticked, Tabbern starts minimised from then on: only its icon in the notification "
        "area shows. Click the icon to bring the window back. On a desktop without a "
        "notification area the window starts minimised in the task bar instead.",
        "",
        "Options->Change Path For Data Files:",
        "Lets you choose the folder that holds your bookmark file (tabbern.dat) and your group "
        "file (tabbern.grp), for example a folder on another drive or on a network share, so "
        "that several computers or users work on one set of bookmarks. A folder without these "
        "files gets new, empty ones. Tabbern remembers the folder for the next start. "
        "Double-clicking the folder shown at the top of the main window does the same.",
        "",
        "Help->About Tabbern:",
        "Shows the version of Tabbern. Click its title or the web address to visit the Tabbern "
        "web site.",
        "",
        "Help->Tabbern Help:",
        "Shows this help.",
        "",
        "Help->Tabbern Website:",
        "Opens the Tabbern web site in your default browser.",
        "",
        "My Groups List:",
        "Choose a group to list only its bookmarks, or All Groups to list every bookmark. This is "
        "also where you type the name of a group to add.",
        "",
        "Bookmark List:",
        "Shows the bookmarks of the chosen group. Click a bookmark to see its details below the "
        "list; double-click it to open it in your default browser.",
        "",
        "Find:",
        "Type the name of a bookmark into the box at the bottom and press Enter or the button "
        "beside it. The first listed bookmark with exactly that name is selected; letter case and "
        "surrounding blanks do not matter. Only the bookmarks of the chosen group are searched.",
        "",
        "Data Path Window:",
        "The line across the top of the main window shows the folder your bookmarks are kept in. "
        "Double-click it to choose another folder.",
        "",
        "Last Accessed:",
        "The date on which the selected bookmark was last opened from Tabbern.",
        "",
        "URL Link:",
        "The web address of the selected bookmark. Double-click it to open the bookmark.",
        "",
        "Group:",
        "The group of the selected bookmark.",
        "",
        "Notes:",
        "Bookmarks may share the same name, the same group or the same URL link; the name, the "
        "group and the URL link together make up one unique bookmark. Bookmark names and URL "
        "links are case sensitive. Tabbern opens only web addresses in the browser.",
        "",
        "Backups:",
        "Back up the Tabbern program folder, which holds your settings and the choice of data "
        "folder, and the .dat files of every data folder you use. On Linux the program folder is "
        "~/.local/share/tabbern unless Tabbern runs as a portable copy from its own folder.",
        "",
        "Damaged Data Files:",
        "When a data file does not begin as Tabbern writes it, Tabbern asks at start-up whether "
        "to replace it by a new, blank one. Before it does, it keeps the damaged file's contents "
        "beside it in the data folder, as tabbern.dat.bad (or tabbern.grp.bad for the group "
        "file; tabbern.dat.bad2 and so on when an earlier copy is there), so that nothing is "
        "lost and the bookmarks can be recovered from it by hand.",
    });
}

std::string ProductRedirectAddress() {
    return std::string("http://") + TABBERN_WEBSITE_HOST + "/linkto/tabbern/url.txt";
}

void OpenProductWebsite(App& app) {
    const std::string fetched = app.platform.fetchUrl(ProductRedirectAddress());
    if (IsBlank(fetched))
        return;
    // A text file ends in a line break, which is no part of the address.
    const std::string page = Trim(fetched.substr(0, fetched.find_last_not_of("\r\n") + 1));
    const std::string address = page + "?ID=" + app.versionText;
    // Whatever the server sends must not reach the desktop's opener unless it is a web address:
    // the opener would start a program or open a local file as readily as a page.
    if (!IsWebAddress(address)) {
        app.platform.messageBox(app.programName + " Opens Only Web Addresses:\r" + address,
                                app.appTitle, MsgButtons::OK);
        return;
    }
    app.platform.shellOpen(BrowserAddress(address));
}

void menuabout_Click(App& app) {
    app.forms.showModal(app.frmAbout);
}

void helpdocument_Click(App& app) {
    app.forms.showModal(app.frmHelp);
}

void menutabbernwebsite_Click(App& app) {
    OpenProductWebsite(app);
}

void frmAbout_cmdOK_Click(App& app) {
    app.forms.hideForm(app.frmAbout);
}

void frmHelp_Command1_Click(App& app) {
    app.forms.hideForm(app.frmHelp);
}

void WireAboutHelpHandlers(App& app) {
    MainForm& m = app.main;
    m.menuabout.onClick = [&app] { menuabout_Click(app); };
    m.helpdocument.onClick = [&app] { helpdocument_Click(app); };
    m.menutabbernwebsite.onClick = [&app] { menutabbernwebsite_Click(app); };
    app.frmAbout.lblTitle.onClick = [&app] { OpenProductWebsite(app); };
    app.frmAbout.Label2.onClick = [&app] { OpenProductWebsite(app); };
    app.frmAbout.cmdOK.onClick = [&app] { frmAbout_cmdOK_Click(app); };
    app.frmHelp.Command1.onClick = [&app] { frmHelp_Command1_Click(app); };
}

} // namespace tabbern
