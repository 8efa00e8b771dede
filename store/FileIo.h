// The low-level file work of the program: whole-file reads, atomic replacement, and the one
// error type for unexpected file-system failures.
#pragma once

#include "platform/os/FileSystem.h"

#include <cstddef>
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

// The most ReadFileBytes reads of a file unless told otherwise: far more than any data,
// settings or share file holds, even one with a damaged line of many megabytes, and little
// enough for a 32-bit process to hold a few copies of.
inline constexpr std::size_t kFileReadLimit = 128u << 20;

// The reason given for a file or line larger than a reader takes, naming the limit.
std::string TooLargeReason(std::string_view what, std::size_t limit);

// The whole file as bytes. Throws FileError when it cannot be opened or read, or when it holds
// more than `limit` bytes (then nothing beyond the limit is read).
std::string ReadFileBytes(const std::string& path, std::size_t limit = kFileReadLimit);

// A file read in pieces, for readers that must not hold a whole file. Throws FileError as
// ReadFileBytes does.
class FileReader {
public:
    explicit FileReader(std::string path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Appends up to n bytes to `out`; the count, 0 at the end of the file.
    std::size_t readInto(std::string& out, std::size_t n);
    // Back to the first byte.
    void rewind();
    // The file's size as the system gives it now; 0 when it cannot tell.
    std::size_t size() const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

// Replaces the file with exactly these bytes: writes a temporary file in the same folder,
// flushes it to disk and renames it over the old one. On any failure the old file stays as it
// was, the temporary file is removed, and FileError is thrown. Leftover temporary files of
// earlier interrupted saves of the same file are removed after a successful save.
//
// A marker file (the running and minimised markers) only says something while the program
// runs: it is written with `durable` false, in one step all the same, without waiting for the
// disk, which would cost every start-up several flushes.
void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable = true);

// Removes what interrupted saves of the file left behind, as a successful save does; for a
// save that is skipped because the file already holds what it would write.
void RemoveLeftoverTemporaries(const std::string& path);

// Deletes a file; a file that does not exist is no error.
void DeleteFileIfExists(const std::string& path);

// True when the name is one of the temporary files that WriteFileAtomically leaves behind when
// it is killed mid-save.
bool IsTemporarySaveFile(std::string_view fileName);

} // namespace tabbern
