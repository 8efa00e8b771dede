#include "platform/win32/Text.h"

#include <windows.h>

#include <cwctype>

namespace tabbern::win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

AnsiCodePage::AnsiCodePage(unsigned codePage)
    : codePage_(codePage != 0 ? codePage : GetACP()), singleByte_([this] {
          // The ANSI code pages of one byte a character map their upper half beyond ASCII.
          CPINFO info{};
          return GetCPInfo(codePage_, &info) && info.MaxCharSize == 1;
      }()) {}

std::string AnsiCodePage::decode(std::string_view bytes) const {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage_, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage_, 0, bytes.data(), size, wide.data(), n);
    return Narrow(wide);
}

bool AnsiCodePage::encode(std::string_view utf8, std::string& out) const {
    out.clear();
    if (utf8.empty())
        return true;
    // Malformed UTF-8 has no bytes in any code page.
    const int size = static_cast<int>(utf8.size());
    const int wn =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wn <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(wn), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wn);

    // UTF-7 and UTF-8 take neither flag nor the used-default test; they hold every character.
    const bool plain = codePage_ == CP_UTF7 || codePage_ == CP_UTF8;
    const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = plain ? nullptr : &usedDefault;
    const int n = WideCharToMultiByte(codePage_, flags, wide.data(), wn, nullptr, 0, nullptr, used);
    if (n <= 0 || usedDefault)
        return false;
    out.assign(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage_, flags, wide.data(), wn, out.data(), n, nullptr, used);
    return !usedDefault;
}

std::wstring FileDialogFilter(const std::vector<FileFilter>& filters) {
    std::wstring out;
    for (const FileFilter& f : filters) {
        std::wstring pattern = Widen(f.pattern);
        // Blanks around the patterns would be taken as part of the file names.
        while (!pattern.empty() && pattern.front() == L' ')
            pattern.erase(0, 1);
        while (!pattern.empty() && pattern.back() == L' ')
            pattern.pop_back();
        if (pattern.empty())
            pattern = L"*.*";
        std::wstring description = Widen(f.description);
        if (description.empty())
            description = pattern;
        out += description;
        out += L'\0';
        out += pattern;
        out += L'\0';
    }
    out += L'\0';
    return out;
}

std::string QuotedRunCommand(const std::string& command) {
    if (!command.empty() && command.front() == '"')
        return command;
    return '"' + command + '"';
}

std::wstring ArgumentsOf(std::wstring_view commandLine) {
    std::size_t i = 0;
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t'))
        ++i;
    if (i < commandLine.size() && commandLine[i] == L'"') {
        // A quoted program name ends at the next quote.
        const std::size_t close = commandLine.find(L'"', i + 1);
        i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t')
        ++i;
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t'))
        ++i;
    return std::wstring(commandLine.substr(i));
}

int TwipsToPixels(double twips, double twipsPerPixel) {
    if (twipsPerPixel <= 0)
        return 0;
    const double px = twips / twipsPerPixel;
    return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

std::wstring FolderOfPath(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos)
        return {};
    std::wstring folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == L':')
        folder += L'\\';
    return folder;
}

std::wstring BaseNameOfPath(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace tabbern::win32
