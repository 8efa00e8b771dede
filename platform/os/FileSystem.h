// The few operating-system calls that the core's file code (store/FileIo.cpp) needs, as free
// functions with one implementation per system: posix/FileSystem.cpp and win32/FileSystem.cpp.
// Standard C++ only in this header, so that the core can include it.
//
// The calls work on the C runtime's unbuffered descriptors, which give errno reasons and a flush
// to disk on both systems where the standard streams do not. As with the C runtime, a failure
// answers a negative or non-zero value and leaves its reason in errno.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace tabbern::os {

// The path separator of the system's paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Opens an existing file for reading; a descriptor, or -1.
int OpenForReading(const std::filesystem::path& p);
// Creates a file that must not exist yet (EEXIST when it does) for writing; a descriptor, or -1.
int CreateNew(const std::filesystem::path& p);

// Reads or writes at most n bytes (less on large requests); the count, 0 at the end of the file
// when reading, or -1.
std::ptrdiff_t ReadSome(int fd, char* buf, std::size_t n);
std::ptrdiff_t WriteSome(int fd, const char* buf, std::size_t n);

// Lets the system back a buffer of many megabytes, not yet written to, with large pages where it
// has them: the first write then costs a few page faults instead of one every 4 KB. Only a hint;
// nothing happens where the system has no such pages.
void AdviseLargeBuffer(char* data, std::size_t size);

// Returns only once the file's bytes are on disk; 0 or -1.
int FlushToDisk(int fd);
// 0 or -1.
int CloseFile(int fd);

unsigned long ProcessId();

// Gives a new file the permissions of the file it is about to replace, when the system keeps them
// with the file rather than taking them from the folder. Best effort.
void TakePermissionsOf(const std::filesystem::path& replaced, int fd);

// Puts the file `from` in the place of `to` in one step, replacing it, and returns only once the
// rename is on disk. Empty text, or the system's reason why not.
// Without `durable` the rename may reach the disk later, as for a marker file that only says
// something while the program runs.
std::string MoveOver(const std::filesystem::path& from, const std::filesystem::path& to,
                     bool durable = true);

} // namespace tabbern::os
