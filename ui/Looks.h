// The pictures and colours that start-up gives the main window and the dialogs.
#pragma once

namespace tabbern {

struct App;

void SetLooks(App& app);

} // namespace tabbern
