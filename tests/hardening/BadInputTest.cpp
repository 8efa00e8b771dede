// A file system that fails, and a line of 100 MB. For every case the program names the file and
// the system's reason, changes no data file and leaves no temporary file behind.
#include "support/AppFixture.h"

#include "store/FileIo.h"

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

// What the system says when a folder stands where a file is replaced.
std::string FolderReplaceReason() {
#ifdef _WIN32
    return std::system_category().message(ERROR_ACCESS_DENIED);
#else
    return std::generic_category().message(EISDIR);
#endif
}

Names Temporaries(const std::string& folder) {
    Names found;
    for (const auto& e : fs::directory_iterator(folder))
        if (IsTemporarySaveFile(e.path().filename().string()))
            found.push_back(e.path().filename().string());
    return found;
}

TEST(BadInput, ADataOrSettingsFileThatIsAFolderEndsTheStartByName) {
    for (const std::string name : {"tabbern.cfg", "tabbern.dat", "tabbern.grp"}) {
        SCOPED_TRACE(name);
        TestProgram p;
        if (name == "tabbern.grp")
            WriteBytes(p.File("tabbern.dat"), FileWithHeader({}));
        const std::string folder = p.dir.makeDir(name);
        WriteBytes(folder + "/inside", "kept");

        EXPECT_FALSE(p.Start());

        EXPECT_EQ(p.Messages(), Names{"Cannot write \"" + folder + "\": " + FolderReplaceReason()});
        EXPECT_EQ(ReadBytes(folder + "/inside"), "kept");
        EXPECT_EQ(fs::is_regular_file(p.File("tabbern.dat")), name == "tabbern.grp");
        EXPECT_EQ(Temporaries(p.dir.path()), Names{});
    }
}

#ifdef _WIN32
PROCESS_MEMORY_COUNTERS MemoryCounters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

long PeakKilobytes() {
    return static_cast<long>(MemoryCounters().PeakWorkingSetSize / 1024);
}

long CurrentKilobytes() {
    return static_cast<long>(MemoryCounters().WorkingSetSize / 1024);
}
#else
long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
#endif

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
    {
        std::ofstream out(p.File("tabbern.dat"), std::ios::binary);
        out << head << big << tail;
    }
    const long before = CurrentKilobytes();

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
        EXPECT_EQ(Temporaries(data), Names{});
    }
    std::string data = dir.makeDir("data");
    std::string store = FileWithHeader({Rec(0, "One", "Work", "http://one")});
    std::string groups = FileWithHeader({"Work"});
};

TEST(BadInput, AReadOnlyFolderRefusesEveryChangeByNameAndKeepsTheFiles) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into read-only folders";
    struct Case {
        std::string what;
        std::function<bool(ProgramWithDataFolder&)> act; // after start-up; false: it ended
        std::string file;                                // the file the error names
    };
    const Case cases[] = {
        {"adding a bookmark",
         [](auto& p) {
             p.OnShow("frmAddName", [&p](Form&) {
                 TestProgram::TypeAndSave(p.app.frmAddName, "New", "", "http://n");
             });
             return p.Click(p.app.main.menuaddname);
         },
         "tabbern.dat"},
        {"adding a group",
         [](auto& p) {
             p.app.main.Combo1.setText("Home");
             return p.Click(p.app.main.menuaddgroup);
         },
         "tabbern.grp"},
        {"importing a share file",
         [](auto& p) {
             WriteBytes(p.File("in.tbn"), FileWithHeader({Rec(0, "S", "Work", "s")}));
             p.ConfirmImport();
             return p.ImportShare(p.File("in.tbn"));
         },
         "tabbern.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramWithDataFolder p;
        MakeReadOnly(p.data);
        ASSERT_TRUE(p.Start());
        ASSERT_TRUE(p.Messages().empty());

        EXPECT_FALSE(c.act(p));

        EXPECT_EQ(p.Messages(),
                  Names{"Cannot write \"" + p.Data(c.file) + "\": " + Reason(EACCES)});
        p.ExpectDataFilesAsBefore();
    }

    // A data file that start-up must create cannot be made there either, nor the running
    // marker in a program folder that is read-only.
    ProgramWithDataFolder p;
    fs::remove(p.Data("tabbern.grp"));
    MakeReadOnly(p.data);
    EXPECT_FALSE(p.Start());
    EXPECT_EQ(p.Messages(),
              Names{"Cannot write \"" + p.Data("tabbern.grp") + "\": " + Reason(EACCES)});
    TestProgram q;
    MakeReadOnly(q.dir.path());
    EXPECT_FALSE(q.Start());
    EXPECT_EQ(q.Messages(),
              Names{"Cannot write \"" + q.File("tabbern.run") + "\": " + Reason(EACCES)});
    EXPECT_TRUE(fs::is_empty(q.dir.path()));
}

TEST(BadInput, UnreadableFilesAreReportedByName) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may read any file";
    // A share file or a text file the user may not read: said, and the program goes on.
    for (const bool share : {true, false}) {
        SCOPED_TRACE(share ? "share file" : "text file");
        ProgramWithDataFolder p;
        ASSERT_TRUE(p.Start());
        const std::string path = p.File("in.tbn");
        WriteBytes(path, FileWithHeader({Rec(0, "S", "Work", "s")}));
        fs::permissions(path, fs::perms::none);
        p.fake.openAnswers.push_back(path);

        EXPECT_TRUE(p.Click(share ? p.app.main.menuimportfromtabbernfile
                                  : p.app.main.menuimportfromtextfile));

        EXPECT_EQ(p.Messages(), Names{"Cannot Read The File:\r" + path + "\r" + Reason(EACCES)});
        p.ExpectDataFilesAsBefore();
    }
    // A store file the user may not read ends start-up with its name.
    ProgramWithDataFolder p;
    fs::permissions(p.Data("tabbern.dat"), fs::perms::none);
    EXPECT_FALSE(p.Start());
    fs::permissions(p.Data("tabbern.dat"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(p.Messages(),
              Names{"Cannot open \"" + p.Data("tabbern.dat") + "\": " + Reason(EACCES)});
    p.ExpectDataFilesAsBefore();
}

// A small tmpfs mounted on a folder for the life of the object; root only.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : folder_(folder) {
        if (::geteuid() != 0) {
            why_ = "mounting a small tmpfs needs root";
            return;
        }
        if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            why_ = "cannot mount a tmpfs on " + folder + ": " + Reason(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

    // Writes a filler file until the disk has no room left.
    void Fill() const {
        std::ofstream out(folder_ + "/filler", std::ios::binary);
        const std::string block(1024, 'f');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size())))
            out.flush();
    }

private:
    std::string folder_, why_;
    bool mounted_ = false;
};

TEST(BadInput, FullDiskKeepsTheOldDataFilesAndNamesTheFile) {
    ProgramWithDataFolder p;
    const std::string store = p.store, groups = p.groups;
    // The data folder's files are moved onto the small disk mounted over it.
    SmallDisk disk(p.data);
    if (!disk.mounted())
        GTEST_SKIP() << disk.why();
    WriteBytes(p.Data("tabbern.dat"), store);
    WriteBytes(p.Data("tabbern.grp"), groups);
    disk.Fill();
    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(p.Messages().empty());

    p.OnShow("frmAddName",
             [&p](Form&) { TestProgram::TypeAndSave(p.app.frmAddName, "New", "", "http://n"); });
    EXPECT_FALSE(p.Click(p.app.main.menuaddname));

    EXPECT_EQ(p.Messages(),
              Names{"Cannot write \"" + p.Data("tabbern.dat") + "\": " + Reason(ENOSPC)});
    p.ExpectDataFilesAsBefore();
}

#endif // !_WIN32

} // namespace
} // namespace tabbern::test
