// Crash consistency: a child saves the store, group and settings files over and over in two
// versions; killed with SIGKILL at random moments, hundreds of times, it must leave each file one
// of the two complete versions. What a killed save leaves (its temporary file, the data folder's
// lock) must be ignored by the loaders and cleared by the next save.
#include "settings/Settings.h"
#include "store/FileIo.h"
#include "store/SharedFolder.h"
#include "store/Store.h"
#include "support/AppFixture.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;

// Two versions of different sizes, so that no part of one is the whole of the other.
constexpr int kBookmarks[2] = {300, 700}, kGroups[2] = {3, 7};
const char* const kFiles[] = {"tabbern.dat", "tabbern.grp", "tabbern.cfg"};

// A copy of the program on the folder, set up and loaded as start-up does before any change.
struct Loaded : Program {
    explicit Loaded(const std::string& folder) : Program(folder) {
        PrepareFolders();
        LoadStore(app);
        LoadGroups(app);
    }
};

// Saves one complete version of the three files, as the program saves them.
void SaveVersion(App& app, int v) {
    const std::string version = "Version " + std::to_string(v), group = version + " group ";
    app.bookmarks.clearAll();
    for (int k = 0; k < kBookmarks[v]; ++k) {
        BookmarkRow& row = app.bookmarks.row(k);
        row[kColRecord] = std::to_string(k);
        row[kColName] = version + " bookmark " + std::to_string(k);
        row[kColGroup] = group + std::to_string(k % kGroups[v]);
        row[kColUrl] = "http://v" + std::to_string(v) + ".example/" + std::to_string(k);
    }
    app.recordCount = kBookmarks[v];
    RewriteStore(app, RowHasName);
    app.groups.clear();
    for (int g = 0; g < kGroups[v]; ++g)
        app.groups.push_back(group + std::to_string(g));
    RewriteGroupFile(app);
    app.rememberLocationFlag = -1;
    app.savedTop = 1200 - 1245 * v;
    app.savedLeft = 300 + 8700 * v;
    WriteSettings(app);
}

// The child: says on the pipe that it begins, then saves until it is killed.
[[noreturn]] void SaveUntilKilled(const std::string& folder, int first, const int pipeFds[2]) {
    ::close(pipeFds[0]);
    Loaded p(folder);
    if (::write(pipeFds[1], "1", 1) != 1)
        ::_exit(2);
    for (int v = first;; v ^= 1)
        SaveVersion(p.app, v);
}

// The temporary files in the folder; anything else that is not a data file or the lock fails
// the test.
Names Leftovers(const std::string& folder) {
    Names found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::ranges::count(kFiles, name) || name == DataFolderLock::kFileName)
            continue;
        EXPECT_TRUE(IsTemporarySaveFile(name)) << "unexpected file " << name;
        found.push_back(name);
    }
    return found;
}

TEST(CrashConsistency, EveryKilledSaveLeavesTheOldOrTheNewCompleteFile) {
    // Each version's files as an uninterrupted save leaves them.
    std::map<std::string, std::string> complete[2];
    for (int v : {0, 1}) {
        TempDir reference;
        Loaded r(reference.path());
        SaveVersion(r.app, v);
        for (const char* file : kFiles)
            complete[v][file] = ReadBytes(reference.file(file));
    }
    const auto versionOf = [&](const std::string& bytes, const char* file) {
        return bytes == complete[0][file] ? 0 : bytes == complete[1][file] ? 1 : -1;
    };

    // How long one round of saves of the three files takes here: the kills fall anywhere in the
    // first round of each saver, which begins right after it says so. It ends on version 0.
    TempDir dir;
    const std::string folder = dir.path();
    Loaded timing(folder);
    const auto start = std::chrono::steady_clock::now();
    for (int v : {1, 0})
        SaveVersion(timing.app, v);
    const auto round = std::chrono::duration_cast<std::chrono::microseconds>(
        (std::chrono::steady_clock::now() - start) / 2);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, std::max(1L, static_cast<long>(round.count())));

    // At least that many kills, and on until one has left a temporary file: it fell inside a save.
    constexpr int kKills = 240;
    const fs::path lock = fs::path(folder) / DataFolderLock::kFileName;
    const auto stale = std::chrono::seconds(2 * DataFolderLock::kStaleLockSeconds);
    Names before = Leftovers(folder);
    for (int kill = 0; kill < kKills || before.empty(); ++kill) {
        ASSERT_LT(kill, 4 * kKills) << "no kill left a temporary file";
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            SaveUntilKilled(folder, kill % 2, pipeFds);
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

        for (const char* file : kFiles)
            ASSERT_NE(versionOf(ReadBytes(dir.file(file)), file), -1)
                << file << " is neither version after kill " << kill;
        // The loaders take what the kill left without a question, and its temporaries not at all.
        Loaded loaded(folder);
        CheckStoreFile(loaded.app);
        CheckGroupFile(loaded.app);
        ASSERT_TRUE(loaded.fake.messages.empty()) << "after kill " << kill;
        ASSERT_EQ(loaded.app.recordCount,
                  kBookmarks[versionOf(ReadBytes(dir.file("tabbern.dat")), "tabbern.dat")]);
        // A lock the killed save held: the next start finds it stale, as it is once the program
        // is started again some seconds later.
        if (fs::exists(lock))
            fs::last_write_time(lock, fs::file_time_type::clock::now() - stale);
        before = Leftovers(folder);
    }

    // The next successful save of each file removes what the killed saves left of it, even
    // when the copy killed last held the lock a moment ago: the save waits until the lock has
    // gone stale and takes it over.
    fs::remove(lock);
    ASSERT_TRUE(fs::create_directory(lock));
    Loaded last(folder);
    SaveVersion(last.app, 1);
    EXPECT_EQ(Leftovers(folder), Names{});
    EXPECT_FALSE(fs::exists(lock));
    for (const char* file : kFiles)
        EXPECT_EQ(versionOf(ReadBytes(dir.file(file)), file), 1) << file;
}

} // namespace
} // namespace tabbern::test
