// Choosing the folder that holds the bookmark store file and the group file.
#pragma once

#include <string>

namespace tabbern {

struct App;

// The folder browser: the chosen folder, or empty text when the user cancelled.
std::string BrowseForDataFolder(App& app, const std::string& prompt);

// Asks for a folder, reloads everything from it and remembers it in the data-path file.
// Cancelling changes nothing.
void menusetdata_Click(App& app);
// A double-click on the data folder shown across the top of the main window does the same.
void lblAltDatapath_DblClick(App& app);

// Shows the data folder in the label across the top of the main window.
void ShowDataFolder(App& app);

} // namespace tabbern
