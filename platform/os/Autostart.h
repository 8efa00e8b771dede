// The entry that starts a program with the user's desktop session on Linux desktops: an XDG
// autostart entry, $XDG_CONFIG_HOME/autostart/<name>.desktop. Plain files, no window system.
#pragma once

#include <optional>
#include <string>

namespace tabbern::os {

// An XDG base folder: the variable when it holds an absolute path (relative ones are to be
// ignored), otherwise the default under the home folder.
std::string XdgFolder(const char* variable, const char* fallbackUnderHome);
// The folder of XDG autostart entries.
std::string AutostartFolder();

// The command of the entry, or nothing when there is none or it starts nothing (switched off,
// or without a command).
std::optional<std::string> AutostartEntry(const std::string& name);
// Like the other desktops' start-up lists, a failure here is not reported: the entry is simply
// absent at the next start.
void WriteAutostartEntry(const std::string& name, const std::string& command);
void RemoveAutostartEntry(const std::string& name);

} // namespace tabbern::os
