// Text at the Win32 boundary: the core speaks UTF-8, the W functions UTF-16.
#pragma once

#include "platform/Platform.h"
#include "store/CodePage.h"

#include <string>
#include <string_view>
#include <vector>

namespace tabbern::win32 {

// UTF-8 to UTF-16 and back. Invalid input sequences become U+FFFD, never an empty result.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's ANSI code page for the data files, through the system's own conversion. A
// character the code page cannot hold exactly (no best-fit stand-ins) makes encode fail, so that
// the file is written as UTF-8 instead.
class AnsiCodePage final : public CodePage {
public:
    // 0 stands for the system's ANSI code page (GetACP).
    explicit AnsiCodePage(unsigned codePage = 0);
    std::string decode(std::string_view bytes) const override;
    bool encode(std::string_view utf8, std::string& out) const override;
    bool singleByte() const override { return singleByte_; }
    unsigned id() const { return codePage_; }

private:
    unsigned codePage_;
    bool singleByte_;
};

// ---- pure helpers, kept apart from the windows so that they can be tested ---------------------

// The filter list of the open and save dialogs: "description\0pattern\0" per filter and one more
// NUL at the end. A filter without a pattern offers every file.
std::wstring FileDialogFilter(const std::vector<FileFilter>& filters);

// A command as the Run value holds it: the program path in quotes, so that a path with blanks
// starts the right program. A command that already starts with a quote is kept as it is.
std::string QuotedRunCommand(const std::string& command);

// The command line without the program's name: the first word (quoted or not) and the blanks
// after it removed.
std::wstring ArgumentsOf(std::wstring_view commandLine);

// Twips to whole pixels, rounded to the nearest pixel (negative positions included).
int TwipsToPixels(double twips, double twipsPerPixel);

// The folder of a program file's path as the program reports it: without the file name and
// without a trailing backslash, except for a drive's root ("C:\").
std::wstring FolderOfPath(std::wstring_view path);
// The file name of a path without its folder and its last extension.
std::wstring BaseNameOfPath(std::wstring_view path);

} // namespace tabbern::win32
