#include "platform/os/FileSystem.h"

#include <algorithm>
#include <system_error>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

namespace fs = std::filesystem;

namespace tabbern::os {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 30;

} // namespace

int OpenForReading(const fs::path& p) {
    return ::_wopen(p.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int CreateNew(const fs::path& p) {
    return ::_wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

std::ptrdiff_t ReadSome(int fd, char* buf, std::size_t n) {
    return ::_read(fd, buf, static_cast<unsigned>(std::min(n, kChunk)));
}

void AdviseLargeBuffer(char*, std::size_t) {
    // Large pages need a privilege that ordinary users lack: nothing to advise.
}

std::ptrdiff_t WriteSome(int fd, const char* buf, std::size_t n) {
    return ::_write(fd, buf, static_cast<unsigned>(std::min(n, kChunk)));
}

int FlushToDisk(int fd) {
    return ::_commit(fd);
}

int CloseFile(int fd) {
    return ::_close(fd);
}

unsigned long ProcessId() {
    return static_cast<unsigned long>(::_getpid());
}

// Nothing to copy: a new file takes the permissions its folder passes on, as the old one did.
void TakePermissionsOf(const fs::path&, int) {}

// Write-through returns only once the rename is on disk. No copy allowed: a copy is not atomic.
// A virus scanner or indexer that opened the new file a moment ago may hold up the rename
// briefly, so those refusals are tried again for a little while.
std::string MoveOver(const fs::path& from, const fs::path& to, bool durable) {
    // A file marked read-only is not replaced. Windows' own file systems refuse it anyway; some
    // network shares would not, and the answer must not depend on where the data folder is.
    const DWORD targetAttrs = ::GetFileAttributesW(to.c_str());
    if (targetAttrs != INVALID_FILE_ATTRIBUTES && (targetAttrs & FILE_ATTRIBUTE_READONLY) != 0)
        return std::system_category().message(ERROR_ACCESS_DENIED);
    DWORD err = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(),
                          MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0)))
            return {};
        err = ::GetLastError();
        if (err != ERROR_SHARING_VIOLATION && err != ERROR_LOCK_VIOLATION &&
            err != ERROR_ACCESS_DENIED)
            break;
        // A read-only file or folder also answers access denied; only a busy one lets go.
        const DWORD attrs = ::GetFileAttributesW(to.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES &&
            (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
            break;
        ::Sleep(20);
    }
    return std::system_category().message(static_cast<int>(err));
}

} // namespace tabbern::os
