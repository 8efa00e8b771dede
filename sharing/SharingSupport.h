// Helpers shared by the imports and the export; not part of the program's interface.
#pragma once

#include <string>
#include <vector>

namespace tabbern {

struct App;
struct FileDialogRequest;
class FileError;

// "Cannot Read The File:" (or Write), the path and the system's reason, with an OK button.
void SayCannotRead(App& app, const std::string& path, const FileError& e);
void SayCannotWrite(App& app, const std::string& path, const FileError& e);

// What an import of a whole file says when the store has no room for all of it.
std::string LimitMessage(const App& app, int freeCapacity);

// The start of every export: a group shown and bookmarks stored, else the user is told; then
// the file the user chooses in the save dialog. Empty when there is nothing to write or the
// dialog was cancelled.
std::string AskExportPath(App& app, const FileDialogRequest& request);

// The group of a bookmark that was given none: "Misc - " and today's date.
std::string MiscGroup(App& app);

// After the clipboard and text-file imports: the group file read back with the groups the new
// records use, the group selector refilled and its first entry selected, the details shown.
void RefreshGroupsAfterImport(App& app);

} // namespace tabbern
