#include "store/FileIo.h"

#include "platform/Platform.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tabbern {

namespace {

// ---- the few unbuffered file calls, per platform ---------------------------------------
// The C runtime's descriptors give errno reasons and a flush to disk on both platforms, which
// the standard streams do not.

constexpr std::size_t kChunk = std::size_t{1} << 30;

#ifdef _WIN32
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

// Puts the temporary file in the target's place in one step; empty text or the system's reason.
// Write-through returns only once the rename is on disk. No copy allowed: a copy is not atomic.
// A virus scanner or indexer that opened the new file a moment ago may hold up the rename
// briefly, so those refusals are tried again for a little while.
std::string MoveOver(const fs::path& from, const fs::path& to) {
    // A file marked read-only is not replaced. Windows' own file systems refuse it anyway; some
    // network shares would not, and the answer must not depend on where the data folder is.
    const DWORD targetAttrs = ::GetFileAttributesW(to.c_str());
    if (targetAttrs != INVALID_FILE_ATTRIBUTES && (targetAttrs & FILE_ATTRIBUTE_READONLY) != 0)
        return std::system_category().message(ERROR_ACCESS_DENIED);
    DWORD err = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
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
#else
int OpenForReading(const fs::path& p) {
    return ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
}
int CreateNew(const fs::path& p) {
    return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
std::ptrdiff_t ReadSome(int fd, char* buf, std::size_t n) {
    return ::read(fd, buf, std::min(n, kChunk));
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
void CopyPermissions(const fs::path& from, int toFd) {
    struct stat st {};
    if (::stat(from.c_str(), &st) == 0)
        (void)::fchmod(toFd, st.st_mode & 07777);
}

// Makes the rename itself durable. Best effort: some file systems refuse to sync a folder.
void SyncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    (void)::close(fd);
}

// Renames over the target, then makes the rename durable; empty text or the system's reason.
std::string MoveOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec)
        return ec.message();
    SyncFolder(to.parent_path());
    return {};
}
#endif

std::string ErrnoText(int err) {
    return std::generic_category().message(err);
}

// Writes everything, resuming after short writes and interruptions. Returns 0 or an errno.
int WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// ---- temporary save files: "<name>.~<unique>.tmp" ---------------------------------------

constexpr std::string_view kTempInfix = ".~";
constexpr std::string_view kTempSuffix = ".tmp";

std::string UniquePart() {
    static std::atomic<unsigned long> counter{0};
    unsigned long random = 0;
    try {
        std::random_device rd;
        random = rd();
    } catch (...) {
        random =
            static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    const auto hex = [](unsigned long v) {
        std::string s;
        do {
            s.insert(s.begin(), "0123456789abcdef"[v & 0xF]);
            v >>= 4;
        } while (v != 0);
        return s;
    };
    return hex(ProcessId()) + '-' + hex(++counter) + '-' + hex(random & 0xFFFFFFFFUL);
}

// The name of the file that a temporary save file belongs to, or empty text when the name is
// not one.
std::string_view TargetOfTemporary(std::string_view fileName) {
    if (fileName.size() <= kTempSuffix.size() || !fileName.ends_with(kTempSuffix))
        return {};
    const std::string_view rest = fileName.substr(0, fileName.size() - kTempSuffix.size());
    const auto infix = rest.rfind(kTempInfix);
    if (infix == std::string_view::npos || infix == 0)
        return {};
    const std::string_view unique = rest.substr(infix + kTempInfix.size());
    if (unique.empty() || unique.find_first_not_of("0123456789abcdef-") != std::string_view::npos)
        return {};
    return rest.substr(0, infix);
}

void RemoveLeftoverTemporaries(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string entry = FromPath(it->path().filename());
        if (TargetOfTemporary(entry) != name)
            continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored))
            fs::remove(it->path(), ignored);
    }
}

} // namespace

FileError::FileError(std::string operation, std::string path, std::string reason)
    : std::runtime_error(operation + " \"" + path + "\": " + reason),
      operation_(std::move(operation)), path_(std::move(path)), reason_(std::move(reason)) {}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    out.append(folder);
    out.push_back(kPathSeparator);
    out.append(name);
    return out;
}

fs::path ToPath(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FromPath(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

bool FileExistsIn(Platform& platform, std::string_view folder, std::string_view name) {
    return FileExistsIn(folder, name) && !platform.isHiddenOrSystemFile(JoinPath(folder, name));
}

bool FileExistsIn(std::string_view folder, std::string_view name) {
    const std::string path = JoinPath(folder, name);
    const fs::path full = ToPath(path);
    // The folder as the joined path sees it, so that a root folder stored as empty text works.
    std::error_code ec;
    const fs::file_status folderStatus = fs::status(full.parent_path(), ec);
    if (!fs::is_directory(folderStatus)) {
        const bool missing =
            !ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
        throw FileError("Cannot find the folder", std::string(folder),
                        missing ? "path not found" : ec.message());
    }
    return fs::is_regular_file(fs::status(full, ec));
}

std::string ReadFileBytes(const std::string& path) {
    const int fd = OpenForReading(ToPath(path));
    if (fd < 0)
        throw FileError("Cannot open", path, ErrnoText(errno));
    std::string out;
    char buffer[64 * 1024];
    for (;;) {
        const std::ptrdiff_t n = ReadSome(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            CloseFile(fd);
            throw FileError("Cannot read", path, ErrnoText(err));
        }
        if (n == 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    CloseFile(fd);
    return out;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const fs::path target = ToPath(path);
    const fs::path folder = target.parent_path();
    const std::string name = FromPath(target.filename());

    fs::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = folder /
               ToPath(name + std::string(kTempInfix) + UniquePart() + std::string(kTempSuffix));
        fd = CreateNew(temp);
        if (fd < 0 && (errno != EEXIST || attempt >= 100))
            throw FileError("Cannot write", path, ErrnoText(errno));
    }

    const auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError("Cannot write", path, reason);
    };

#ifndef _WIN32
    CopyPermissions(target, fd);
#endif
    int err = WriteAll(fd, bytes);
    if (err == 0 && FlushToDisk(fd) != 0)
        err = errno;
    if (CloseFile(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        fail(ErrnoText(err));

    const std::string moveError = MoveOver(temp, target);
    if (!moveError.empty())
        fail(moveError);
    RemoveLeftoverTemporaries(folder, name);
}

void DeleteFileIfExists(const std::string& path) {
    const fs::path p = ToPath(path);
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        throw FileError("Cannot delete", path, ec.message());
    if (!fs::exists(st))
        return;
    if (fs::is_directory(st))
        throw FileError("Cannot delete", path,
                        std::make_error_code(std::errc::is_a_directory).message());
    if (!fs::remove(p, ec) && ec && ec != std::errc::no_such_file_or_directory)
        throw FileError("Cannot delete", path, ec.message());
}

bool IsTemporarySaveFile(std::string_view fileName) {
    const auto slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos)
        fileName = fileName.substr(slash + 1);
    return !TargetOfTemporary(fileName).empty();
}

} // namespace tabbern
