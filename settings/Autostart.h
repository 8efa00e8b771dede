// Starting the program with the user's desktop session: one entry under the program's name,
// kept by the desktop, whose presence is the option's only store.
#pragma once

#include <string>

namespace tabbern {

struct App;

// True when an entry under the program's name exists, wherever it points.
bool CheckForStartupKey(App& app);
// Writes the entry `name` that starts `command`.
void RunAtStartup(App& app, const std::string& name, const std::string& command);
// Removes the entry `name`; a missing entry is no error.
void RemoveFromStartup(App& app, const std::string& name);
// Ticks the item and writes the entry, or unticks it and removes the entry. Nothing is read
// back: the tick follows the click even when the desktop refused the change.
void menustartwhenwindowsstarts_Click(App& app);

} // namespace tabbern
