// Two running copies on one data folder: neither may overwrite what the other wrote since it
// last read the files. The kill test (hardening/crash_saver.cpp) owns the stale lock.
#include "support/AppFixture.h"

#include "editing/Editing.h"
#include "store/SharedFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;

std::string ChangedByAnotherCopy(const std::string& file) {
    return "The " + file +
           " File Was Changed By Another Copy Of Tabbern. The List Has Been Reloaded; Please "
           "Repeat Your Change.";
}

// The fixture's program is one copy, b a second one started from the same folder; the ignore
// marker lets both start without the already-running question.
class SharedFolderTest : public AppTest {
protected:
    // Both copies started on one bookmark "One" in the group "Work".
    void StartBoth() {
        WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
        WriteBytes(File("tabbern.ign"), "");
        ASSERT_TRUE(Start());
        ASSERT_TRUE(b.Start());
    }
    std::string Lock() const { return File(DataFolderLock::kFileName); }
    Program b{dir.path()};
};

TEST_F(SharedFolderTest, AnAddOverAnOlderTableKeepsTheOtherCopysAdd) {
    StartBoth();
    ASSERT_TRUE(Add("Two", "Play", "http://two.example"));
    ASSERT_TRUE(b.Add("Three", "Home", "http://three.example"));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              Rec(1, "Two", "Play", "http://two.example", fake.today),
                              Rec(1, "Three", "Home", "http://three.example", fake.today)}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Play", "Home"}));
    EXPECT_EQ(b.LoadedNames(), (Names{"One", "Two", "Three"}));
    // An addition needs no second attempt, so nobody is told anything.
    EXPECT_TRUE(b.Messages().empty() && Messages().empty());
}

// A change of "One" or of its group "Work", made after the other copy added "Two". False when
// the program ended.
struct RefusedChange {
    const char* what;
    bool (*change)(Program&);
};
class SharedFolderRefusal : public SharedFolderTest,
                            public ::testing::WithParamInterface<RefusedChange> {};

bool DeleteWorkWithItsBookmarks(Program& a) {
    a.fake.answers = {MsgResult::OK, MsgResult::Yes};
    return a.Click(a.app.main.menudeletegroup);
}

TEST_P(SharedFolderRefusal, WritesNothingReloadsAndTellsTheUser) {
    StartBoth();
    ChooseGroup("Work");
    Pick("One");
    ASSERT_TRUE(b.Add("Two", "Home", "http://two.example"));
    const std::string store = StoreBytes(), groups = GroupBytes();
    fake.messages.clear();

    ASSERT_TRUE(GetParam().change(*this));

    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(GroupBytes(), groups);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), ChangedByAnotherCopy("Bookmark"));
    // This copy now shows the files as they are.
    EXPECT_EQ(app.main.List1.items(), (Names{"One", "Two"}));
    EXPECT_FALSE(Exists(Lock()));

    // Repeated on the reloaded table, the change goes through.
    fake.messages.clear();
    ChooseGroup("Work");
    Pick("One");
    ASSERT_TRUE(GetParam().change(*this));
    EXPECT_NE(StoreBytes(), store);
    for (const std::string& said : Messages())
        EXPECT_NE(said, ChangedByAnotherCopy("Bookmark"));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryRewrite, SharedFolderRefusal, ::testing::Values(
    RefusedChange{"Delete", [](Program& a) {
        a.fake.answers = {MsgResult::OK};
        return a.Click(a.app.main.menunamesdelete);
    }},
    RefusedChange{"Edit", [](Program& a) {
        a.OnShow("frmEditName", [&a](Form&) {
            Program::TypeAndSave(a.app.frmEditName, "Uno", "Work", "http://uno.example");
        });
        return a.Click(a.app.main.menunamesedit);
    }},
    RefusedChange{"Open", [](Program& a) { return a.Run([&] { List1_DblClick(a.app); }); }},
    RefusedChange{"RenameGroup", [](Program& a) {
        EditGroupNameForm& d = a.app.frmEditGroupName;
        d.Text3.setText("Job");
        return a.Click(a.app.main.menueditselectedgroup) && a.Run([&] { d.onActivate(); }) &&
               a.Run([&] { d.Command1.click(); });
    }},
    RefusedChange{"DeleteGroup", &DeleteWorkWithItsBookmarks}),
    [](const auto& p) { return p.param.what; });
// clang-format on

TEST_F(SharedFolderTest, AChangeAfterTheOtherCopyChangedTheGroupFileAloneNamesTheGroupFile) {
    StartBoth();
    b.app.main.Combo1.setText("Home");
    ASSERT_TRUE(b.Click(b.app.main.menuaddgroup));
    const std::string groups = GroupBytes();
    ChooseGroup("Work");
    ASSERT_TRUE(DeleteWorkWithItsBookmarks(*this));
    EXPECT_EQ(GroupBytes(), groups);
    EXPECT_EQ(Messages().back(), ChangedByAnotherCopy("Group"));
}

TEST_F(SharedFolderTest, AWriteWaitsForAFreshLockToBeReleased) {
    StartBoth();
    const std::string before = StoreBytes();
    fs::create_directory(fs::path(Lock())); // another copy in the middle of its write
    std::atomic<bool> released{false}, untouchedWhileHeld{false};
    std::thread otherCopy([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        untouchedWhileHeld = StoreBytes() == before;
        released = true;
        fs::remove(fs::path(Lock()));
    });
    ASSERT_TRUE(Add("Two", "Work", "http://two.example"));
    const bool wroteAfterRelease = released;
    otherCopy.join();

    EXPECT_TRUE(wroteAfterRelease);
    EXPECT_TRUE(untouchedWhileHeld);
    EXPECT_NE(StoreBytes(), before);
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
