// The share file import: which files and lines are accepted, the capacity limit, all or
// nothing, and what the store and the group list hold afterwards.
#include "sharing/SharingFixture.h"

#include "store/FileIo.h"
#include "support/TempDir.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace tabbern::test {
namespace {

using ShareImport = SharingTest;

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST_F(ShareImport, ConfirmedLinesAreAppendedAsReadAndTheGroupsAdded) {
    WriteStore({Rec(0, "One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("in.tbn");
    // The header in other letter case and with blanks; tags in capitals; lines not records.
    WriteBytes(path,
               Lines({"  " + Upper(HeaderLine()) + " ",
                      "[R]5[N] Two [G]Home[D]1/5/2025[L][U]http://two.example  ", "no tags here",
                      "", "[r]7[n]Three[g]Work[d]1/6/2025[l]2/6/2025[u] three.example"}));
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(), "Two\r\nhttp://two.example\r\nThree\r\nthree.example\r\n");
        EXPECT_FALSE(d.GroupList.visible());
        EXPECT_FALSE(d.GroupList.enabled());
        d.Command1.click();
    });

    ASSERT_TRUE(ImportShare("  " + path + " "));

    EXPECT_EQ(StoreBytes(),
              FileWithHeader({Rec(0, "One", "Work", "http://one.example"),
                              "[R]5[N] Two [G]Home[D]1/5/2025[L][U]http://two.example",
                              "[r]7[n]Three[g]Work[d]1/6/2025[l]2/6/2025[u] three.example"}));
    EXPECT_EQ(app.recordCount, 3);
    EXPECT_EQ(app.bookmarks.at(2, kColUrl), "www.three.example");
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Home"}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Home", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_EQ(app.main.List1.items(), (Names{"One", " Two ", "Three"}));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(fake.fileDialogs.at(0).fileName, "*.tbn");
    EXPECT_EQ(fake.fileDialogs.at(0).filters.at(0).pattern, "*.tbn");

    // No check for duplicates: a second import stores the bookmarks again.
    ASSERT_TRUE(ImportShare(path));
    EXPECT_EQ(app.recordCount, 5);
}

TEST_F(ShareImport, FilesThatHoldNothingToImportAreAnsweredBeforeTheDialog) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();
    const std::string headerOnly = SharePath("header.tbn");
    WriteBytes(headerOnly, Lines({HeaderLine(), "not a record"}));
    const std::string wrongHeader = SharePath("wrong.tbn");
    WriteBytes(wrongHeader, Lines({"[ some other file ]", ShareRecords(1)[0]}));
    const std::string empty = SharePath("empty.tbn");
    WriteBytes(empty, "");
    const std::string missing = SharePath("missing.tbn");

    for (const std::string& path : {headerOnly, wrongHeader, empty, missing})
        ASSERT_TRUE(ImportShare(path));
    // A cancelled dialog answers empty or with the name it was given.
    ASSERT_TRUE(ImportShare(""));
    ASSERT_TRUE(ImportShare(" *.TBN "));

    EXPECT_EQ(Messages(), (Names{"Not A Valid Tabbern Data File", "Not A Valid Tabbern Data File",
                                 "Cannot Read The File:\r" + missing + "\r" +
                                     std::generic_category().message(ENOENT)}));
    EXPECT_TRUE(ShownForms().empty());
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(ShareImport, CancellingTheConfirmationStoresNothing) {
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();
    const std::string groupsBefore = GroupBytes();
    const std::string path = SharePath("in.tbn");
    WriteBytes(path, FileWithHeader(ShareRecords(2)));
    ConfirmImport(false);

    ASSERT_TRUE(ImportShare(path));

    EXPECT_EQ(ShownForms(), Names{"frmAddConfirm"});
    EXPECT_FALSE(app.importConfirmed);
    EXPECT_EQ(app.frmAddConfirm.Text1.text(), "");
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(GroupBytes(), groupsBefore);
}

class ShareImportCapacity : public ShareImport {
protected:
    // A started program holding `stored` bookmarks, and a share file of `shared` records.
    void Prepare(int stored, int shared) {
        std::vector<std::string> records;
        for (int i = 0; i < stored; ++i)
            records.push_back(Record("B" + std::to_string(i), "Work", "http://b.example"));
        WriteStore(records, {"Work"});
        ASSERT_TRUE(StartQuietly());
        path = SharePath("in.tbn");
        WriteBytes(path, FileWithHeader(ShareRecords(shared)));
        before = StoreBytes();
        ConfirmImport();
    }
    std::string path, before;
};

TEST_F(ShareImportCapacity, AFileReachingTheFreeCapacityIsRefusedWhole) {
    Prepare(995, 5);
    ASSERT_TRUE(ImportShare(path));
    EXPECT_EQ(Messages(), Names{"Maximum Database Record Count of 5Bookmarks Reached! Remove "
                                "5Bookmarks and Re-Import"});
    EXPECT_TRUE(ShownForms().empty());
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(ShareImportCapacity, AFileBelowTheFreeCapacityIsImported) {
    Prepare(995, 4);
    ASSERT_TRUE(ImportShare(path));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(app.recordCount, 999);
}

TEST_F(ShareImportCapacity, AFullStoreRefusesTheFirstLine) {
    Prepare(1000, 1);
    ASSERT_TRUE(ImportShare(path));
    EXPECT_EQ(Messages(), Names{"Maximum Database Record Count of 0Bookmarks Reached! Remove "
                                "0Bookmarks and Re-Import"});
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(ShareImport, TheAddedGroupComesFromTheLastLineRead) {
    WriteStore({}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("in.tbn");
    // A trailing line that is no record: the "Misc - " group of today is added, and the
    // records bring their own groups.
    WriteBytes(path, FileWithHeader({Record("A", "Alpha", "http://a"), Record("B", "", "http://b"),
                                     "trailing words"}));
    ConfirmImport();

    ASSERT_TRUE(ImportShare(path));

    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Misc - 12/6/2026", "Alpha"}));
    EXPECT_EQ(app.bookmarks.at(1, kColGroup), "");

    WriteBytes(path, FileWithHeader({Record("C", " Gamma ", "http://c")}));
    ASSERT_TRUE(ImportShare(path));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Alpha", "Misc - 12/6/2026", "Work", "Gamma"}));
}

TEST_F(ShareImport, ARoundTripGivesTheSameRecordsInAnEmptyFolder) {
    WriteStore({Record("One", "Work", "http://one.example", "1/1/2025", "2/2/2025"),
                Record("Two", "", "www.two.example/ä?q=1", "1/2/2025"),
                Record("Three", "Home", "https://three.example", "1/3/2025")},
               {"Work", "Home"});
    ASSERT_TRUE(StartQuietly());
    const std::string path = SharePath("all.tbn");
    fake.saveAnswers.push_back(path);
    ASSERT_TRUE(Click(app.main.menuexporttotabbernfile));

    TempDir other;
    FakePlatform otherFake(other.path());
    App otherApp(otherFake);
    otherFake.openAnswers.push_back(path);
    otherFake.modalScripts["frmAddConfirm"] = [&](Form&) {
        otherApp.frmAddConfirm.Command1.click();
    };
    Dispatch(otherApp, [&] { MainForm_Load(otherApp); });
    Dispatch(otherApp, [&] { otherApp.main.menuimportfromtabbernfile.click(); });

    ASSERT_EQ(otherApp.recordCount, 3);
    for (int r = 0; r < 3; ++r)
        for (int c : {kColRecord, kColName, kColGroup, kColDateAdded, kColUrl, kColLastAccessed})
            EXPECT_EQ(otherApp.bookmarks.at(r, c), app.bookmarks.at(r, c)) << r << "/" << c;
}

TEST_F(ShareImport, AReadOnlyDataFolderLeavesTheStoreAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX only: a Windows folder has no write permission bit to take away";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into read-only folders";
    WriteStore({Record("One", "Work", "http://one.example")}, {"Work"});
    ASSERT_TRUE(StartQuietly());
    const std::string before = StoreBytes();
    const std::string path = SharePath("in.tbn");
    WriteBytes(path, FileWithHeader(ShareRecords(3)));
    ConfirmImport();
    namespace fs = std::filesystem;
    fs::permissions(dir.path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    const bool goesOn = ImportShare(path);

    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(goesOn);
    EXPECT_EQ(StoreBytes(), before);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_FALSE(IsTemporarySaveFile(entry.path().filename().string())) << entry.path();
#endif
}

} // namespace
} // namespace tabbern::test
