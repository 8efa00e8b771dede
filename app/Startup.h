// The start-up sequence: the main window's load handler.
#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace tabbern {

struct App;
class Platform;

// Runs the whole start-up sequence; may end the process (already-running question refused,
// damaged data file not replaced).
void MainForm_Load(App& app);

// The individual steps, in order, for the tests and for the data-folder change.
void ApplyCommandLineSwitches(App& app);
void SetFoldersAndConstants(App& app);
void CheckAlreadyRunning(App& app);
void ResolveDataFolder(App& app);
void SetRemainingConstants(App& app);
void ApplyStartMinimised(App& app);
void LoadStoreAtStartup(App& app);
void FillListAtStartup(App& app);
void PlaceMainWindow(App& app);

// Where a window is put so that a person can reach it: where it stands when enough of its
// title bar lies on one of the areas (or when there are none), otherwise moved into the
// nearest area, its top-left corner first when it is larger than the area.
ScreenArea ReachablePlace(const ScreenArea& window, const std::vector<ScreenArea>& areas);

// A folder as the program keeps it: trimmed, one trailing separator removed when present; an
// empty result stands for the platform's program folder.
std::string StripTrailingSeparator(const std::string& folder);

// The file-exists test: a file of that name in the folder, not hidden or system. A folder that
// does not exist is a file error.
bool FileExists(App& app, const std::string& folder, const std::string& name);

// Writes a one-line text file (created or emptied), e.g. a marker.
void WriteOneLineFile(const std::string& path, const std::string& line);
// The same for a marker, which says something only while the program runs: not flushed to disk.
void WriteMarkerFile(const std::string& path, const std::string& line);

} // namespace tabbern
