// Check Links In Selected Group: the command, its results window, the remembered results in
// the data folder, and the line they add to the main window's details. A check only reads the
// bookmarks; nothing of the data files is ever changed by it.
#pragma once

#include "checking/CheckFile.h"
#include "checking/LinkCheck.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tabbern {

struct App;

// A bookmark of the list a check began with.
struct LinkCheckTarget {
    std::string name;
    std::string group;
    std::string url;     // as the bookmark holds it
    std::string address; // as it is asked for: with its scheme
};

// The check now running or last run, and the remembered results of the data folder shown.
struct LinkCheckSession {
    LinkCheckLimits limits;
    // Now, in seconds since 1970: the date a result is remembered with.
    std::function<std::int64_t()> clock;

    std::unique_ptr<LinkCheck> check;
    std::vector<LinkCheckTarget> targets;
    std::vector<LinkCheckTarget> problems; // the results list's rows, in order
    std::vector<CheckLine> unwritten;      // results not yet in the file
    std::string filePath;                  // the file of the data folder the check began in
    int checkedBookmarks = 0;

    std::string recordsFolder; // the data folder whose file `records` holds
    bool recordsRead = false;
    CheckRecords records;
};

void menuchecklinks_Click(App& app);
// Cancel while the check runs, Close afterwards.
void frmCheckLinks_Command1_Click(App& app);
// The close box and Escape: the check stops and the window goes.
void frmCheckLinks_cmdCloseBox_Click(App& app);
// Selects the row's bookmark in the main window, its group chosen first.
void frmCheckLinks_List1_DblClick(App& app);
// An answer from the window system's fetcher.
void CheckLinks_Answer(App& app, const FetchAnswer& answer);
// Stops a running check and remembers what it found; for the end of the program.
void StopLinkCheck(App& app);

// The "Last checked" line of the main window's details, for the selected bookmark.
void ShowLastChecked(App& app);

void WireCheckingHandlers(App& app);

} // namespace tabbern
