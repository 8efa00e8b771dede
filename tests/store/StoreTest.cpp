// The bookmark store file and the group file: what a load takes from them, the limits, and the
// bytes of every writer.
#include "store/Store.h"

#include "support/AppFixture.h"

#include <filesystem>

namespace tabbern::test {
namespace {

using namespace std::string_literals;

const std::string kBookmarkLimit =
    "1000 Bookmark Limit Reached. Please Delete Bookmarks Before Adding Additional Bookmarks.";

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
    static Names Numbered(const std::string& prefix, int n, int from = 0) {
        Names out;
        for (int i = from; i < n; ++i)
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
        // Line ends: lone CR, lone LF, LF CR (two), none after the last line.
        {H + "\r" + Rec(0, "cr", "g", "http://a") + "\n" + Rec(0, "lf", "g", "http://b") + "\n\r" +
             Rec(0, "last", "g", "http://c"),
         {"0|cr|g|1/2/2025||http://a", "1|lf|g|1/2/2025||http://b", "2|last|g|1/2/2025||http://c"}},
        // A CR inside a record splits it into two lines that are not records.
        {FileWithHeader({Rec(0, "a\rb", "g", "u")}), {}},
        // Bytes that are not UTF-8 are read in the code page, UTF-8 as UTF-8; NUL bytes stay.
        {FileWithHeader({Rec(0, "Caf\xE9 \xC3(\x80", "\xC9t\xE9", "u")}),
         {"0|Caf\xC3\xA9 \xC3\x83(\xE2\x82\xAC|\xC3\x89t\xC3\xA9|1/2/2025||www.u"}},
        {"\xEF\xBB\xBF" + FileWithHeader({Rec(0, "\xC3\x89t\xC3\xA9 \xF0\x9F\x99\x82", "g", "u")}),
         {"0|\xC3\x89t\xC3\xA9 \xF0\x9F\x99\x82|g|1/2/2025||www.u"}},
        {H + "\r\n" + Rec(0, "Caf\xC3", "g", "u"), {"0|Caf\xC3\x83|g|1/2/2025||www.u"}},
        {FileWithHeader({Rec(0, "a\0b"s, "g", "x\0y"s)}), {"0|a\0b|g|1/2/2025||www.x\0y"s}},
    };
    for (const auto& [bytes, rows] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes).substr(0, 120));
        LoadStoreFrom(bytes);
        EXPECT_EQ(Rows(), rows);
        EXPECT_TRUE(app.bookmarks.row(app.recordCount).isFree());
        EXPECT_EQ(StoreBytes(), bytes);
    }
    EXPECT_TRUE(Messages().empty());
}

TEST(CompleteUrl, TrimsAndPutsWwwBeforeAnAddressThatNamesNoSchemeOrWww) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://example.com", "http://example.com"},
        {"HttpS://Mixed.example", "HttpS://Mixed.example"},
        {"WWW.SHOUT.example", "WWW.SHOUT.example"},
        {"see http://x inside", "see http://x inside"},
        {"   example.com  ", "www.example.com"},
        {"  https://x.example/ ", "https://x.example/"},
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

TEST_F(StoreTest, GroupNamesLoadTrimmedWithoutBlankLinesOrTheHeader) {
    app.groups = {"stale"};
    WriteBytes(File("tabbern.grp"),
               HeaderLine() + "\n\r\n  \nWork\r  " + HeaderLine() + " \n  Family Trips \nwork\n");
    LoadGroups(app);
    EXPECT_EQ(app.groups, (GroupTable{"Work", "Family Trips", "work"}));
    EXPECT_EQ(app.groupCount, 3);

    // A missing group file is created holding its header line.
    std::filesystem::remove(File("tabbern.grp"));
    LoadGroups(app);
    EXPECT_TRUE(app.groups.empty());
    EXPECT_EQ(GroupBytes(), std::string("[ ") + kProductHost +
                                " - Tabbern - Manage your Bookmarks and Favorite websites with "
                                "any web browser - " +
                                kProductHost + " ]\r\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(StoreTest, EachLimitLoadsUpToItsCountOfRecordsNotLinesWithOneMessage) {
    struct Case {
        bool groups;
        int count, loaded;
        bool message;
    };
    for (const Case c : {Case{false, 999, 999, false}, Case{false, 1000, 1000, true},
                         Case{false, 1005, 1000, true}, Case{true, 199, 199, false},
                         Case{true, 200, 200, true}, Case{true, 205, 200, true}}) {
        SCOPED_TRACE(testing::Message() << (c.groups ? "groups " : "bookmarks ") << c.count);
        fake.messages.clear();
        Names lines;
        for (const std::string& n : Numbered("n", c.count)) {
            lines.push_back(c.groups ? n : Rec(0, n, "g", "u"));
            lines.push_back("");
        }
        WriteBytes(File(c.groups ? "tabbern.grp" : "tabbern.dat"), FileWithHeader(lines));
        c.groups ? LoadGroups(app) : LoadStore(app);
        EXPECT_EQ(c.groups ? app.groupCount : app.recordCount, c.loaded);
        EXPECT_EQ(c.groups ? app.groups.back() : app.bookmarks.at(c.loaded - 1, kColName),
                  "n" + std::to_string(c.loaded - 1));
        const std::string message =
            c.groups
                ? "200 Group Limit Reached. Please Delete Groups Before Adding Additional Groups."
                : kBookmarkLimit;
        EXPECT_EQ(Messages(), c.message ? Names{message} : Names{});
    }
}

TEST_F(StoreTest, WhatLiesPastALimitIsNeverLoadedButEveryRewriteKeepsIt) {
    const Names records = [] {
        Names r;
        for (int i = 0; i < 1005; ++i)
            r.push_back(Rec(0, "n" + std::to_string(i), "g", "u"));
        return r;
    }();
    LoadStoreFrom(FileWithHeader(records));
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
    EXPECT_EQ(Messages(), Names{kBookmarkLimit});
    EXPECT_TRUE(AppendStoreRecordLines(app, {Rec(0, "a", "g", "u")}));

    const std::string full = FileWithHeader(Numbered("[r]0[n]n[g][d][l][u]", 1000));
    WriteBytes(File("tabbern.dat"), full);
    EXPECT_FALSE(AppendStoreRecordLines(app, {Rec(0, "b", "g", "u")}));
    EXPECT_EQ(StoreBytes(), full);
}

TEST_F(StoreTest, ARewriteWritesTheRowsTheFilterKeepsInTableOrderWithTheUrlLast) {
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
    ASSERT_TRUE(RewriteStore(app, RowHasRecordNumber));
    EXPECT_NE(StoreBytes().find("[r]2[n]   [g]g"), std::string::npos);
    EXPECT_EQ(StoreBytes().find("No number"), std::string::npos);
}

TEST_F(StoreTest, AnAppendKeepsTheBytesThereAndWritesOnlyNamedRecords) {
    const std::string H = HeaderLine();
    BookmarkRow named, blank;
    named[kColRecord] = "1";
    named[kColName] = "New";
    named[kColUrl] = "u";
    blank = named;
    blank[kColName] = "  ";
    const std::pair<std::string, std::string> cases[] = {
        {"", FileWithHeader({"[r]1[n]New[g][d][l][u]u"})}, // missing: created with the header
        {H + "\n[R]7[N]Old[G][D][L][U]o\n",
         H + "\n[R]7[N]Old[G][D][L][U]o\n[r]1[n]New[g][d][l][u]u\r\n"},
        {H + "\r\nOld", FileWithHeader({"Old", "[r]1[n]New[g][d][l][u]u"})},
    };
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before);
        std::filesystem::remove(File("tabbern.dat"));
        if (!before.empty())
            WriteBytes(File("tabbern.dat"), before);
        ASSERT_TRUE(AppendStoreRecords(app, {named, blank}));
        EXPECT_EQ(StoreBytes(), after);
    }
}

TEST_F(StoreTest, GroupFileWritesLeaveOutWhatTheyAreToldAndAppendsKeepTheBytesThere) {
    app.groups = {"", "Work", " Padded ", "Gone", "two\r\nlines"};
    RewriteGroupFile(app, [](int, const std::string& g) { return g == "Gone"; });
    EXPECT_EQ(GroupBytes(), FileWithHeader({"", "Work", " Padded ", "two  lines"}));

    std::filesystem::remove(File("tabbern.grp"));
    AppendGroupLine(app, "Work");
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work"}));
    WriteBytes(File("tabbern.grp"), HeaderLine() + "\nWork");
    AppendGroupLine(app, "Home");
    EXPECT_EQ(GroupBytes(), HeaderLine() + "\nWork\r\nHome\r\n");
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

TEST_F(StoreTest, ALoadedStoreWrittenBackLoadsAsTheSameTable) {
    const std::pair<std::string, std::string> cases[] = {
        {HeaderLine() + "\r\n" + Rec(17, " Padded ", " G ", "  example.com ", "1/2", "3/4") +
             "\r\n\r\n[R]3[N]Up[G]W[D][L][U]HTTPS://S.example\ndamaged[r]line\r" +
             Rec(0, "Caf\xC3\xA9", "\xC3\x89t\xC3\xA9", "www.x.fr") + "\r\n" +
             Rec(0, "Tab\tin", "g", "http://tab", "", " 9/9 "),
         FileWithHeader({Rec(0, " Padded ", " G ", "www.example.com", "1/2", "3/4"),
                         "[r]1[n]Up[g]W[d][l][u]HTTPS://S.example",
                         "[r]2[n]Caf\xE9[g]\xC9t\xE9[d]1/2/2025[l][u]www.x.fr",
                         Rec(3, "Tab\tin", "g", "http://tab", "", " 9/9 ")})},
        // Found by fuzzing: a header line that is not UTF-8 makes the whole file code page;
        // the name's code-page bytes alone would then pass for UTF-8.
        {"[ x \xFF ]\n[r]0[n]\xC3\x89t\xC3\xA9[g]g[d][l][u]https://x.jp\n",
         FileWithHeader({"[r]0[n]\xC3\x83\xE2\x80\xB0t\xC3\x83\xC2\xA9[g]g[d][l][u]https://x.jp"})},
    };
    for (const auto& [bytes, written] : cases) {
        LoadStoreFrom(bytes);
        const Names loaded = Rows();
        ASSERT_TRUE(RewriteStore(app, RowHasName));
        EXPECT_EQ(StoreBytes(), written);
        LoadStore(app);
        EXPECT_EQ(Rows(), loaded);
    }
}

} // namespace
} // namespace tabbern::test
