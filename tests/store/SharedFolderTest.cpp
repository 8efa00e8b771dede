// Two running copies on one data folder: neither may overwrite what the other wrote since it
// last read the files.
#include "support/AppFixture.h"

#include "editing/Editing.h"

#include "store/FileIo.h"
#include "store/SharedFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;

// Makes the lock folder look as if another copy had made it that long ago.
void Backdate(const fs::path& lock, std::chrono::seconds age) {
#ifdef _WIN32
    // The C runtime sets no times on a folder; Windows does through a handle opened for one.
    const HANDLE h = ::CreateFileW(lock.c_str(), FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << lock;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(age.count()) * 10'000'000u; // 100 ns units
    FILETIME then;
    then.dwLowDateTime = t.LowPart;
    then.dwHighDateTime = t.HighPart;
    const BOOL set = ::SetFileTime(h, nullptr, nullptr, &then);
    ::CloseHandle(h);
    ASSERT_TRUE(set) << lock;
#else
    fs::last_write_time(lock, fs::file_time_type::clock::now() - age);
#endif
}

std::string ChangedByAnotherCopy(const std::string& file) {
    return "The " + file +
           " File Was Changed By Another Copy Of Tabbern. The List Has Been Reloaded; Please "
           "Repeat Your Change.";
}
const std::string kChangedByAnotherCopy = ChangedByAnotherCopy("Bookmark");

// "A" is the fixture's program; "B" a second copy started from the same folder. The ignore
// marker lets both start without the already-running question.
class SharedFolderTest : public AppTest {
protected:
    SharedFolderTest() : fakeB(dir.path()), appB(fakeB) {}

    // Both copies started on one bookmark "One" in the group "Work".
    void StartBoth() {
        WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
        WriteBytes(File("tabbern.ign"), "");
        ASSERT_TRUE(Start());
        ASSERT_TRUE(RunB([this] { MainForm_Load(appB); }));
        ASSERT_TRUE(fakeB.messages.empty());
    }

    bool RunB(const std::function<void()>& handler) {
        try {
            Dispatch(appB, handler);
            return true;
        } catch (const ProcessEnded&) {
            return false;
        }
    }

    // Adds a bookmark through the add dialog of the copy on that platform.
    static void ScriptAdd(FakePlatform& f, App& a, const std::string& name,
                          const std::string& group, const std::string& url) {
        f.modalScripts["frmAddName"] = [&a, name, group, url](Form&) {
            TypeAndSave(a.frmAddName, name, group, url);
        };
    }
    void AddInA(const std::string& name, const std::string& group, const std::string& url) {
        ScriptAdd(fake, app, name, group, url);
        ASSERT_TRUE(Click(app.main.menuaddname));
    }
    void AddInB(const std::string& name, const std::string& group, const std::string& url) {
        ScriptAdd(fakeB, appB, name, group, url);
        ASSERT_TRUE(RunB([this] { appB.main.menuaddname.click(); }));
    }

    static Names TableNames(const App& a) {
        Names names;
        for (int r = 0; r < a.recordCount; ++r)
            names.push_back(a.bookmarks.at(r, kColName));
        return names;
    }

    std::string LockPath() const { return File("tabbern.lck"); }

public:
    bool RunA(const std::function<void()>& handler) { return Run(handler); }
    static void TypeAndSaveIn(BookmarkDialog& d, const std::string& name, const std::string& group,
                              const std::string& url) {
        TypeAndSave(d, name, group, url);
    }

protected:
    FakePlatform fakeB;
    App appB;
};

// ---- additions ----------------------------------------------------------------------------

TEST_F(SharedFolderTest, AnAddOverAnOlderTableKeepsTheOtherCopysAdd) {
    StartBoth();
    AddInA("Two", "Play", "http://two.example");
    AddInB("Three", "Home", "http://three.example");

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Play", "http://two.example", fake.today),
                              Rec(1, "Three", "Home", "http://three.example", fake.today)}));
    // The group each copy added is there too.
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Play", "Home"}));
    EXPECT_EQ(TableNames(appB), (Names{"One", "Two", "Three"}));
    EXPECT_EQ(appB.recordCount, 3);
    EXPECT_EQ(appB.main.Combo1.items(), (Names{"All Groups", "Home", "Play", "Work"}));
    // An addition needs no second attempt, so nobody is told anything.
    EXPECT_TRUE(fakeB.messages.empty());
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Exists(LockPath()));
}

TEST_F(SharedFolderTest, TheOnlyWriterKeepsWritingItsOwnTable) {
    StartBoth();
    AddInA("Two", "Work", "http://two.example");
    AddInA("Three", "Work", "http://three.example");
    Pick("One");
    fake.answers.push_back(MsgResult::OK);
    ASSERT_TRUE(Click(app.main.menunamesdelete));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(1, "Two", "Work", "http://two.example", fake.today),
                              Rec(2, "Three", "Work", "http://three.example", fake.today)}));
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Delete The Bookmark:\rOne\r\rFrom The Group: \rWork\r\r"
                                        "For URL: \rhttp://one.example"}));
}

TEST_F(SharedFolderTest, AnImportAfterTheOtherCopysAddKeepsThatAdd) {
    StartBoth();
    AddInA("Two", "Work", "http://two.example");

    const std::string line = Rec(7, "Shared", "Work", "http://shared.example");
    const std::string path = dir.file("in.tbn");
    WriteBytes(path, FileWithHeader({line}));
    fakeB.modalScripts["frmAddConfirm"] = [this](Form&) { appB.frmAddConfirm.Command1.click(); };
    fakeB.openAnswers.push_back(path);
    ASSERT_TRUE(RunB([this] { appB.main.menuimportfromtabbernfile.click(); }));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Work", "http://two.example", fake.today), line}));
    EXPECT_EQ(TableNames(appB), (Names{"One", "Two", "Shared"}));
    EXPECT_FALSE(Exists(LockPath()));
}

// ---- changes that are refused -------------------------------------------------------------

// A's change of "One" or of its group "Work", made after B added "Two" to the file.
struct RefusedChange {
    const char* what;
    void (*change)(SharedFolderTest&, App&, FakePlatform&);
};

class SharedFolderRefusal : public SharedFolderTest,
                            public ::testing::WithParamInterface<RefusedChange> {};

void DeleteOne(SharedFolderTest& t, App& a, FakePlatform& f) {
    f.answers.push_back(MsgResult::OK);
    ASSERT_TRUE(t.RunA([&] { a.main.menunamesdelete.click(); }));
}
void EditOne(SharedFolderTest& t, App& a, FakePlatform& f) {
    f.modalScripts["frmEditName"] = [&a](Form&) {
        SharedFolderTest::TypeAndSaveIn(a.frmEditName, "Uno", "Work", "http://uno.example");
    };
    ASSERT_TRUE(t.RunA([&] { a.main.menunamesedit.click(); }));
}
void OpenOne(SharedFolderTest& t, App& a, FakePlatform& f) {
    ASSERT_TRUE(t.RunA([&] { List1_DblClick(a); }));
    ASSERT_FALSE(f.openedUrls.empty());
    EXPECT_EQ(f.openedUrls.back(), "http://one.example");
}
void RenameWork(SharedFolderTest& t, App& a, FakePlatform&) {
    EditGroupNameForm& d = a.frmEditGroupName;
    ASSERT_TRUE(t.RunA([&] { a.main.menueditselectedgroup.click(); }));
    ASSERT_TRUE(t.RunA([&] { d.onActivate(); }));
    d.Text3.setText("Job");
    ASSERT_TRUE(t.RunA([&] { d.Command1.click(); }));
}
void DeleteWorkWithItsBookmarks(SharedFolderTest& t, App& a, FakePlatform& f) {
    f.answers.push_back(MsgResult::OK);
    f.answers.push_back(MsgResult::Yes);
    ASSERT_TRUE(t.RunA([&] { a.main.menudeletegroup.click(); }));
}

TEST_P(SharedFolderRefusal, WritesNothingReloadsAndTellsTheUser) {
    StartBoth();
    ChooseGroup("Work");
    Pick("One");
    AddInB("Two", "Home", "http://two.example");
    const std::string store = StoreBytes();
    const std::string groups = GroupBytes();
    ASSERT_EQ(store, FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                                     Rec(1, "Two", "Home", "http://two.example", fake.today)}));
    fake.messages.clear();

    GetParam().change(*this, app, fake);

    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(GroupBytes(), groups);
    ASSERT_FALSE(fake.messages.empty());
    EXPECT_EQ(fake.messages.back().text, kChangedByAnotherCopy);
    EXPECT_EQ(fake.messages.back().title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages.back().buttons, MsgButtons::OK);
    // A now shows the files as they are.
    EXPECT_EQ(TableNames(app), (Names{"One", "Two"}));
    EXPECT_EQ(app.main.List1.items(), (Names{"One", "Two"}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Home", "Work"}));
    EXPECT_FALSE(Exists(LockPath()));

    // Repeated on the reloaded table, the change goes through.
    const std::size_t told = fake.messages.size();
    ChooseGroup("Work");
    Pick("One");
    GetParam().change(*this, app, fake);
    EXPECT_NE(StoreBytes(), store);
    for (std::size_t i = told; i < fake.messages.size(); ++i)
        EXPECT_NE(fake.messages[i].text, kChangedByAnotherCopy);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRewrite, SharedFolderRefusal,
    ::testing::Values(RefusedChange{"Delete", &DeleteOne}, RefusedChange{"Edit", &EditOne},
                      RefusedChange{"Open", &OpenOne}, RefusedChange{"RenameGroup", &RenameWork},
                      RefusedChange{"DeleteGroup", &DeleteWorkWithItsBookmarks}),
    [](const ::testing::TestParamInfo<RefusedChange>& p) { return p.param.what; });

TEST_F(SharedFolderTest, AChangeAfterTheOtherCopyChangedTheGroupFileAloneNamesTheGroupFile) {
    StartBoth();
    appB.main.Combo1.setText("Home");
    ASSERT_TRUE(RunB([this] { appB.main.menuaddgroup.click(); }));
    const std::string groups = GroupBytes();
    ChooseGroup("Work");
    fake.answers = {MsgResult::OK, MsgResult::Yes};

    ASSERT_TRUE(Click(app.main.menudeletegroup));

    EXPECT_EQ(GroupBytes(), groups);
    EXPECT_EQ(Messages().back(), ChangedByAnotherCopy("Group"));
}

// ---- the lock -----------------------------------------------------------------------------

TEST_F(SharedFolderTest, AStaleLockIsTakenOver) {
    StartBoth();
    fs::create_directory(fs::path(LockPath()));
    ASSERT_NO_FATAL_FAILURE(Backdate(fs::path(LockPath()), std::chrono::seconds(30)));

    AddInA("Two", "Work", "http://two.example");

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Work", "http://two.example", fake.today)}));
    EXPECT_FALSE(Exists(LockPath()));
}

TEST_F(SharedFolderTest, AWriteWaitsForAFreshLockToBeReleased) {
    StartBoth();
    const std::string before = StoreBytes();
    // Another copy in the middle of its write.
    fs::create_directory(fs::path(LockPath()));
    std::atomic<bool> released{false};
    std::atomic<bool> storeUntouchedWhileHeld{false};
    std::thread otherCopy([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        storeUntouchedWhileHeld = ReadBytes(File("tabbern.dat")) == before;
        released = true;
        fs::remove(fs::path(LockPath()));
    });

    AddInA("Two", "Work", "http://two.example");
    const bool wroteAfterRelease = released;
    otherCopy.join();

    EXPECT_TRUE(wroteAfterRelease);
    EXPECT_TRUE(storeUntouchedWhileHeld);
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Work", "http://two.example", fake.today)}));
    EXPECT_FALSE(Exists(LockPath()));
}

TEST(DataFolderLock, IsRemovedAlsoWhenTheWriteFails) {
    TempDir folder;
    const std::string lock = folder.file("tabbern.lck");
    try {
        DataFolderLock held(folder.path());
        EXPECT_TRUE(Exists(lock));
        throw FileError("Cannot write", "x", "disk full");
    } catch (const FileError&) {
    }
    EXPECT_FALSE(Exists(lock));
}

TEST(FileFingerprint, TellsAChangedFileFromTheSameBytesWrittenAgain) {
    TempDir folder;
    const std::string path = folder.file("f.dat");
    WriteBytes(path, "abc\r\n");
    const FileFingerprint seen = FingerprintOfFile(path);

    WriteBytes(path, "abc\r\n");
    EXPECT_FALSE(ChangedSince(seen, FingerprintOfFile(path)));
    WriteBytes(path, "abd\r\n"); // same size, other content
    EXPECT_TRUE(ChangedSince(seen, FingerprintOfFile(path)));
    fs::remove(fs::path(path));
    EXPECT_TRUE(ChangedSince(seen, FingerprintOfFile(path)));
    // Nothing seen yet: nothing could be overwritten unseen.
    EXPECT_FALSE(ChangedSince(FileFingerprint{}, FingerprintOfFile(path)));
}

} // namespace
} // namespace tabbern::test
