// The program's global state: folders, file names, flags, counts, the two tables, the forms,
// and the platform they are shown on. One App lives for the whole run.
#pragma once

#include "checking/CheckLinks.h"
#include "platform/Platform.h"
#include "store/SharedFolder.h"
#include "store/Tables.h"
#include "tabbern/Version.h"
#include "ui/AboutHelp.h"
#include "ui/CheckLinksForm.h"
#include "ui/Dialogs.h"
#include "ui/ImportDialogs.h"
#include "ui/MainForm.h"

#include <concepts>
#include <functional>
#include <string>
#include <vector>

namespace tabbern {

// The host named in the header line of the data files and the share file; fixed for all builds.
inline constexpr const char* kProductHost = TABBERN_PRODUCT_HOST;

struct App {
    App(Platform& p, FormHost& f);
    // A platform that shows the forms itself, as the test double does.
    template <class P>
    requires std::derived_from<P, Platform> && std::derived_from<P, FormHost>
    explicit App(P& p) : App(static_cast<Platform&>(p), static_cast<FormHost&>(p)) {}
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Platform& platform;
    FormHost& forms;

    // Program facts and constants.
    std::string versionText = TABBERN_VERSION_TEXT;
    std::string appTitle = "Tabbern " TABBERN_VERSION_TEXT;
    std::string programName = "Tabbern";
    std::string itemNoun = "Bookmark";
    int bookmarkLimit = 1000;
    int groupLimit = 200;

    // Folders (without a trailing separator) and file names.
    std::string programFolder;
    std::string dataFolder;
    std::string storeFileName = "tabbern.dat";
    std::string groupFileName = "tabbern.grp";
    std::string settingsFileName = "tabbern.cfg";
    std::string dataPathFileName = "tabbern.sdf";
    std::string runningMarkerName = "tabbern.run";
    std::string minimisedMarkerName = "tabbern.min";
    std::string ignoreMarkerName = "tabbern.ign";
    std::string checkFileName = "tabbern.chk";

    // The header line of the store file and of the group file (held once for each).
    std::string storeHeaderLine;
    std::string groupHeaderLine;

    std::string commandLineText;
    std::string currentGroupFilter = "all";

    // Settings mirrored by the settings record.
    int sortChoice = 0;
    int rememberSortFlag = 0;
    int loadMinimisedFlag = 0;
    int rememberLocationFlag = 0;
    std::int32_t savedTop = 0;
    std::int32_t savedLeft = 0;
    int inTrayFlag = 0; // -1 while the main window is hidden in the notification area

    bool trayIconAdded = false;
    std::string trayTip;
    bool runningMarkerWritten = false; // by this copy, which removes it as it ends

    // The tables and their counts.
    BookmarkTable bookmarks;
    GroupTable groups;
    int recordCount = 0;
    int groupCount = 0;
    // Lines of the data files past the limits: not loaded, but written back as they are by
    // every rewrite, so that a file another copy filled beyond the limit loses nothing.
    std::vector<std::string> storeLinesPastLimit;
    std::vector<std::string> groupLinesPastLimit;
    // How the data files looked when this program last read or wrote them.
    DataFileFingerprints fingerprints;

    // Selection globals.
    std::string selectedUrl;
    std::string pendingGroupText;
    bool comboFirstClickDone = false;
    // While code walks the group selector, its clicks set the filter and one refill follows.
    bool listRefillDeferred = false;
    bool listRefillPending = false;
    // Enter in the group selector hands its trimmed text to the group-adding command, which
    // the editing code installs here.
    std::function<void(App&, const std::string&)> addGroupFromSelector;

    MainForm main;
    AddNameForm frmAddName;
    EditNameForm frmEditName;
    EditGroupNameForm frmEditGroupName;
    AboutForm frmAbout;
    HelpForm frmHelp;
    AddConfirmForm frmAddConfirm;
    AssignNameForm frmAssignName;
    CheckLinksForm frmCheckLinks;

    // The link check running or last run, and the remembered results.
    LinkCheckSession linkCheck;

    // Import globals: the answers of the import dialogs, kept from one import to the next.
    bool importConfirmed = false;   // the import button of frmAddConfirm was pressed
    std::string assignedName;       // the trimmed name given to the current link
    std::string assignedGroup;      // the group of the link assigned last
    bool continueImporting = false; // false once the user stopped a text-file import

    // Paths of the files in the program folder and the data folder.
    std::string programFile(const std::string& name) const;
    std::string dataFile(const std::string& name) const;
};

// The header line: the first line of the store file, the group file and the share file.
std::string HeaderLine();

} // namespace tabbern
