#include "app/Dispatch.h"

#include "app/App.h"
#include "store/FileIo.h"

#include <exception>
#include <new>

namespace tabbern {

std::string FileErrorMessage(const FileError& e) {
    // Made from the parts rather than what(): a C string would end at a NUL byte in the path.
    return e.operation() + " \"" + e.path() + "\": " + e.reason();
}

void Dispatch(App& app, const std::function<void()>& handler) {
    std::string message;
    try {
        handler();
        return;
    } catch (const FileError& e) {
        message = FileErrorMessage(e);
    } catch (const std::bad_alloc&) {
        message = "There is not enough memory to continue.";
    } catch (const std::exception& e) {
        message = std::string("An unexpected error occurred: ") + e.what();
    }
    // The state in memory may no longer match the files: end rather than carry on and write it.
    app.platform.messageBox(message, app.appTitle, MsgButtons::OK);
    // This copy is ending, so the next start need not ask whether one is still running.
    if (app.runningMarkerWritten) {
        try {
            DeleteFileIfExists(app.programFile(app.runningMarkerName));
        } catch (const std::exception&) {
            // The same failing folder, most likely: the next start asks, as after a crash.
        }
    }
    EndProcess(app.platform);
}

} // namespace tabbern
