// The low-level file work of the program: whole-file reads, atomic replacement, and the one
// error type for unexpected file-system failures.
#pragma once

#include "platform/os/FileSystem.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tabbern {

// An unexpected file-system failure. The event dispatcher shows it and ends the process.
class FileError : public std::runtime_error {
public:
    FileError(std::string operation, std::string path, std::string reason);
    const std::string& operation() const { return operation_; }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string operation_, path_, reason_;
};

// The path separator of the platform's paths.
inline constexpr char kPathSeparator = os::kPathSeparator;

// folder + separator + name, as every data-file path is formed.
std::string JoinPath(std::string_view folder, std::string_view name);
// A UTF-8 path text as a filesystem path.
std::filesystem::path ToPath(std::string_view utf8);
std::string FromPath(const std::filesystem::path& p);

// True when the folder exists and holds a regular file of that name that the platform does
// not call hidden or system. A missing folder is a FileError ("path not found"), not false.
class Platform;
bool FileExistsIn(Platform& platform, std::string_view folder, std::string_view name);
// The same without asking the platform: any regular file counts, hidden or system too.
bool FileExistsIn(std::string_view folder, std::string_view name);

// The whole file as bytes. Throws FileError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

// Replaces the file with exactly these bytes: writes a temporary file in the same folder,
// flushes it to disk and renames it over the old one. On any failure the old file stays as it
// was, the temporary file is removed, and FileError is thrown. Leftover temporary files of
// earlier interrupted saves of the same file are removed after a successful save.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Deletes a file; a file that does not exist is no error.
void DeleteFileIfExists(const std::string& path);

// True when the name is one of the temporary files that WriteFileAtomically leaves behind when
// it is killed mid-save.
bool IsTemporarySaveFile(std::string_view fileName);

} // namespace tabbern
