#include "store/FileIo.h"

#include "platform/Platform.h"
#include "platform/os/FileSystem.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tabbern {

namespace {

std::string ErrnoText(int err) {
    return std::generic_category().message(err);
}

// Writes everything, resuming after short writes and interruptions. Returns 0 or an errno.
int WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t n = os::WriteSome(fd, bytes.data() + done, bytes.size() - done);
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
    return hex(os::ProcessId()) + '-' + hex(++counter) + '-' + hex(random & 0xFFFFFFFFUL);
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

void RemoveLeftoversIn(const fs::path& folder, const std::string& name) {
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

std::string TooLargeReason(std::string_view what, std::size_t limit) {
    const bool gigabytes = limit % (1u << 30) == 0;
    return std::string(what) + " is larger than " +
           std::to_string(gigabytes ? limit >> 30 : limit >> 20) + (gigabytes ? " GB" : " MB") +
           ", the most this program reads of it.";
}

FileReader::FileReader(std::string path) : path_(std::move(path)) {
    fd_ = os::OpenForReading(ToPath(path_));
    if (fd_ < 0)
        throw FileError("Cannot open", path_, ErrnoText(errno));
}

FileReader::~FileReader() {
    os::CloseFile(fd_);
}

std::size_t FileReader::readInto(std::string& out, std::size_t n) {
    const std::size_t before = out.size();
    out.resize(before + n);
    for (;;) {
        const std::ptrdiff_t got = os::ReadSome(fd_, out.data() + before, n);
        if (got >= 0) {
            out.resize(before + static_cast<std::size_t>(got));
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            const int err = errno;
            out.resize(before);
            throw FileError("Cannot read", path_, ErrnoText(err));
        }
    }
}

void FileReader::rewind() {
    os::CloseFile(fd_);
    fd_ = os::OpenForReading(ToPath(path_));
    if (fd_ < 0)
        throw FileError("Cannot open", path_, ErrnoText(errno));
}

std::size_t FileReader::size() const {
    std::error_code ec;
    const auto bytes = fs::file_size(ToPath(path_), ec);
    return ec || bytes > SIZE_MAX ? 0 : static_cast<std::size_t>(bytes);
}

std::string ReadFileBytes(const std::string& path, std::size_t limit) {
    FileReader file(path);
    std::string out;
    constexpr std::size_t kPiece = 64 * 1024;
    while (file.readInto(out, kPiece) > 0)
        if (out.size() > limit)
            throw FileError("Cannot read", path, TooLargeReason("The file", limit));
    return out;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, bool durable) {
    const fs::path target = ToPath(path);
    const fs::path folder = target.parent_path();
    const std::string name = FromPath(target.filename());

    fs::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = folder /
               ToPath(name + std::string(kTempInfix) + UniquePart() + std::string(kTempSuffix));
        fd = os::CreateNew(temp);
        if (fd < 0 && (errno != EEXIST || attempt >= 100))
            throw FileError("Cannot write", path, ErrnoText(errno));
    }

    const auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError("Cannot write", path, reason);
    };

    os::TakePermissionsOf(target, fd);
    int err = WriteAll(fd, bytes);
    if (err == 0 && durable && os::FlushToDisk(fd) != 0)
        err = errno;
    if (os::CloseFile(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        fail(ErrnoText(err));

    const std::string moveError = os::MoveOver(temp, target, durable);
    if (!moveError.empty())
        fail(moveError);
    RemoveLeftoversIn(folder, name);
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const fs::path target = ToPath(path);
    RemoveLeftoversIn(target.parent_path(), FromPath(target.filename()));
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
