#include "platform/os/Autostart.h"

#include "store/FileIo.h"
#include "store/Text.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace tabbern::os {

namespace {

std::string EntryFile(const std::string& name) {
    return AutostartFolder() + "/" + name + ".desktop";
}

// Desktop entry values escape backslashes and control characters; Exec values also double the
// percent sign, which would otherwise start a field code.
std::string EscapeExecValue(const std::string& command) {
    std::string out;
    for (const char c : command) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '%':
            out += "%%";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeExecValue(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const char n = value[++i];
            out += n == 's' ? ' ' : n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
        } else if (c == '%' && i + 1 < value.size() && value[i + 1] == '%') {
            out += c;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string TrimSpace(const std::string& s) {
    const std::size_t start = s.find_first_not_of(" \t\r");
    if (start == std::string::npos)
        return {};
    return s.substr(start, s.find_last_not_of(" \t\r") - start + 1);
}

} // namespace

std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value && *value == '/')
        return std::filesystem::path(value).lexically_normal().string();
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + fallbackUnderHome;
}

std::string AutostartFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config") + "/autostart";
}

std::optional<std::string> AutostartEntry(const std::string& name) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(EntryFile(name));
    } catch (const FileError&) {
        return std::nullopt;
    }
    std::istringstream in(bytes);
    bool inMainGroup = false;
    bool disabled = false;
    std::string exec;
    for (std::string line; std::getline(in, line);) {
        line = TrimSpace(line);
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inMainGroup || eq == std::string::npos)
            continue;
        const std::string key = TrimSpace(line.substr(0, eq));
        const std::string value = TrimSpace(line.substr(eq + 1));
        if (key == "Exec")
            exec = UnescapeExecValue(value);
        // Both ways a desktop switches an entry off mean that nothing starts.
        else if ((key == "Hidden" && value == "true") ||
                 (key == "X-GNOME-Autostart-enabled" && value == "false"))
            disabled = true;
    }
    if (disabled || TrimSpace(exec).empty())
        return std::nullopt;
    return exec;
}

void WriteAutostartEntry(const std::string& name, const std::string& command) {
    std::error_code ec;
    std::filesystem::create_directories(AutostartFolder(), ec);
    try {
        WriteFileAtomically(EntryFile(name), "[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Name=" +
                                                 name +
                                                 "\n"
                                                 "Comment=Starts " +
                                                 name +
                                                 " with the desktop session\n"
                                                 "Exec=" +
                                                 EscapeExecValue(command) +
                                                 "\n"
                                                 "Terminal=false\n"
                                                 "X-GNOME-Autostart-enabled=true\n");
    } catch (const FileError&) {
    }
}

void RemoveAutostartEntry(const std::string& name) {
    std::error_code ec;
    std::filesystem::remove(EntryFile(name), ec);
}

} // namespace tabbern::os
