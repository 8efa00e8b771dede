// Every user event enters the core through Dispatch. An unexpected file-system failure, or any
// other unexpected error, is shown in a message box titled with the application title, and the
// process ends; expected conditions are answered by the handlers with the program's messages.
#pragma once

#include <functional>
#include <string>

namespace tabbern {

struct App;
class FileError;

void Dispatch(App& app, const std::function<void()>& handler);

// The text shown for an unexpected file error: what failed, the path and the system's reason.
std::string FileErrorMessage(const FileError& e);

} // namespace tabbern
