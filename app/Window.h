// The main window as a desktop window: the tray icon's mouse actions, minimising into the
// notification area and back, and activation.
#pragma once

namespace tabbern {

struct App;

// The mouse actions that the tray icon reports.
inline constexpr int kTrayLeftButtonUp = 514;
inline constexpr int kTrayLeftDoubleClick = 515;
inline constexpr int kTrayRightButtonUp = 517;

// Left release or double-click restores the window; right release pops up the Bookmarks menu.
void TrayIcon_MouseAction(App& app, int action);
// Follows the window's state: minimised writes the minimised marker and hides the window into
// the notification area (where the desktop has one); normal deletes the marker.
void MainForm_Resize(App& app);
void MainForm_Activate(App& app);

// Connects the window events, the Options menu, the data folder label and the Help menu.
void WireDesktopHandlers(App& app);

} // namespace tabbern
