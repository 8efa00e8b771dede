// A file system that fails, and a line of 100 MB: the program names the file and the system's
// reason, changes no data file and leaves no temporary file behind.
#include "support/AppFixture.h"

#include "store/FileIo.h"
#include "store/SharedFolder.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#else
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;

// What a failed save must not leave: its temporary file, or the data folder's lock.
Names Strays(const std::string& folder) {
    Names found;
    for (const auto& e : fs::directory_iterator(folder))
        if (const std::string name = e.path().filename().string();
            IsTemporarySaveFile(name) || name == DataFolderLock::kFileName)
            found.push_back(name);
    return found;
}
std::string CannotWrite(const std::string& path, const std::string& reason) {
    return "Cannot write \"" + path + "\": " + reason;
}

TEST(BadInput, ADataOrSettingsFileThatIsAFolderEndsTheStartByName) {
#ifdef _WIN32
    const std::string reason = std::system_category().message(ERROR_ACCESS_DENIED);
#else
    const std::string reason = std::generic_category().message(EISDIR);
#endif
    for (const std::string name : {"tabbern.cfg", "tabbern.dat", "tabbern.grp"}) {
        SCOPED_TRACE(name);
        TestProgram p;
        if (name == "tabbern.grp")
            WriteBytes(p.File("tabbern.dat"), FileWithHeader({}));
        const std::string folder = p.dir.makeDir(name);
        WriteBytes(folder + "/inside", "kept");

        EXPECT_FALSE(p.Start());

        EXPECT_EQ(p.Messages(), Names{CannotWrite(JoinPath(p.dir.path(), name), reason)});
        EXPECT_EQ(ReadBytes(folder + "/inside"), "kept");
        // The copy that ended removed its running marker: the next start asks nothing.
        EXPECT_FALSE(fs::exists(p.File("tabbern.run")));
        EXPECT_EQ(fs::is_regular_file(p.File("tabbern.dat")), name == "tabbern.grp");
        EXPECT_EQ(Strays(p.dir.path()), Names{});
    }
}

long PeakKilobytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

TEST(BadInput, AHundredMegabyteLineIsReadWithoutTroubleWhereverItStands) {
    constexpr std::size_t kLine = 100u << 20;
    // A minified page: no line end and no tag, one link at its very end.
    std::string big;
    big.reserve(kLine);
    while (big.size() + 64 < kLine)
        big += "<div class=\"c\">lorem ipsum dolor sit amet, consectetur</div>";
    big += "https://end.example/";
    const std::string head = FileWithHeader({Rec(0, "Before", "", "http://x")});
    const std::string tail = "\r\n" + Rec(0, "After", "", "http://x") + "\r\n";
    TestProgram p;
    std::ofstream(p.File("tabbern.dat"), std::ios::binary) << head << big << tail;
    // The line itself is in memory already: the peak so far is at least what is in use now.
    const long before = PeakKilobytes();

    ASSERT_TRUE(p.Start());
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(p.LoadedNames(), (Names{"Before", "After"}));

    // The same file as a text file to harvest.
    std::string listed;
    p.OnShow("frmAddConfirm", [&](Form&) { listed = p.app.frmAddConfirm.Text1.text(); });
    p.fake.openAnswers.push_back(p.File("tabbern.dat"));
    ASSERT_TRUE(p.Click(p.app.main.menuimportfromtextfile));
    EXPECT_TRUE(listed.ends_with("\r\nhttp://x\r\nhttps://end.example/\r\nhttp://x\r\n"))
        << listed.substr(0, 200);

    // A handful of copies of the file at most, never one per line or per link.
    const long growth = PeakKilobytes() - before;
    EXPECT_LT(growth, 10 * static_cast<long>(kLine / 1024)) << growth << " kB";
    EXPECT_TRUE(p.StoreBytes() == head + big + tail);
}

// Permission bits and mounts are POSIX: a Windows folder has no write permission bit to take
// away, and the full disk needs a tmpfs.
#ifndef _WIN32

std::string Reason(int err) {
    return std::generic_category().message(err);
}
void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

// A program whose data folder is `data` below its program folder, holding a store of one
// bookmark and a group file of one group.
struct ProgramWithDataFolder : TestProgram {
    ProgramWithDataFolder() {
        WriteBytes(File("tabbern.sdf"), data + "\r\n");
        WriteBytes(Data("tabbern.dat"), store);
        WriteBytes(Data("tabbern.grp"), groups);
    }
    std::string Data(const std::string& name) const { return JoinPath(data, name); }
    void ExpectDataFilesAsBefore() const {
        EXPECT_EQ(ReadBytes(Data("tabbern.dat")), store);
        EXPECT_EQ(ReadBytes(Data("tabbern.grp")), groups);
        EXPECT_EQ(Strays(data), Names{});
    }
    std::string data = dir.makeDir("data");
    std::string store = FileWithHeader({Rec(0, "One", "Work", "http://one")});
    std::string groups = FileWithHeader({"Work"});
};

TEST(BadInput, AReadOnlyFolderRefusesEveryChangeByNameAndKeepsTheFiles) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into read-only folders";
    for (const std::string file : {"tabbern.dat", "tabbern.grp"}) {
        SCOPED_TRACE(file);
        ProgramWithDataFolder p;
        MakeReadOnly(p.data);
        ASSERT_TRUE(p.Start());
        p.app.main.Combo1.setText("Home");

        // Adding a bookmark, or a group; false: the program ended.
        EXPECT_FALSE(file == "tabbern.dat" ? p.Add("New", "", "http://n")
                                           : p.Click(p.app.main.menuaddgroup));

        EXPECT_EQ(p.Messages(), Names{CannotWrite(p.Data(file), Reason(EACCES))});
        p.ExpectDataFilesAsBefore();
    }

    // Nor can the running marker be made in a program folder that is read-only.
    TestProgram q;
    MakeReadOnly(q.dir.path());
    EXPECT_FALSE(q.Start());
    EXPECT_EQ(q.Messages(), Names{CannotWrite(q.File("tabbern.run"), Reason(EACCES))});
    EXPECT_TRUE(fs::is_empty(q.dir.path()));
}

TEST(BadInput, UnreadableFilesAreReportedByName) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may read any file";
    // A text file to import that the user may not read: said, and the program goes on.
    ProgramWithDataFolder q;
    ASSERT_TRUE(q.Start());
    const std::string path = q.File("in.txt");
    WriteBytes(path, "http://s");
    fs::permissions(path, fs::perms::none);
    q.fake.openAnswers.push_back(path);
    EXPECT_TRUE(q.Click(q.app.main.menuimportfromtextfile));
    EXPECT_EQ(q.Messages(), Names{"Cannot Read The File:\r" + path + "\r" + Reason(EACCES)});
    q.ExpectDataFilesAsBefore();

    // A store file the user may not read ends start-up with its name.
    ProgramWithDataFolder p;
    fs::permissions(p.Data("tabbern.dat"), fs::perms::none);
    EXPECT_FALSE(p.Start());
    fs::permissions(p.Data("tabbern.dat"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(p.Messages(),
              Names{"Cannot open \"" + p.Data("tabbern.dat") + "\": " + Reason(EACCES)});
    p.ExpectDataFilesAsBefore();
}

TEST(BadInput, FullDiskKeepsTheOldDataFilesAndNamesTheFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    ProgramWithDataFolder p;
    // A small disk mounted over the data folder, holding the data files and a filler file.
    if (::mount("tmpfs", p.data.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs on " << p.data << ": " << Reason(errno);
    const std::unique_ptr<const char, void (*)(const char*)> unmount(
        p.data.c_str(), [](const char* folder) { ::umount2(folder, MNT_DETACH); });
    WriteBytes(p.Data("tabbern.dat"), p.store);
    WriteBytes(p.Data("tabbern.grp"), p.groups);
    for (std::ofstream filler(p.Data("filler"), std::ios::binary);
         filler << std::string(1024, 'f');)
        filler.flush();
    ASSERT_TRUE(p.Start());

    EXPECT_FALSE(p.Add("New", "", "http://n"));

    EXPECT_EQ(p.Messages(), Names{CannotWrite(p.Data("tabbern.dat"), Reason(ENOSPC))});
    p.ExpectDataFilesAsBefore();
}

#endif // !_WIN32

} // namespace
} // namespace tabbern::test
