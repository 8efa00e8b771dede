#include "store/SharedFolder.h"

#include "store/FileIo.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace tabbern {

namespace {

// FNV-1a: enough to tell two versions of a data file apart, and the same on every platform.
std::uint64_t HashBytes(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

constexpr auto kLockPollStep = std::chrono::milliseconds(20);

// True when the lock is there and was made longer ago than a copy could take for a write.
bool IsStale(const fs::path& lock) {
    std::error_code ec;
    const fs::file_time_type made = fs::last_write_time(lock, ec);
    if (ec)
        return false; // released in the meantime
    return fs::file_time_type::clock::now() - made >
           std::chrono::seconds(DataFolderLock::kStaleLockSeconds);
}

} // namespace

FileFingerprint FingerprintOfBytes(std::string_view bytes) {
    FileFingerprint f;
    f.known = true;
    f.exists = true;
    f.size = bytes.size();
    f.hash = HashBytes(bytes);
    return f;
}

FileFingerprint FingerprintOfFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(ToPath(path), ec)) {
        FileFingerprint f;
        f.known = true;
        return f;
    }
    return FingerprintOfBytes(ReadFileBytes(path));
}

bool ChangedSince(const FileFingerprint& seen, const FileFingerprint& now) {
    if (!seen.known)
        return false;
    // Content decides: a copy that wrote the very same bytes again took nothing away, and the
    // modification times of network shares are too coarse to tell two quick writes apart.
    return seen.exists != now.exists || seen.size != now.size || seen.hash != now.hash;
}

DataFolderLock::DataFolderLock(const std::string& dataFolder)
    : path_(JoinPath(dataFolder, kFileName)) {
    const fs::path lock = ToPath(path_);
    const auto giveUp =
        std::chrono::steady_clock::now() + std::chrono::seconds(kMaxLockWaitSeconds);
    for (;;) {
        std::error_code ec;
        if (fs::create_directory(lock, ec)) {
            held_ = true;
            return;
        }
        std::error_code there;
        if (!fs::exists(lock, there)) {
            // Not created, yet nobody holds it. Unless the holder released it just now, the
            // folder takes no new entries (read-only, missing): then no copy can write there
            // either, and the write itself reports why.
            if (ec)
                return;
            continue;
        }
        const bool waitedLongEnough = std::chrono::steady_clock::now() >= giveUp;
        if (IsStale(lock) || waitedLongEnough) {
            // The copy that made it is gone: take the lock over.
            std::error_code removed;
            if (fs::remove(lock, removed) || !removed)
                continue;
            // A lock that cannot be removed would stop every write for good: after the wait
            // the write goes ahead unlocked, still guarded by the comparison with the file.
            if (waitedLongEnough)
                return;
        }
        std::this_thread::sleep_for(kLockPollStep);
    }
}

DataFolderLock::~DataFolderLock() {
    if (!held_)
        return;
    std::error_code ec;
    fs::remove(ToPath(path_), ec);
}

} // namespace tabbern
