// The captions and tooltips that start-up builds from the item noun and the application title.
#pragma once

namespace tabbern {

struct App;

void SetInterfaceTexts(App& app);

} // namespace tabbern
