// Crash consistency of the saves. A child process saves the store file, the group file and the
// settings file over and over, alternating two complete versions of each, the way the program
// writes them (RewriteStore, RewriteGroupFile, WriteSettings); the test kills it with SIGKILL at
// random moments, hundreds of times, and after every kill checks that each file is one of the
// two complete versions, never a mix, a part or empty. The temporary files a killed save leaves
// behind must be ignored by the loaders and removed by the next successful save, and the data
// folder's lock that a killed save still held must be taken over once it has gone stale.
#include "app/App.h"
#include "app/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "settings/Settings.h"
#include "store/SharedFolder.h"
#include "store/Store.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 240;

// Two versions of everything, of different sizes, so that no part of one is the whole of the
// other.
struct Version {
    int bookmarks, groups, sortChoice, top, left;
};
constexpr Version kVersions[2] = {{300, 3, 2, 1200, 300}, {700, 7, 4, -45, 9000}};

std::string Name(int v, int k) {
    return "Version " + std::to_string(v) + " bookmark " + std::to_string(k);
}
std::string Group(int v, int g) {
    return "Version " + std::to_string(v) + " group " + std::to_string(g);
}
std::string Url(int v, int k) {
    return "http://v" + std::to_string(v) + ".example/" + std::to_string(k);
}

// ---- the files as they must read, laid out by hand ----------------------------------------

std::string StoreFile(int v) {
    std::string s = HeaderLine() + "\r\n";
    for (int k = 0; k < kVersions[v].bookmarks; ++k)
        s += "[r]" + std::to_string(k) + "[n]" + Name(v, k) + "[g]" +
             Group(v, k % kVersions[v].groups) + "[d]1/2/2025[l][u]" + Url(v, k) + "\r\n";
    return s;
}

std::string GroupFile(int v) {
    std::string s = HeaderLine() + "\r\n";
    for (int g = 0; g < kVersions[v].groups; ++g)
        s += Group(v, g) + "\r\n";
    return s;
}

void PutLittleEndian(std::string& b, std::size_t at, std::int64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        b[at + i] = static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

std::string SettingsFile(int v) {
    std::string b(128, ' ');
    PutLittleEndian(b, 0, 0, 2);
    b.replace(2, 11, "Tabbern 5.2");
    b.replace(37, 3, "5.2");
    PutLittleEndian(b, 42, 0, 2);
    PutLittleEndian(b, 114, -1, 2);
    PutLittleEndian(b, 116, kVersions[v].top, 4);
    PutLittleEndian(b, 120, kVersions[v].left, 4);
    PutLittleEndian(b, 124, kVersions[v].sortChoice, 2);
    PutLittleEndian(b, 126, 1, 2);
    return b;
}

// ---- the program's saves ------------------------------------------------------------------

// An App whose program folder and data folder are the folder, set up as start-up sets them,
// with the data files loaded as the program loads them before it changes them.
struct Program {
    explicit Program(const std::string& folder) : fake(folder), app(fake) {
        SetFoldersAndConstants(app);
        ResolveDataFolder(app);
        SetRemainingConstants(app);
        LoadStore(app);
        LoadGroups(app);
    }
    FakePlatform fake;
    App app;
};

// Saves one complete version of the three files, as the program saves them.
void SaveVersion(App& app, int v) {
    const Version& ver = kVersions[v];
    app.bookmarks.clearAll();
    for (int k = 0; k < ver.bookmarks; ++k) {
        BookmarkRow& row = app.bookmarks.row(k);
        row[kColRecord] = std::to_string(k);
        row[kColName] = Name(v, k);
        row[kColGroup] = Group(v, k % ver.groups);
        row[kColDateAdded] = "1/2/2025";
        row[kColUrl] = Url(v, k);
    }
    app.recordCount = ver.bookmarks;
    RewriteStore(app, RowHasName);

    app.groups.clear();
    for (int g = 0; g < ver.groups; ++g)
        app.groups.push_back(Group(v, g));
    RewriteGroupFile(app);

    app.sortChoice = ver.sortChoice;
    app.rememberSortFlag = 1;
    app.rememberLocationFlag = -1;
    app.savedTop = ver.top;
    app.savedLeft = ver.left;
    WriteSettings(app);
}

// The child: says on the pipe that it begins, then saves until it is killed.
[[noreturn]] void SaveUntilKilled(const std::string& folder, int first, int readyFd) {
    Program p(folder);
    const char ready = 1;
    if (::write(readyFd, &ready, 1) != 1)
        ::_exit(2);
    for (int v = first;; v ^= 1)
        SaveVersion(p.app, v);
}

// ---- what a kill left -----------------------------------------------------------------------

const char* const kFiles[] = {"tabbern.dat", "tabbern.grp", "tabbern.cfg"};

// Which version a file holds: 0 or 1, or -1 when it is neither.
int VersionOf(const std::string& bytes, const std::string& file) {
    for (int v = 0; v < 2; ++v) {
        const std::string whole = file == "tabbern.dat"   ? StoreFile(v)
                                  : file == "tabbern.grp" ? GroupFile(v)
                                                          : SettingsFile(v);
        if (bytes == whole)
            return v;
    }
    return -1;
}

// True for "<data file>.~<hex digits and dashes>.tmp", the name of a save's temporary file.
bool IsTemporaryName(const std::string& name) {
    for (const char* file : {"tabbern.dat", "tabbern.grp", "tabbern.cfg"}) {
        const std::string prefix = std::string(file) + ".~";
        if (!name.starts_with(prefix) || !name.ends_with(".tmp") ||
            name.size() <= prefix.size() + 4)
            continue;
        const std::string unique = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        return unique.find_first_not_of("0123456789abcdef-") == std::string::npos;
    }
    return false;
}

// The temporary files in the folder; anything else that is not a data file or the lock fails
// the test.
std::vector<std::string> Leftovers(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name == "tabbern.dat" || name == "tabbern.grp" || name == "tabbern.cfg" ||
            name == DataFolderLock::kFileName)
            continue;
        EXPECT_TRUE(IsTemporaryName(name)) << "unexpected file " << name;
        found.push_back(name);
    }
    return found;
}

// Loads the folder as start-up does (check, load store, load groups, read the settings
// record) and returns the versions found, -1 for anything else.
std::vector<int> LoadedVersions(const std::string& folder) {
    Program p(folder);
    CheckStoreFile(p.app);
    CheckGroupFile(p.app);
    EXPECT_TRUE(p.fake.messages.empty());
    std::vector<int> versions;
    for (int v = 0; v < 2; ++v)
        if (p.app.recordCount == kVersions[v].bookmarks &&
            p.app.bookmarks.at(kVersions[v].bookmarks - 1, kColName) ==
                Name(v, kVersions[v].bookmarks - 1))
            versions.push_back(v);
    for (int v = 0; v < 2; ++v)
        if (p.app.groups.size() == static_cast<std::size_t>(kVersions[v].groups) &&
            p.app.groups.back() == Group(v, kVersions[v].groups - 1))
            versions.push_back(v);
    const SettingsRecord rec = DecodeSettingsRecord(ReadBytes(p.app.programFile("tabbern.cfg")));
    for (int v = 0; v < 2; ++v)
        if (rec.top == kVersions[v].top && rec.left == kVersions[v].left)
            versions.push_back(v);
    return versions;
}

TEST(CrashConsistency, EveryKilledSaveLeavesTheOldOrTheNewCompleteFile) {
    TempDir dir;
    const std::string folder = dir.path();
    for (int i = 0; i < 3; ++i)
        WriteBytes(dir.file(kFiles[i]), i == 0   ? StoreFile(0)
                                        : i == 1 ? GroupFile(0)
                                                 : SettingsFile(0));

    // How long one round of saves of the three files takes here: the kills fall anywhere in the
    // first round of each saver, which begins right after it says so.
    Program timing(folder);
    const auto start = std::chrono::steady_clock::now();
    for (int v : {1, 0})
        SaveVersion(timing.app, v);
    const auto round = (std::chrono::steady_clock::now() - start) / 2;
    const long maxDelayUs = std::max(
        1L,
        static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(round).count()));

    std::random_device seeder;
    const unsigned seed = seeder();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, maxDelayUs);

    // Kills that left a temporary file of their own (inside a file's save), that left files of
    // both versions (between two files' saves), and that came while the lock was held.
    int kills = 0, interrupted = 0, mixed = 0, locked = 0;
    const fs::path lock = fs::path(folder) / DataFolderLock::kFileName;
    constexpr auto kLongAgo = std::chrono::seconds(2 * DataFolderLock::kStaleLockSeconds);
    std::vector<std::string> before = Leftovers(folder);
    for (int kill = 0; kill < kKills || before.empty(); ++kill) {
        ASSERT_LT(kill, 4 * kKills) << "no kill left a temporary file";
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const int first = kill % 2;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            SaveUntilKilled(folder, first, pipeFds[1]);
        }
        ::close(pipeFds[1]);
        char ready = 0;
        ASSERT_EQ(::read(pipeFds[0], &ready, 1), 1) << "the saver did not start";
        ::close(pipeFds[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saver ended on its own, status " << status;

        std::vector<int> versions;
        for (const char* file : kFiles) {
            const int v = VersionOf(ReadBytes(dir.file(file)), file);
            ASSERT_NE(v, -1) << file << " is neither version after kill " << kill;
            versions.push_back(v);
        }
        ASSERT_EQ(LoadedVersions(folder), versions) << "after kill " << kill;
        // A lock the killed save held: the next start finds it stale, as it is once the program
        // is started again some seconds later.
        locked += fs::exists(lock);
        if (fs::exists(lock))
            fs::last_write_time(lock, fs::file_time_type::clock::now() - kLongAgo);
        const std::vector<std::string> after = Leftovers(folder);
        interrupted += std::any_of(after.begin(), after.end(), [&](const std::string& name) {
            return std::find(before.begin(), before.end(), name) == before.end();
        });
        mixed += versions[0] != versions[1] || versions[1] != versions[2];
        before = after;
        ++kills;
    }
    std::printf("%d kills: %d inside a file's save, %d between two files' saves, %d holding the "
                "data folder's lock\n",
                kills, interrupted, mixed, locked);
    EXPECT_GT(interrupted, 0) << "no kill fell inside a save";

    // The next successful save of each file removes what the killed saves left of it, even
    // when the copy killed last held the lock a moment ago: the save waits until the lock has
    // gone stale and takes it over.
    ASSERT_FALSE(before.empty());
    std::error_code ignored;
    fs::remove(lock, ignored);
    ASSERT_TRUE(fs::create_directory(lock));
    Program last(folder);
    SaveVersion(last.app, 1);
    EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(lock));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(VersionOf(ReadBytes(dir.file(kFiles[i])), kFiles[i]), 1) << kFiles[i];
}

} // namespace
} // namespace tabbern::test
