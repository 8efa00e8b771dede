// Everything the core asks of the outside world, and nothing else: the desktop's services
// (Platform) and the program's windows (FormHost). The Qt layer implements them for Linux
// desktops, the Win32 layer for Windows, the fake for tests.
//
// All texts are UTF-8. Positions and sizes are twips. File work is done by the core itself
// through the standard library; only what differs between desktops stands here.
#pragma once

#include "platform/LinkFetch.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tabbern {

class Form;
class MenuItem;

enum class MsgButtons { OK, OKCancel, YesNo };
enum class MsgResult { OK, Cancel, Yes, No };

// The answer of a message box closed through its frame (or Escape): the refusing button.
constexpr MsgResult RefusingAnswer(MsgButtons buttons) {
    return buttons == MsgButtons::OK         ? MsgResult::OK
           : buttons == MsgButtons::OKCancel ? MsgResult::Cancel
                                             : MsgResult::No;
}

// A file-type filter of an open or save dialog, e.g. {"Tabbern Files (*.tbn)", "*.tbn"}.
struct FileFilter {
    std::string description;
    std::string pattern; // one or more patterns separated by ';'
};

struct FileDialogRequest {
    std::string title;
    std::string initialDir;
    std::string fileName;
    std::vector<FileFilter> filters;
    int filterIndex = 1; // 1-based, as the filters are numbered
    std::string defaultExt;
};

// A rectangle of the desktop in twips, e.g. the part of one screen that windows may use.
struct ScreenArea {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // ---- program facts ------------------------------------------------------------------
    // The folder that holds the program's own files (settings, data-path file, markers), as
    // the platform reports it, possibly with a trailing separator.
    virtual std::string programFolder() = 0;
    // The base name of the program file, without folder and extension.
    virtual std::string programFileBaseName() = 0;
    // The program's own title.
    virtual std::string programName() = 0;
    // The command line after the program's name, as one text.
    virtual std::string commandLine() = 0;
    // A full command that starts this program (for the start-with-the-session entry).
    virtual std::string programCommand() = 0;
    // Today's date in the user's short date form.
    virtual std::string todayShortDate() = 0;
    // The local date of a moment (seconds since 1970, UTC) in the user's short date form;
    // empty when the system cannot show it.
    virtual std::string shortDateOf(std::int64_t secondsSince1970) = 0;
    // A date in the user's short date form read back: noon of that local day, in seconds since
    // 1970. Nothing when the text is not a date in that form.
    virtual std::optional<std::int64_t> secondsOfShortDate(const std::string& text) = 0;
    // Whether a file counts as hidden or a system file (not listed by the file-exists test).
    virtual bool isHiddenOrSystemFile(const std::string& path) = 0;

    // ---- message boxes and the process ------------------------------------------------
    // A modal message box without an icon. Closing it through its frame answers Cancel or No.
    virtual MsgResult messageBox(const std::string& text, const std::string& title,
                                 MsgButtons buttons) = 0;
    // Ends the process at once: no further events run, nothing else is saved.
    [[noreturn]] virtual void endProcess() = 0;

    // ---- screen, window and desktop -----------------------------------------------------
    virtual double screenWidthTwips() = 0;
    virtual double screenHeightTwips() = 0;
    virtual double twipsPerPixelX() = 0;
    // The work area of every screen now attached (without task bars and panels), the primary
    // one first. Empty when the desktop cannot tell.
    virtual std::vector<ScreenArea> screenWorkAreas() = 0;

    // The status icon in the notification area. Returns false where the desktop has none.
    virtual bool trayAdd(const std::string& tip, int iconResource) = 0;
    virtual void trayRemove() = 0;
    virtual bool trayAvailable() = 0;

    // ---- shell and data exchange --------------------------------------------------------
    // Opens a web address in the default browser. Returns false when nothing was opened.
    virtual bool shellOpen(const std::string& url) = 0;
    virtual std::string clipboardText() = 0;
    // Open and save dialogs: the chosen full path, or empty when cancelled.
    virtual std::string openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::string saveFileDialog(const FileDialogRequest& request) = 0;
    // A modal folder browser: the chosen folder, or empty when cancelled.
    virtual std::string browseForFolder(const std::string& prompt) = 0;

    // The entry that starts a program with the user's desktop session, under a name.
    virtual std::optional<std::string> autostartEntry(const std::string& name) = 0;
    virtual void writeAutostartEntry(const std::string& name, const std::string& command) = 0;
    virtual void removeAutostartEntry(const std::string& name) = 0;

    // Fetches a web address and returns the body as text; any failure, and a body of more than
    // kFetchLimit bytes, returns empty text.
    virtual std::string fetchUrl(const std::string& url) = 0;
    // The fetcher of the link check: one web request at a time, answered later.
    virtual LinkFetcher& linkFetcher() = 0;
};

// The most of a fetched answer that is read: the program fetches one web address at a time.
inline constexpr std::size_t kFetchLimit = 64 * 1024;

// The program's own windows: what the core asks of whatever shows its forms.
class FormHost {
public:
    virtual ~FormHost() = default;

    // Shows a form modally: returns when the form has been hidden again.
    virtual void showModal(Form& form) = 0;
    // Shows a form without waiting (the main window, the rename dialog).
    virtual void showModeless(Form& form) = 0;
    // Hides a form; a modal one returns from showModal.
    virtual void hideForm(Form& form) = 0;
    // Applies the main window's state (normal, minimised, maximised) from its model now, so
    // that the resize handling that follows sees it.
    virtual void applyWindowState(Form& form) = 0;
    virtual void setForeground(Form& form) = 0;
    // Pops up a menu at the mouse position; its commands run before this returns.
    virtual void popupMenu(MenuItem& menu) = 0;
    // Runs a handler that the outside world started rather than the user (an answer from the
    // network) as one event of the program: through the dispatcher, then every window brought up
    // to date.
    virtual void runAsEvent(const std::function<void()>& handler) = 0;
};

// Thrown by a platform whose end of the process a test has replaced, so that the event unwinds
// instead of the test runner ending. Deliberately not a std::exception: nothing in the core
// catches it.
struct ProcessEnded {};

// Ends the process through the platform. The compiler cannot see through the virtual call that
// it never returns, hence the guard after it.
[[noreturn]] inline void EndProcess(Platform& platform) {
    platform.endProcess();
    std::abort();
}

} // namespace tabbern
