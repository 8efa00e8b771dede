// The main window as a window: the ways the program ends and the exit sequence they share.
#pragma once

namespace tabbern {

struct App;

// Deletes the markers, removes the tray icon, saves the position when asked to, and ends the
// process. Does not return.
[[noreturn]] void ExitSequence(App& app);

// The close box (or the session ending): exit at once, without a question.
[[noreturn]] void MainForm_Unload(App& app);
// Exit from the menu: asks "Exit " + title with Yes and No.
void menuquit_Click(App& app);

} // namespace tabbern
