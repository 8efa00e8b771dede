// The bookmark store file and the group file: loading, the URL completion, every writer, and
// the code page of what is written. Expected file bytes are spelled out in the tests.
#include "store/Store.h"

#include "support/AppFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tabbern::test {
namespace {

// Columns 1 to 6 of a row: record number, name, group, date added, URL, last accessed.
using Fields = std::vector<std::string>;

constexpr const char* kBookmarkLimitText =
    "1000 Bookmark Limit Reached. Please Delete Bookmarks Before Adding Additional Bookmarks.";
constexpr const char* kGroupLimitText =
    "200 Group Limit Reached. Please Delete Groups Before Adding Additional Groups.";

// The same texts in memory (UTF-8) and as Windows-1252 bytes.
const std::string kCafe = "Caf\xC3\xA9"; // Café
const std::string kCafeCp = "Caf\xE9";
const std::string kEcole = "\xC3\x89"
                           "cole"; // École
const std::string kEcoleCp = "\xC9"
                             "cole";
const std::string kEcoleLowerUpper = "\xC3\xA9"
                                     "COLE";  // éCOLE
const std::string kEte = "\xC3\x89t\xC3\xA9"; // Été
const std::string kEteCp = "\xC9t\xE9";
const std::string kEuro = "\xE2\x82\xAC"; // €
const std::string kEuroCp = "\x80";
const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC"; // 日本, outside the code page

class StoreFixture : public AppTest {
protected:
    void SetUp() override { PrepareFolders(); }

    std::string StorePath() const { return dir.file("tabbern.dat"); }
    std::string GroupPath() const { return dir.file("tabbern.grp"); }

    Fields RowFields(int r) const {
        const BookmarkRow& row = app.bookmarks.row(r);
        return {row[kColRecord],    row[kColName], row[kColGroup],
                row[kColDateAdded], row[kColUrl],  row[kColLastAccessed]};
    }
    void SetRow(int r, const Fields& f) {
        BookmarkRow& row = app.bookmarks.row(r);
        row[kColRecord] = f.at(0);
        row[kColName] = f.at(1);
        row[kColGroup] = f.at(2);
        row[kColDateAdded] = f.at(3);
        row[kColUrl] = f.at(4);
        row[kColLastAccessed] = f.at(5);
    }
    static BookmarkRow MakeRow(const Fields& f) {
        BookmarkRow row;
        row[kColRecord] = f.at(0);
        row[kColName] = f.at(1);
        row[kColGroup] = f.at(2);
        row[kColDateAdded] = f.at(3);
        row[kColUrl] = f.at(4);
        row[kColLastAccessed] = f.at(5);
        return row;
    }
    // Every row of the table, free ones included.
    std::vector<Fields> AllRows() const {
        std::vector<Fields> rows;
        for (int r = 0; r < BookmarkTable::kRows; ++r)
            rows.push_back(RowFields(r));
        return rows;
    }
    bool RowIsFree(int r) const { return RowFields(r) == Fields(6); }

    // n records named "n0", "n1", ... with URLs "http://h/0", ...
    static std::vector<std::string> NumberedRecords(int n) {
        std::vector<std::string> lines;
        for (int i = 0; i < n; ++i)
            lines.push_back(Record("n" + std::to_string(i), "g", "http://h/" + std::to_string(i)));
        return lines;
    }

    void LoadStoreFrom(const std::string& bytes) {
        WriteBytes(StorePath(), bytes);
        LoadStore(app);
    }
    void LoadGroupsFrom(const std::string& bytes) {
        WriteBytes(GroupPath(), bytes);
        LoadGroups(app);
    }
};

class StoreHeader : public StoreFixture {};
class StoreLoad : public StoreFixture {};
class StoreLimit : public StoreFixture {};
class StoreLoadGroups : public StoreFixture {};
class StoreRewrite : public StoreFixture {};
class StoreAppend : public StoreFixture {};
class StoreGroupFile : public StoreFixture {};
class StoreAddMissingGroups : public StoreFixture {};
class StoreCodePage : public StoreFixture {};
class StoreRoundTrip : public StoreFixture {};

// ---- header line --------------------------------------------------------------------------

TEST_F(StoreHeader, BothFilesCarryTheFixedHeaderLine) {
    const std::string header =
        std::string("[ ") + kProductHost +
        " - Tabbern - Manage your Bookmarks and Favorite websites with any web browser - " +
        kProductHost + " ]";
    EXPECT_EQ(app.storeHeaderLine, header);
    EXPECT_EQ(app.groupHeaderLine, header);
    EXPECT_EQ(FileWithHeader({}), header + "\r\n"); // the fixture's files start with it too
}

// ---- LoadStore ----------------------------------------------------------------------------

TEST_F(StoreLoad, SplitsTheSixFieldsIntoTheirColumns) {
    LoadStoreFrom(FileWithHeader({
        Record("Example", "Work", "http://example.com/a?b=c", "1/2/2025", "3/4/2025"),
        "[R]0[N]Shouting[G]Caps[D]5/6/2025[L]7/8/2025[U]https://caps.example",
        "[r]0[N]Mixed[g]Tags[D][l][U]http://mixed.example",
    }));
    ASSERT_EQ(app.recordCount, 3);
    EXPECT_EQ(RowFields(0),
              (Fields{"0", "Example", "Work", "1/2/2025", "http://example.com/a?b=c", "3/4/2025"}));
    EXPECT_EQ(RowFields(1),
              (Fields{"1", "Shouting", "Caps", "5/6/2025", "https://caps.example", "7/8/2025"}));
    EXPECT_EQ(RowFields(2), (Fields{"2", "Mixed", "Tags", "", "http://mixed.example", ""}));
    EXPECT_TRUE(RowIsFree(3));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreLoad, NumbersRecordsInFileOrderWhateverTheirRecordFieldsHold) {
    LoadStoreFrom(FileWithHeader({
        Record("a", "g", "http://a", "1/2/2025", "", "7"),
        Record("b", "g", "http://b", "1/2/2025", "", "not a number"),
        Record("c", "g", "http://c", "1/2/2025", "", ""),
        Record("d", "g", "http://d", "1/2/2025", "", "0"),
    }));
    ASSERT_EQ(app.recordCount, 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(app.bookmarks.at(r, kColRecord), std::to_string(r));
    EXPECT_EQ(app.bookmarks.at(1, kColName), "b");
    EXPECT_EQ(app.bookmarks.at(3, kColName), "d");
}

TEST_F(StoreLoad, CompletesAndTrimsTheUrlButLeavesOtherFieldsAsWritten) {
    LoadStoreFrom(FileWithHeader({
        Record("  Padded name ", " Group ", "example.com", " 1/2/2025 ", " 3/4/2025 "),
        Record("Leading", "g", "   http://lead.example/  "),
        Record("Bare path", "g", "  intranet/page "),
    }));
    ASSERT_EQ(app.recordCount, 3);
    EXPECT_EQ(RowFields(0), (Fields{"0", "  Padded name ", " Group ", " 1/2/2025 ",
                                    "www.example.com", " 3/4/2025 "}));
    EXPECT_EQ(app.bookmarks.at(1, kColUrl), "http://lead.example/");
    EXPECT_EQ(app.bookmarks.at(2, kColUrl), "www.intranet/page");
}

TEST_F(StoreLoad, EmptyNameAndEmptyUrlLoadAsEmpty) {
    LoadStoreFrom(FileWithHeader({"[r]0[n][g]Work[d]1/2/2025[l][u]", Record("", "", "   ")}));
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(RowFields(0), (Fields{"0", "", "Work", "1/2/2025", "", ""}));
    EXPECT_EQ(RowFields(1), (Fields{"1", "", "", "1/2/2025", "", ""}));
}

TEST_F(StoreLoad, SkipsHeaderBlankAndDamagedLines) {
    LoadStoreFrom(FileWithHeader({
        "",
        Record("first", "g", "http://1"),
        "   ",
        "[r]0[n]no last accessed[g]g[d]1/2/2025[u]http://x",
        "[r]0[n]no url[g]g[d]1/2/2025[l]",
        "[n]no record tag[g]g[d]1/2/2025[l][u]http://x",
        "[r]0[n]out of order[d]1/2/2025[g]g[l][u]http://x",
        "just some text",
        HeaderLine(),
        Record("second", "g", "http://2"),
    }));
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.bookmarks.at(0, kColName), "first");
    EXPECT_EQ(app.bookmarks.at(1, kColName), "second");
    EXPECT_TRUE(RowIsFree(2));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreLoad, EndsLinesAtLoneCrAndLoneLf) {
    LoadStoreFrom(HeaderLine() + "\r" + Record("cr", "g", "http://cr") + "\n" +
                  Record("lf", "g", "http://lf") + "\r\n" + Record("last", "g", "http://last"));
    ASSERT_EQ(app.recordCount, 3);
    EXPECT_EQ(RowFields(0), (Fields{"0", "cr", "g", "1/2/2025", "http://cr", ""}));
    EXPECT_EQ(RowFields(1), (Fields{"1", "lf", "g", "1/2/2025", "http://lf", ""}));
    EXPECT_EQ(RowFields(2), (Fields{"2", "last", "g", "1/2/2025", "http://last", ""}));
}

TEST_F(StoreLoad, AGroupTagInsideANameCutsTheNameThere) {
    SetRow(0, {"0", "Tom[g]Jerry", "Cartoons", "1/2/2025", "http://tj.example", ""});
    RewriteStore(app, RowHasName);
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 1);
    EXPECT_EQ(RowFields(0),
              (Fields{"0", "Tom", "Jerry[g]Cartoons", "1/2/2025", "http://tj.example", ""}));
}

TEST_F(StoreLoad, MissingFileLeavesTheTableAsItWas) {
    SetRow(0, {"0", "kept", "g", "1/2/2025", "http://kept", ""});
    app.recordCount = 1;
    LoadStore(app);
    EXPECT_EQ(app.recordCount, 1);
    EXPECT_EQ(RowFields(0), (Fields{"0", "kept", "g", "1/2/2025", "http://kept", ""}));
    EXPECT_FALSE(Exists(StorePath()));
}

TEST_F(StoreLoad, EmptyOrHeaderOnlyFileClearsTheTable) {
    for (const std::string& bytes : {std::string(), FileWithHeader({})}) {
        SCOPED_TRACE(bytes);
        SetRow(0, {"0", "stale", "g", "1/2/2025", "http://stale", ""});
        SetRow(1000, {"1000", "spare", "g", "1/2/2025", "http://spare", ""});
        app.recordCount = 1;
        LoadStoreFrom(bytes);
        EXPECT_EQ(app.recordCount, 0);
        EXPECT_TRUE(RowIsFree(0));
        EXPECT_TRUE(RowIsFree(1000));
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreLoad, ReloadFreesRowsBeyondTheNewCount) {
    LoadStoreFrom(FileWithHeader(NumberedRecords(5)));
    ASSERT_EQ(app.recordCount, 5);
    LoadStoreFrom(FileWithHeader({Record("only", "g", "http://only")}));
    EXPECT_EQ(app.recordCount, 1);
    EXPECT_EQ(app.bookmarks.at(0, kColName), "only");
    for (int r = 1; r < 5; ++r)
        EXPECT_TRUE(RowIsFree(r)) << "row " << r;
}

// ---- bookmark limit -----------------------------------------------------------------------

TEST_F(StoreLimit, ExactlyAThousandRecordsLoadAllAndWarnOnce) {
    LoadStoreFrom(FileWithHeader(NumberedRecords(1000)));
    EXPECT_EQ(app.recordCount, 1000);
    EXPECT_EQ(RowFields(999), (Fields{"999", "n999", "g", "1/2/2025", "http://h/999", ""}));
    EXPECT_TRUE(RowIsFree(1000));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, kBookmarkLimitText);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OK);
}

TEST_F(StoreLimit, RecordsBeyondTheLimitAreNotLoadedButEveryRewriteKeepsThem) {
    const std::vector<std::string> records = NumberedRecords(1005);
    LoadStoreFrom(FileWithHeader(records));
    EXPECT_EQ(app.recordCount, 1000);
    EXPECT_EQ(app.bookmarks.at(999, kColName), "n999");
    EXPECT_TRUE(RowIsFree(1000));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, kBookmarkLimitText);

    app.bookmarks.at(3, kColName).clear(); // deleted
    ASSERT_TRUE(RewriteStore(app, RowHasName));
    // The loaded ones renumbered as every rewrite writes them, the rest as they were.
    std::vector<std::string> kept;
    for (int i = 0; i < 1005; ++i)
        if (i != 3)
            kept.push_back(i < 1000 ? Record("n" + std::to_string(i), "g",
                                             "http://h/" + std::to_string(i), "1/2/2025", "",
                                             std::to_string(i))
                                    : records[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(ReadBytes(StorePath()) == FileWithHeader(kept));
    // Now that there is room, the next load shows the first of them.
    LoadStore(app);
    EXPECT_EQ(app.bookmarks.at(999, kColName), "n1000");
}

TEST_F(StoreLimit, AFullStoreTakesNoAppendAndSaysSo) {
    LoadStoreFrom(FileWithHeader(NumberedRecords(999)));
    const std::string before = ReadBytes(StorePath());
    const std::vector<std::string> two = {Record("a", "g", "http://a"),
                                          Record("b", "g", "http://b")};
    EXPECT_FALSE(AppendStoreRecordLines(app, two));
    EXPECT_EQ(ReadBytes(StorePath()), before);
    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{kBookmarkLimitText});
    EXPECT_TRUE(AppendStoreRecordLines(app, {two[0]}));

    // Another copy filled the store since: the file as it is now has no room.
    const std::string full = FileWithHeader(NumberedRecords(1000));
    WriteBytes(StorePath(), full);
    EXPECT_FALSE(AppendStoreRecordLines(app, {two[1]}));
    EXPECT_EQ(ReadBytes(StorePath()), full);
}

TEST_F(StoreLimit, OneBelowTheLimitLoadsWithoutAMessage) {
    LoadStoreFrom(FileWithHeader(NumberedRecords(999)));
    EXPECT_EQ(app.recordCount, 999);
    EXPECT_EQ(app.bookmarks.at(998, kColName), "n998");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreLimit, SkippedLinesDoNotCountTowardsTheLimit) {
    std::vector<std::string> lines;
    for (const std::string& rec : NumberedRecords(999)) {
        lines.push_back(rec);
        lines.push_back("damaged line");
    }
    LoadStoreFrom(FileWithHeader(lines));
    EXPECT_EQ(app.recordCount, 999);
    EXPECT_TRUE(fake.messages.empty());
}

// ---- CompleteUrl --------------------------------------------------------------------------

TEST(StoreCompleteUrl, LeavesUrlsThatNameASchemeOrWwwAnywhere) {
    for (const char* url :
         {"http://example.com", "HTTP://X", "HttpS://Mixed.example", "WWW.SHOUT.example",
          "example.com/www.page", "see http://x inside", "ftp.example/www.x"}) {
        std::string u = url;
        EXPECT_EQ(CompleteUrl(u), url);
        EXPECT_EQ(u, url);
    }
}

TEST(StoreCompleteUrl, PutsWwwBeforeEverythingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"example.com", "www.example.com"},
        {"http:example.com", "www.http:example.com"},   // scheme without the two slashes
        {"http:/example.com", "www.http:/example.com"}, // one slash is not enough
        {"ftp://files.example", "www.ftp://files.example"},
        {"ww.example", "www.ww.example"},
        {"wwwexample.com", "www.wwwexample.com"}, // "www" without its dot
    };
    for (const auto& [in, out] : cases) {
        std::string u = in;
        EXPECT_EQ(CompleteUrl(u), out) << in;
        EXPECT_EQ(u, out) << in;
    }
}

TEST(StoreCompleteUrl, TrimsBlanksAndUpdatesTheCallersText) {
    std::string u = "   example.com  ";
    EXPECT_EQ(CompleteUrl(u), "www.example.com");
    EXPECT_EQ(u, "www.example.com");

    u = "  https://x.example/ ";
    EXPECT_EQ(CompleteUrl(u), "https://x.example/");
    EXPECT_EQ(u, "https://x.example/");

    for (const char* blank : {"", " ", "      "}) {
        u = blank;
        EXPECT_EQ(CompleteUrl(u), "");
        EXPECT_EQ(u, "");
    }
}

// ---- LoadGroups ---------------------------------------------------------------------------

TEST_F(StoreLoadGroups, TrimsNamesAndSkipsBlankLines) {
    app.groups = {"stale"};
    LoadGroupsFrom(FileWithHeader({"", "  ", "Work", "   Family Trips  "}));
    EXPECT_EQ(app.groups, (GroupTable{"Work", "Family Trips"}));
    EXPECT_EQ(app.groupCount, 2);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreLoadGroups, KeepsDuplicatesAndSkipsTheHeaderWherePaddedByBlanks) {
    LoadGroupsFrom(HeaderLine() + "\nWork\r  " + HeaderLine() + " \nwork\r\nWork\r\n");
    EXPECT_EQ(app.groups, (GroupTable{"Work", "work", "Work"}));
    EXPECT_EQ(app.groupCount, 3);
}

TEST_F(StoreLoadGroups, MissingFileIsCreatedHoldingOnlyTheHeaderLine) {
    app.groups = {"stale", "entries"};
    app.groupCount = 2;
    LoadGroups(app);
    EXPECT_TRUE(app.groups.empty());
    EXPECT_EQ(app.groupCount, 0);
    EXPECT_EQ(ReadBytes(GroupPath()),
              std::string("[ ") + kProductHost +
                  " - Tabbern - Manage your Bookmarks and Favorite websites with any web "
                  "browser - " +
                  kProductHost + " ]\r\n");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreLoadGroups, StopsAtTwoHundredNamesWithOneMessage) {
    std::vector<std::string> names;
    for (int i = 0; i < 205; ++i)
        names.push_back("g" + std::to_string(i));
    LoadGroupsFrom(FileWithHeader(names));
    EXPECT_EQ(app.groupCount, 200);
    ASSERT_EQ(app.groups.size(), 200u);
    EXPECT_EQ(app.groups.front(), "g0");
    EXPECT_EQ(app.groups.back(), "g199");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, kGroupLimitText);
    EXPECT_EQ(fake.messages[0].title, "Tabbern 5.2");
    EXPECT_EQ(fake.messages[0].buttons, MsgButtons::OK);
}

TEST_F(StoreLoadGroups, NamesPastTheLimitStayInTheFileAndAreNeverAddedAgain) {
    std::vector<std::string> names;
    for (int i = 0; i < 205; ++i)
        names.push_back("g" + std::to_string(i));
    const std::string file = FileWithHeader(names);
    WriteBytes(GroupPath(), file);
    SetRow(0, {"0", "a", "G203", "", "http://a", ""});
    for (int start = 0; start < 2; ++start) {
        LoadGroups(app);
        AddMissingGroups(app);
    }
    EXPECT_EQ(ReadBytes(GroupPath()), file);
    ASSERT_TRUE(RewriteGroupFile(app, [](int, const std::string& g) { return g == "g202"; }));
    names.erase(names.begin() + 202);
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader(names));
}

TEST_F(StoreLoadGroups, LimitCountsNamesNotLines) {
    std::vector<std::string> lines;
    for (int i = 0; i < 199; ++i) {
        lines.push_back("g" + std::to_string(i));
        lines.push_back("");
    }
    LoadGroupsFrom(FileWithHeader(lines));
    EXPECT_EQ(app.groupCount, 199);
    EXPECT_TRUE(fake.messages.empty());

    lines.push_back("g199");
    LoadGroupsFrom(FileWithHeader(lines));
    EXPECT_EQ(app.groupCount, 200);
    EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{kGroupLimitText});
}

// ---- RewriteStore -------------------------------------------------------------------------

TEST_F(StoreRewrite, WritesRowsInTableOrderWithTheUrlLast) {
    SetRow(0, {"5", "Zebra", "Animals", "1/2/2025", "http://zebra.example", "3/4/2025"});
    SetRow(1, {"0", " Aardvark ", " Animals", "2/2/2025", "www.aardvark.example", ""});
    SetRow(2, {"9", "Notes", "", "", "http://notes.example/?q=[u]", ""});
    app.recordCount = 3;
    WriteBytes(StorePath(), "old content that must go\r\n");
    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({
                  "[r]5[n]Zebra[g]Animals[d]1/2/2025[l]3/4/2025[u]http://zebra.example",
                  "[r]0[n] Aardvark [g] Animals[d]2/2/2025[l][u]www.aardvark.example",
                  "[r]9[n]Notes[g][d][l][u]http://notes.example/?q=[u]",
              }));
}

TEST_F(StoreRewrite, AllRowsFreeGivesTheHeaderOnly) {
    WriteBytes(StorePath(), FileWithHeader({Record("gone", "g", "http://gone")}));
    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()), FileWithHeader({}));
    RewriteStore(app, RowHasRecordNumber);
    EXPECT_EQ(ReadBytes(StorePath()), FileWithHeader({}));
}

TEST_F(StoreRewrite, BlankNameIsDroppedByTheUsualFilterAndKeptByTheAddFilter) {
    SetRow(0, {"0", "Named", "g", "1/2/2025", "http://a", ""});
    SetRow(1, {"1", "   ", "g", "1/2/2025", "http://b", ""});
    SetRow(2, {"2", "", "g", "1/2/2025", "http://c", ""});
    SetRow(3, {"  ", "No number", "g", "1/2/2025", "http://d", ""});

    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({"[r]0[n]Named[g]g[d]1/2/2025[l][u]http://a",
                              "[r]  [n]No number[g]g[d]1/2/2025[l][u]http://d"}));

    RewriteStore(app, RowHasRecordNumber);
    EXPECT_EQ(ReadBytes(StorePath()), FileWithHeader({"[r]0[n]Named[g]g[d]1/2/2025[l][u]http://a",
                                                      "[r]1[n]   [g]g[d]1/2/2025[l][u]http://b",
                                                      "[r]2[n][g]g[d]1/2/2025[l][u]http://c"}));
}

TEST_F(StoreRewrite, VisitsTheSpareRowAndPassesRowNumbersToTheFilter) {
    SetRow(0, {"0", "first", "g", "1/2/2025", "http://0", ""});
    SetRow(1, {"1", "deleted", "g", "1/2/2025", "http://1", ""});
    SetRow(1000, {"1000", "spare", "g", "1/2/2025", "http://1000", ""});
    RewriteStore(app, [](int row, const BookmarkRow& r) { return row != 1 && RowHasName(row, r); });
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({"[r]0[n]first[g]g[d]1/2/2025[l][u]http://0",
                              "[r]1000[n]spare[g]g[d]1/2/2025[l][u]http://1000"}));
}

TEST_F(StoreRewrite, LineBreaksInsideFieldsBecomeBlanks) {
    SetRow(0, {"0", "two\r\nlines", "a\nb", "1/2/2025", "http://x.example/\n", "x\ry"});
    SetRow(1, {"1", "next", "g", "1/2/2025", "http://next", ""});
    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({"[r]0[n]two  lines[g]a b[d]1/2/2025[l]x y[u]http://x.example/ ",
                              "[r]1[n]next[g]g[d]1/2/2025[l][u]http://next"}));
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(RowFields(0),
              (Fields{"0", "two  lines", "a b", "1/2/2025", "http://x.example/", "x y"}));
    EXPECT_EQ(app.bookmarks.at(1, kColName), "next");
}

// ---- AppendStoreRecords -------------------------------------------------------------------

TEST_F(StoreAppend, MissingFileIsCreatedWithTheHeaderAndNamedRecords) {
    AppendStoreRecords(app, {
                                MakeRow({"0", "One", "Imported", "1/2/2025", "http://one", ""}),
                                MakeRow({"1", "   ", "Imported", "1/2/2025", "http://blank", ""}),
                                MakeRow({"2", "", "Imported", "1/2/2025", "http://empty", ""}),
                                MakeRow({"3", "Two", "", "", "www.two.example", "5/5/2025"}),
                            });
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({"[r]0[n]One[g]Imported[d]1/2/2025[l][u]http://one",
                              "[r]3[n]Two[g][d][l]5/5/2025[u]www.two.example"}));
}

TEST_F(StoreAppend, KeepsTheExistingBytesAndAddsAfterThem) {
    const std::string before = HeaderLine() + "\n[R]7[N]Old[G]g[D]d[L][U]http://old\n";
    WriteBytes(StorePath(), before);
    AppendStoreRecords(app, {MakeRow({"1", "New", "g", "1/2/2025", "http://new", ""})});
    EXPECT_EQ(ReadBytes(StorePath()), before + "[r]1[n]New[g]g[d]1/2/2025[l][u]http://new\r\n");
}

TEST_F(StoreAppend, ALastLineWithoutLineEndIsNotJoinedToTheNewRecord) {
    WriteBytes(StorePath(), HeaderLine() + "\r\n" + Record("Old", "g", "http://old"));
    AppendStoreRecords(app, {MakeRow({"1", "New", "g", "1/2/2025", "http://new", ""})});
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({Record("Old", "g", "http://old"),
                              Record("New", "g", "http://new", "1/2/2025", "", "1")}));
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.bookmarks.at(0, kColUrl), "http://old");
    EXPECT_EQ(app.bookmarks.at(1, kColName), "New");
}

TEST_F(StoreAppend, OnlyBlankNamesLeaveAnExistingFileUnchanged) {
    const std::string before = FileWithHeader({Record("Old", "g", "http://old")});
    WriteBytes(StorePath(), before);
    AppendStoreRecords(app, {MakeRow({"1", "  ", "g", "1/2/2025", "http://x", ""})});
    EXPECT_EQ(ReadBytes(StorePath()), before);
}

// ---- RewriteGroupFile and AppendGroupLine -------------------------------------------------

TEST_F(StoreGroupFile, RewriteWritesEveryEntryAsStoredExceptThoseLeftOut) {
    app.groups = {"", "Work", " Padded ", "Gone", "", "Home"};
    WriteBytes(GroupPath(), FileWithHeader({"Old", "Groups"}));
    RewriteGroupFile(app, [](int, const std::string& g) { return g == "Gone"; });
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"", "Work", " Padded ", "", "Home"}));

    RewriteGroupFile(app, [](int index, const std::string&) { return index < 2; });
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({" Padded ", "Gone", "", "Home"}));

    RewriteGroupFile(app);
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"", "Work", " Padded ", "Gone", "", "Home"}));
    EXPECT_EQ(app.groups, (GroupTable{"", "Work", " Padded ", "Gone", "", "Home"}));
}

TEST_F(StoreGroupFile, RewriteOfAnEmptyTableGivesTheHeaderOnly) {
    app.groups.clear();
    RewriteGroupFile(app);
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({}));
}

TEST_F(StoreGroupFile, AGroupNameCannotSplitIntoTwoLines) {
    app.groups = {"two\r\nlines"};
    RewriteGroupFile(app);
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"two  lines"}));
    LoadGroups(app);
    EXPECT_EQ(app.groups, GroupTable{"two  lines"});
}

TEST_F(StoreGroupFile, AppendToAMissingFileWritesTheHeaderFirst) {
    AppendGroupLine(app, "Work");
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"Work"}));
    AppendGroupLine(app, "Home");
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"Work", "Home"}));
}

TEST_F(StoreGroupFile, AppendKeepsTheExistingBytes) {
    const std::string before = HeaderLine() + "\nWork\n\n  Padded  \n";
    WriteBytes(GroupPath(), before);
    AppendGroupLine(app, "Home");
    EXPECT_EQ(ReadBytes(GroupPath()), before + "Home\r\n");

    WriteBytes(GroupPath(), HeaderLine() + "\r\nWork");
    AppendGroupLine(app, "Home");
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"Work", "Home"}));
}

// ---- AddMissingGroups ---------------------------------------------------------------------

TEST_F(StoreAddMissingGroups, AddsEachUnknownGroupOnceAsFirstWritten) {
    app.groups = {"", "Home", "  " + kEcole + "  ", ""};
    app.groupCount = 2;
    WriteBytes(GroupPath(), FileWithHeader({"Home", kEcoleCp}));
    SetRow(0, {"0", "a", "Work", "", "http://a", ""});
    SetRow(1, {"1", "b", "  home ", "", "http://b", ""});
    SetRow(2, {"2", "c", "   ", "", "http://c", ""});
    SetRow(3, {"3", "d", "work", "", "http://d", ""});
    SetRow(4, {"4", "e", kEcoleLowerUpper, "", "http://e", ""});
    SetRow(5, {"5", "f", " Travel  ", "", "http://f", ""});
    SetRow(6, {"6", "g", "WORK", "", "http://g", ""});
    SetRow(7, {"7", "h", "", "", "http://h", ""});
    SetRow(8, {"8", "i", "travel", "", "http://i", ""});

    AddMissingGroups(app);

    EXPECT_EQ(app.groups, (GroupTable{"", "Home", "  " + kEcole + "  ", "", "Work", "Travel"}));
    EXPECT_EQ(app.groupCount, 2);
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"Home", kEcoleCp, "Work", "Travel"}));
}

TEST_F(StoreAddMissingGroups, ComparesAccentedCapitalsWithoutRegardToCase) {
    app.groups = {kEte};
    SetRow(0, {"0", "a", "\xC3\xA9T\xC3\x89", "", "http://a", ""}); // éTÉ
    SetRow(1, {"1", "b",
               "\xC3\x89"
               "cole",
               "", "http://b", ""});
    SetRow(2, {"2", "c",
               "\xC3\xA9"
               "cole",
               "", "http://c", ""});
    AddMissingGroups(app);
    EXPECT_EQ(app.groups, (GroupTable{kEte, kEcole}));
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({kEcoleCp}));
}

TEST_F(StoreAddMissingGroups, LooksAtEveryRowNotOnlyCountedOnes) {
    app.groups.clear();
    app.recordCount = 0;
    SetRow(1000, {"1000", "spare", "Spare group", "", "http://s", ""});
    AddMissingGroups(app);
    EXPECT_EQ(app.groups, GroupTable{"Spare group"});
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({"Spare group"}));
}

TEST_F(StoreAddMissingGroups, NothingMissingLeavesTheGroupFileAlone) {
    app.groups = {"Work"};
    const std::string before = HeaderLine() + "\nWork";
    WriteBytes(GroupPath(), before);
    SetRow(0, {"0", "a", " WORK ", "", "http://a", ""});
    SetRow(1, {"1", "b", "", "", "http://b", ""});
    AddMissingGroups(app);
    EXPECT_EQ(app.groups, GroupTable{"Work"});
    EXPECT_EQ(ReadBytes(GroupPath()), before);
}

// ---- code page ----------------------------------------------------------------------------

TEST_F(StoreCodePage, LatinNamesAreWrittenInTheCodePage) {
    SetRow(0, {"0", kCafe, kEte, "1/2/2025", "http://cafe.example", ""});
    SetRow(1, {"1", "Price " + kEuro, "g", "1/2/2025", "http://euro.example", ""});
    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader(
                  {"[r]0[n]" + kCafeCp + "[g]" + kEteCp + "[d]1/2/2025[l][u]http://cafe.example",
                   "[r]1[n]Price " + kEuroCp + "[g]g[d]1/2/2025[l][u]http://euro.example"}));
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(RowFields(0), (Fields{"0", kCafe, kEte, "1/2/2025", "http://cafe.example", ""}));
    EXPECT_EQ(app.bookmarks.at(1, kColName), "Price " + kEuro);
}

TEST_F(StoreCodePage, ACharacterOutsideTheCodePageMakesTheWholeFileUtf8) {
    SetRow(0, {"0", kCafe, "g", "1/2/2025", "http://cafe.example", ""});
    SetRow(1, {"1", kNihon, "Asia", "1/2/2025", "http://jp.example", ""});
    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({"[r]0[n]" + kCafe + "[g]g[d]1/2/2025[l][u]http://cafe.example",
                              "[r]1[n]" + kNihon + "[g]Asia[d]1/2/2025[l][u]http://jp.example"}));
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(RowFields(0), (Fields{"0", kCafe, "g", "1/2/2025", "http://cafe.example", ""}));
    EXPECT_EQ(RowFields(1), (Fields{"1", kNihon, "Asia", "1/2/2025", "http://jp.example", ""}));
}

TEST_F(StoreCodePage, ReadsHandWrittenFilesInEitherEncoding) {
    LoadStoreFrom(FileWithHeader({Record(kCafe + " " + kNihon, kEcole, "http://x")}));
    ASSERT_EQ(app.recordCount, 1);
    EXPECT_EQ(app.bookmarks.at(0, kColName), kCafe + " " + kNihon);
    EXPECT_EQ(app.bookmarks.at(0, kColGroup), kEcole);

    LoadStoreFrom(FileWithHeader({Record(kCafeCp + kEuroCp, kEcoleCp, "http://x")}));
    ASSERT_EQ(app.recordCount, 1);
    EXPECT_EQ(app.bookmarks.at(0, kColName), kCafe + kEuro);
    EXPECT_EQ(app.bookmarks.at(0, kColGroup), kEcole);

    LoadGroupsFrom(FileWithHeader({kCafeCp, kEuroCp}));
    EXPECT_EQ(app.groups, (GroupTable{kCafe, kEuro}));
    LoadGroupsFrom(FileWithHeader({kCafe, kNihon}));
    EXPECT_EQ(app.groups, (GroupTable{kCafe, kNihon}));
}

TEST_F(StoreCodePage, AppendingAnOutsideCharacterMovesTheWholeFileToUtf8) {
    WriteBytes(StorePath(), FileWithHeader({Record(kCafeCp, "g", "http://cafe")}));
    AppendStoreRecords(app, {MakeRow({"1", kNihon, "g", "1/2/2025", "http://jp", ""})});
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({Record(kCafe, "g", "http://cafe"),
                              "[r]1[n]" + kNihon + "[g]g[d]1/2/2025[l][u]http://jp"}));
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.bookmarks.at(0, kColName), kCafe);
    EXPECT_EQ(app.bookmarks.at(1, kColName), kNihon);

    WriteBytes(GroupPath(), FileWithHeader({kCafeCp}));
    AppendGroupLine(app, kNihon);
    AppendGroupLine(app, kEte); // the file is UTF-8 now and stays so
    EXPECT_EQ(ReadBytes(GroupPath()), FileWithHeader({kCafe, kNihon, kEte}));
}

TEST_F(StoreCodePage, AppendingToAUtf8FileStaysUtf8) {
    WriteBytes(StorePath(), FileWithHeader({Record(kNihon, "g", "http://jp")}));
    AppendStoreRecords(app, {MakeRow({"1", kCafe, "g", "1/2/2025", "http://cafe", ""})});
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({Record(kNihon, "g", "http://jp"),
                              "[r]1[n]" + kCafe + "[g]g[d]1/2/2025[l][u]http://cafe"}));
    LoadStore(app);
    ASSERT_EQ(app.recordCount, 2);
    EXPECT_EQ(app.bookmarks.at(1, kColName), kCafe);
}

// ---- round trip ---------------------------------------------------------------------------

TEST_F(StoreRoundTrip, RewritingALoadedStoreReloadsTheSameTable) {
    LoadStoreFrom(
        HeaderLine() + "\r\n" +
        Record(" Padded name ", " Group ", "  example.com ", "1/2/2025", "3/4/2025", "17") +
        "\r\n\r\n[R]3[N]Upper[G]Work[D]5/6/2025[L][U]HTTPS://Secure.example\n"
        "damaged[r]line\r" +
        Record(kCafe, kEcole, "www.x.fr", "", "", "abc") + "\r\n" +
        Record("Tab\tinside", "g", "http://tab", "", " 9/9/2025 ", "0"));
    ASSERT_EQ(app.recordCount, 4);
    const std::vector<Fields> loaded = AllRows();

    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()),
              FileWithHeader({"[r]0[n] Padded name [g] Group [d]1/2/2025[l]3/4/2025"
                              "[u]www.example.com",
                              "[r]1[n]Upper[g]Work[d]5/6/2025[l][u]HTTPS://Secure.example",
                              "[r]2[n]" + kCafeCp + "[g]" + kEcoleCp + "[d][l][u]www.x.fr",
                              "[r]3[n]Tab\tinside[g]g[d][l] 9/9/2025 [u]http://tab"}));
    LoadStore(app);
    EXPECT_EQ(app.recordCount, 4);
    EXPECT_EQ(AllRows(), loaded);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(StoreRoundTrip, RewriteAfterReorderingKeepsTheNewOrderAndRenumbersOnLoad) {
    LoadStoreFrom(FileWithHeader({Record("b", "g", "http://b"), Record("a", "g", "http://a")}));
    std::swap(app.bookmarks.row(0), app.bookmarks.row(1));
    RewriteStore(app, RowHasName);
    EXPECT_EQ(ReadBytes(StorePath()), FileWithHeader({"[r]1[n]a[g]g[d]1/2/2025[l][u]http://a",
                                                      "[r]0[n]b[g]g[d]1/2/2025[l][u]http://b"}));
    LoadStore(app);
    EXPECT_EQ(RowFields(0), (Fields{"0", "a", "g", "1/2/2025", "http://a", ""}));
    EXPECT_EQ(RowFields(1), (Fields{"1", "b", "g", "1/2/2025", "http://b", ""}));
}

} // namespace
} // namespace tabbern::test
