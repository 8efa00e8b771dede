// The three option toggles of the Options menu that the settings record keeps.
#pragma once

namespace tabbern {

struct App;

// Start minimised from the next start on; the window itself stays as it is.
void menuloadminimized_Click(App& app);
// Keep the sort choice across refills and starts; the list is not re-sorted now.
void menuremembersortchoices_Click(App& app);
// Store the window's present position now (ticked) or forget it (unticked).
void menuscreenlocation_Click(App& app);

} // namespace tabbern
