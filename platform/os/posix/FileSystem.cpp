#include "platform/os/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tabbern::os {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 30;

// Makes the rename itself durable. Best effort: some file systems refuse to sync a folder.
void SyncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    (void)::close(fd);
}

} // namespace

int OpenForReading(const fs::path& p) {
    return ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
}

int CreateNew(const fs::path& p) {
    return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

std::ptrdiff_t ReadSome(int fd, char* buf, std::size_t n) {
    return ::read(fd, buf, std::min(n, kChunk));
}

void AdviseLargeBuffer(char* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    // Only whole large pages inside the buffer: the advice covers the pages it names.
    constexpr std::uintptr_t kLargePage = 2u << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (start + size) & ~(kLargePage - 1);
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

std::ptrdiff_t WriteSome(int fd, const char* buf, std::size_t n) {
    return ::write(fd, buf, std::min(n, kChunk));
}

int FlushToDisk(int fd) {
    return ::fsync(fd);
}

int CloseFile(int fd) {
    return ::close(fd);
}

unsigned long ProcessId() {
    return static_cast<unsigned long>(::getpid());
}

// A replacement keeps the permission bits of the file it replaces.
void TakePermissionsOf(const fs::path& replaced, int fd) {
    struct stat st {};
    if (::stat(replaced.c_str(), &st) == 0)
        (void)::fchmod(fd, st.st_mode & 07777);
}

// Renames over the target, then makes the rename durable.
std::string MoveOver(const fs::path& from, const fs::path& to, bool durable) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec)
        return ec.message();
    if (durable)
        SyncFolder(to.parent_path());
    return {};
}

} // namespace tabbern::os
