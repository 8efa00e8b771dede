// The store and group files: what a load takes, the limits, the writers' bytes, and the start-up
// check (a missing or empty file gets its header line, a damaged one is replaced only on Yes with
// its bytes kept beside it, and No ends the program); the fuzz harnesses store_loader and
// group_loader own the round trips.
#include "store/Store.h"

#include "support/AppFixture.h"

#include "editing/Editing.h"
#include "store/SharedFolder.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <thread>

namespace tabbern::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class StoreTest : public AppTest {
protected:
    void SetUp() override { PrepareFolders(); }

    // "record|name|group|added|accessed|url" of every loaded row.
    Names Rows() const {
        Names rows;
        for (int r = 0; r < app.recordCount; ++r) {
            const BookmarkRow& row = app.bookmarks.row(r);
            rows.push_back(row[kColRecord] + "|" + row[kColName] + "|" + row[kColGroup] + "|" +
                           row[kColDateAdded] + "|" + row[kColLastAccessed] + "|" + row[kColUrl]);
        }
        return rows;
    }
    void SetRow(int r, const Names& f) {
        BookmarkRow& row = app.bookmarks.row(r);
        for (int c : {kColRecord, kColName, kColGroup, kColDateAdded, kColUrl, kColLastAccessed})
            row[c] = f.at(static_cast<std::size_t>(c - 1));
    }
    void LoadStoreFrom(const std::string& bytes) {
        WriteBytes(File("tabbern.dat"), bytes);
        LoadStore(app);
    }
    static Names Numbered(const std::string& prefix, int n) {
        Names out;
        for (int i = 0; i < n; ++i)
            out.push_back(prefix + std::to_string(i));
        return out;
    }
};

TEST_F(StoreTest, ALoadTakesTheFieldsOfEveryRecordLineAndCompletesTheUrl) {
    const std::string H = HeaderLine();
    const std::pair<std::string, Names> cases[] = {
        {FileWithHeader({Rec(7, "Example", "Work", "http://example.com/a?b=c", "1/2/2025", "3/4"),
                         "[R]x[N]Caps[G]G[D]5/6[L][U]HTTPS://caps.example",
                         "[r]0[n][g]Work[d][l][u]"}),
         {"0|Example|Work|1/2/2025|3/4|http://example.com/a?b=c",
          "1|Caps|G|5/6||HTTPS://caps.example", "2||Work|||"}},
        {FileWithHeader({Rec(0, " Pad ", " Group ", "  example.com ", " 1/2 ", " 3/4 "),
                         Rec(0, "S", "g", "  https://secure.example/  "),
                         Rec(0, "P", "g", "intranet/www.page")}),
         {"0| Pad | Group | 1/2 | 3/4 |www.example.com", "1|S|g|1/2/2025||https://secure.example/",
          "2|P|g|1/2/2025||intranet/www.page"}},
        // Lines that are not records: blank, the header again, a tag missing, tags out of order.
        {FileWithHeader({"", "   ", H, "[r]0[n]a[g]g[d][u]u", "[n]b[r]0[g][d][l][u]u", "text",
                         "[r]1[r]2[n]A[n]B[g]Tom[g]Jerry[d][l][u]U[u]V"}),
         {"0|A[n]B|Tom[g]Jerry|||www.U[u]V"}},
        // A CR inside a record splits it into two lines that are not records; NUL bytes stay.
        {FileWithHeader({Rec(0, "a\rb", "g", "u")}), {}},
        {FileWithHeader({Rec(0, "a\0b"s, "g", "x\0y"s)}), {"0|a\0b|g|1/2/2025||www.x\0y"s}},
    };
    for (const auto& [bytes, rows] : cases) {
        LoadStoreFrom(bytes);
        EXPECT_EQ(Rows(), rows) << testing::PrintToString(bytes).substr(0, 120);
    }
}

TEST(CompleteUrl, TrimsAndPutsWwwBeforeAnAddressThatNamesNoSchemeOrWww) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://example.com", "http://example.com"},
        {"WWW.SHOUT.example", "WWW.SHOUT.example"},
        {"see http://x inside", "see http://x inside"},
        {"go:HTTPS://x", "go:HTTPS://x"},
        {"   example.com  ", "www.example.com"},
        {"http:example.com", "www.http:example.com"},
        {"ftp://files.example", "www.ftp://files.example"},
        {"wwwexample.com", "www.wwwexample.com"},
        {"   ", ""},
    };
    for (const auto& [in, out] : cases) {
        std::string url = in;
        EXPECT_EQ(CompleteUrl(url), out) << in;
        EXPECT_EQ(url, out) << in;
    }
}

TEST_F(StoreTest, TheGroupLimitLoadsUpToItsCountOfNamesNotLinesWithOneMessage) {
    for (const auto& [count, loaded] : {std::pair{199, 199}, {200, 200}, {205, 200}}) {
        SCOPED_TRACE(count);
        fake.messages.clear();
        Names lines;
        for (const std::string& n : Numbered("n", count))
            lines.insert(lines.end(), {n, ""});
        WriteBytes(File("tabbern.grp"), FileWithHeader(lines));
        LoadGroups(app);
        EXPECT_EQ(app.groupCount, loaded);
        EXPECT_EQ(app.groups.back(), "n" + std::to_string(loaded - 1));
        EXPECT_EQ(fake.messages.size(), count >= 200 ? 1u : 0u); // the limit reached
    }
}

TEST_F(StoreTest, WhatLiesPastALimitIsNeverLoadedButEveryRewriteKeepsIt) {
    Names records;
    for (const std::string& n : Numbered("n", 1005))
        records.push_back(Rec(0, n, "g", "u"));
    LoadStoreFrom(FileWithHeader(records));
    EXPECT_EQ(app.recordCount, 1000);
    EXPECT_EQ(fake.messages.size(), 1u); // the limit reached
    app.bookmarks.at(3, kColName).clear();
    ASSERT_TRUE(RewriteStore(app, RowHasName));
    Names kept;
    for (int i = 0; i < 1005; ++i)
        if (i != 3)
            kept.push_back(i < 1000 ? Rec(i, "n" + std::to_string(i), "g", "www.u") : records[i]);
    EXPECT_TRUE(StoreBytes() == FileWithHeader(kept));

    const Names names = Numbered("g", 205);
    WriteBytes(File("tabbern.grp"), FileWithHeader(names));
    app.bookmarks.clearAll();
    SetRow(0, {"0", "a", "G203", "", "u", ""});
    LoadGroups(app);
    AddMissingGroups(app);
    EXPECT_EQ(GroupBytes(), FileWithHeader(names));
    ASSERT_TRUE(RewriteGroupFile(app, [](int, const std::string& g) { return g == "g202"; }));
    Names rest = names;
    rest.erase(rest.begin() + 202);
    EXPECT_EQ(GroupBytes(), FileWithHeader(rest));
}

TEST_F(StoreTest, AFullStoreTakesNoAppendEvenWhenAnotherCopyFilledIt) {
    LoadStoreFrom(FileWithHeader(Numbered("[r]0[n]n[g][d][l][u]", 999)));
    const std::string before = StoreBytes();
    EXPECT_FALSE(AppendStoreRecordLines(app, {Rec(0, "a", "g", "u"), Rec(0, "b", "g", "u")}));
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(fake.messages.size(), 1u); // the limit reached
    EXPECT_TRUE(AppendStoreRecordLines(app, {Rec(0, "a", "g", "u")}));

    const std::string full = FileWithHeader(Numbered("[r]0[n]n[g][d][l][u]", 1000));
    WriteBytes(File("tabbern.dat"), full);
    EXPECT_FALSE(AppendStoreRecordLines(app, {Rec(0, "b", "g", "u")}));
    EXPECT_EQ(StoreBytes(), full);
}

TEST_F(StoreTest, ARewriteWritesWhatTheFilterKeepsInTableOrderWithBlanksForLineEnds) {
    SetRow(0, {"5", "Zebra", "Animals", "1/2", "http://z.example/?q=[u]", "3/4"});
    SetRow(1, {"0", " Aardvark ", "", "", "www.a.example", ""});
    SetRow(2, {"2", "   ", "g", "", "http://blank", ""});
    SetRow(3, {"  ", "No number", "g", "", "http://d", ""});
    SetRow(4, {"4", "two\r\nlines", "a\rb", "", "http://x/\n", "x\ry"});
    SetRow(1000, {"1000", "spare", "g", "", "http://spare", ""});
    WriteBytes(File("tabbern.dat"), "old content\r\n");

    ASSERT_TRUE(RewriteStore(app, RowHasName));
    EXPECT_EQ(StoreBytes(),
              FileWithHeader({"[r]5[n]Zebra[g]Animals[d]1/2[l]3/4[u]http://z.example/?q=[u]",
                              "[r]0[n] Aardvark [g][d][l][u]www.a.example",
                              "[r]  [n]No number[g]g[d][l][u]http://d",
                              "[r]4[n]two  lines[g]a b[d][l]x y[u]http://x/ ",
                              "[r]1000[n]spare[g]g[d][l][u]http://spare"}));

    app.groups = {"", "Work", "Gone", "two\r\nlines"};
    ASSERT_TRUE(RewriteGroupFile(app, [](int, const std::string& g) { return g == "Gone"; }));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Work", "two  lines"}));
}

TEST_F(StoreTest, AMissingFileIsCreatedWithItsHeaderLineAndAnAppendTakesOnlyNamedRecords) {
    app.groups = {"stale"};
    LoadGroups(app);
    EXPECT_TRUE(app.groups.empty());
    EXPECT_EQ(GroupBytes(), std::string("[ ") + kProductHost +
                                " - Tabbern - Manage your Bookmarks and Favorite websites with "
                                "any web browser - " +
                                kProductHost + " ]\r\n");
    SetRow(0, {"1", "New", "", "", "u", ""});
    SetRow(1, {"2", "  ", "", "", "u", ""});
    ASSERT_TRUE(AppendStoreRecords(app, {app.bookmarks.row(0), app.bookmarks.row(1)}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({"[r]1[n]New[g][d][l][u]u"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(StoreTest, GroupsTheBookmarksUseAreAddedOnceAsFirstWrittenWhateverTheirCase) {
    app.groups = {"", "Home", " \xC3\x89t\xC3\xA9 "};
    WriteBytes(File("tabbern.grp"), FileWithHeader({"Home", "\xC9t\xE9"}));
    const char* groups[] = {"Work",     " home ", "  ",    "work", "\xC3\xA9T\xC3\x89",
                            " Travel ", "WORK",   "travel"};
    for (int r = 0; r < 8; ++r)
        SetRow(r, {std::to_string(r), "n", groups[r], "", "u", ""});
    SetRow(1000, {"1000", "spare", "Spare", "", "u", ""});

    AddMissingGroups(app);

    EXPECT_EQ(app.groups,
              (GroupTable{"", "Home", " \xC3\x89t\xC3\xA9 ", "Work", "Travel", "Spare"}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Home", "\xC9t\xE9", "Work", "Travel", "Spare"}));
}

// The store file or the group file, by name.
class CheckDataFile : public AppTest, public ::testing::WithParamInterface<std::string> {
protected:
    std::string Path() const { return app.dataFile(GetParam()); }
    bool Check() {
        return Run(
            [this] { (GetParam() == "tabbern.dat" ? CheckStoreFile : CheckGroupFile)(app); });
    }
};

TEST_P(CheckDataFile, OnlyTheHeaderAsTheWholeFirstLineIsIntactAndYesKeepsADamagedCopy) {
    PrepareFolders();
    EXPECT_TRUE(Check()); // a missing file gets its header line
    EXPECT_EQ(ReadBytes(Path()), FileWithHeader({}));
    fake.hiddenFiles.insert(Path()); // a hidden file is still the user's data
    std::string upper = HeaderLine();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string rest = Rec(0, "Kept", "Work", "http://kept.example") + "\r\nnot a record\r\n";
    const std::pair<std::string, bool> cases[] = {
        // the file, damaged
        {"", false},
        {upper + "\r\n" + rest, false},
        {"   " + HeaderLine() + "  \n" + rest, false},
        {HeaderLine() + "\r" + rest, false},
        {HeaderLine(), false},
        {HeaderLine() + "\r\n\xFF\xFE garbage\r\n", false},
        {"\r\n" + HeaderLine() + "\r\n", true},
        {HeaderLine() + " extra\r\n", true},
        {HeaderLine().substr(1) + "\r\n", true},
        {std::string("\0", 1) + HeaderLine(), true},
        {std::string(4096, '\0'), true},
    };
    std::string copy = Path() + ".bad";
    for (int copies = 1; const auto& [bytes, damaged] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes).substr(0, 60));
        fake.messages.clear();
        fake.answers = {MsgResult::Yes};
        WriteBytes(Path(), bytes);
        EXPECT_TRUE(Check());
        EXPECT_EQ(fake.messages.size(), damaged ? 1u : 0u); // the question whether to replace it
        // An empty file holds nothing to lose and gets its header line.
        EXPECT_EQ(ReadBytes(Path()), damaged || bytes.empty() ? FileWithHeader({}) : bytes);
        if (damaged) {
            EXPECT_EQ(ReadBytes(copy), bytes);
            copy = Path() + ".bad" + std::to_string(++copies);
        }
    }
}

TEST_P(CheckDataFile, NoEndsTheProgramKeepsTheFileAndDeletesTheMarkersOfTheProgramFolder) {
    const std::string data = dir.makeDir("data");
    WriteBytes(File("tabbern.sdf"), data + "\r\n");
    PrepareFolders();
    const std::string damaged = "damaged\r\n";
    WriteBytes(Path(), damaged);
    for (const char* marker : {"tabbern.run", "tabbern.min", "tabbern.ign"})
        WriteBytes(File(marker), "Tabbern\r\n");
    fake.answers = {MsgResult::No};

    EXPECT_FALSE(Check());

    EXPECT_EQ(fake.messages.at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadBytes(Path()), damaged);
    EXPECT_FALSE(Exists(File("tabbern.run")) || Exists(File("tabbern.min")));
    EXPECT_TRUE(Exists(File("tabbern.ign")));
    EXPECT_FALSE(Exists(File(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(, CheckDataFile, ::testing::Values("tabbern.dat", "tabbern.grp"),
                         [](const auto& p) { return p.param.substr(8); }); // dat, grp

// Two running copies on one data folder: neither may overwrite what the other wrote since it
// last read the files. The kill test (hardening/crash_saver.cpp) owns the stale lock.
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
