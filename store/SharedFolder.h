// A data folder that several running copies of the program use at once, possibly from several
// computers over a network share. Each copy remembers how it last saw each data file (its
// fingerprint) and writes only while it holds the folder's lock file and finds the file as it
// left it, so that no copy overwrites what another one has just written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tabbern {

// How a data file looked when this program last read or wrote it.
struct FileFingerprint {
    bool known = false; // false until the file was first read or written in this data folder
    bool exists = false;
    std::uintmax_t size = 0;
    std::uint64_t hash = 0; // of the file's bytes
};

// The fingerprints of the two data files of the current data folder.
struct DataFileFingerprints {
    FileFingerprint store;
    FileFingerprint groups;
};

// The fingerprint of these bytes, read from a file that exists.
FileFingerprint FingerprintOfBytes(std::string_view bytes);
// The fingerprint of the file as it is now (exists == false when it is missing).
FileFingerprint FingerprintOfFile(const std::string& path);

// True when the file no longer is what the fingerprint recorded. A fingerprint that was never
// taken counts as unchanged: there is nothing this program could overwrite unseen.
bool ChangedSince(const FileFingerprint& seen, const FileFingerprint& now);

// The lock beside the data files, held for one compare-and-write. It is an entry named
// "tabbern.lck" created as an empty folder: creating a folder is the one exclusive create the
// standard library offers, and every file system, network shares included, makes it atomic.
// While another copy holds the lock the constructor waits in short steps. A lock older than
// kStaleLockSeconds, or still there after waiting kMaxLockWaitSeconds (the clocks of a share's
// server and of this computer may differ), belongs to a copy that ended mid-write and is taken
// over. The destructor removes the lock, also when the write failed. A folder that takes no
// new entry (read-only, missing) is not locked: no copy can write there, and the write that
// follows reports the reason.
class DataFolderLock {
public:
    static constexpr const char* kFileName = "tabbern.lck";
    static constexpr int kStaleLockSeconds = 5;
    static constexpr int kMaxLockWaitSeconds = 6;

    explicit DataFolderLock(const std::string& dataFolder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

private:
    std::string path_;
    bool held_ = false;
};

} // namespace tabbern
