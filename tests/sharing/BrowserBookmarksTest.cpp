// The browser bookmarks file: its reader, and the Share menu's import and export (whose round
// trip, with the fuzz harness browser_bookmarks, holds the writer to the reader).
#include "support/AppFixture.h"

#include "sharing/BrowserBookmarks.h"
#include "store/Store.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tabbern::test {
namespace {

using namespace std::string_literals;
using Links = std::vector<BrowserLink>;

BrowserLink Link(std::string folder, std::string name, std::string address,
                 std::optional<std::int64_t> added = {}, std::optional<std::int64_t> visited = {}) {
    return {std::move(name), std::move(folder), std::move(address), added, visited};
}

TEST(BrowserBookmarksRead, NamesHaveTheirReferencesDecodedAndTheirBlanksCollapsed) {
    const std::pair<std::string, std::string> cases[] = {
        {"A &amp; B &lt;b&gt; &quot;q&quot; &apos;", "A & B <b> \"q\" '"},
        {"Caf&eacute; &Eacute;t&eacute; &ndash; &#233;&#xE9;&#XE9", "Café Été – ééé"},
        {"AT&T &bogus; &#; &eacute &", "AT&T &bogus; &#; &eacute &"},
        {"&#150;&#0;&#x110000;&#xD800;", "–\uFFFD\uFFFD\uFFFD"},
        {"  two\r\n\t words&nbsp; &#10;a\0b  "s, "two words a b"},
        {" ", ""},
        {std::string(kMaxBrowserTextBytes + 9, 'n'), std::string(kMaxBrowserTextBytes, 'n')},
    };
    for (const auto& [html, name] : cases) {
        const Links links =
            ReadBrowserBookmarks("<DT><A HREF=\"http://x.example\">" + html + "</A>");
        ASSERT_EQ(links.size(), 1u) << html;
        EXPECT_EQ(links[0].name, name) << html;
    }
}

TEST(BrowserBookmarksRead, FoldersNestAndEndWithTheirListsAsTheFormatIsWrittenInPractice) {
    const std::string file = R"html(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- <DT><A HREF="http://comment.example">Not a link</A> -->
<TITLE>Bookmarks</TITLE><H1>Bookmarks</H1>
<DL><p>
  <DT><H3 ADD_DATE="1">Outer &amp; Co</H3>
  <DD>A folder's description
  <DL><p>
    <DT><A LAST_VISIT="200" HREF="HTTPS://Example.COM/Path?A=1&amp;b=2" ADD_DATE="100">First</A>
    <DT><H3>Empty</H3>
    <dt><h3>Inner</h3>
    <dl><p>
      <dt><a href=http://unquoted.example/X add_date=bad>Second
      <DT><A NAME="anchor">No address</A>
      <DD>Description, not a name
      <DT><A HREF='http://single.example/"q"' ADD_DATE="9999999999999">Third</A>
    </dl><p>
    <DT><A HREF="  http://after.example  ">After inner</A>
    <DT><DL><p><DT><A HREF="http://untitled.example">In a list without a heading</A></DL>
  </DL><p>
  <DT><A HREF="http://top.example">Top</A>
</DL><p>)html";
    EXPECT_EQ(ReadBrowserBookmarks(file),
              (Links{Link("Outer & Co", "First", "HTTPS://Example.COM/Path?A=1&b=2", 100, 200),
                     Link("Inner", "Second", "http://unquoted.example/X"),
                     Link("Inner", "Third", "http://single.example/\"q\""),
                     Link("Outer & Co", "After inner", "http://after.example"),
                     Link("Outer & Co", "In a list without a heading", "http://untitled.example"),
                     Link("", "Top", "http://top.example")}));
}

TEST(BrowserBookmarksRead, BytesThatAreNotUtf8AreWindows1252AndAByteOrderMarkIsSkipped) {
    EXPECT_EQ(ReadBrowserBookmarks("<A HREF=\"http://x\">Caf\xE9 \x96 \x80</A>").at(0).name,
              "Café – €");
    EXPECT_EQ(
        ReadBrowserBookmarks("\xEF\xBB\xBF<H3>Caf\xC3\xA9</H3><DL><A HREF=x>y</A>").at(0).folder,
        "Café");
}

// ---- the commands -----------------------------------------------------------------------

using BrowserFileTest = AppTest;

const std::string kHeader = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";

TEST_F(BrowserFileTest, AnImportStoresEachNewWebLinkOnceAndSaysWhatItLeftOut) {
    WriteStore({Rec(0, "Old", "Work", "http://Old.example/x")}, {"Work"});
    ASSERT_TRUE(Start());
    const std::string path = File("bookmarks.html");
    WriteBytes(path, kHeader + R"html(<DT><H3>Travel</H3>
<DL><p>
  <DT><A HREF="https://Maps.example/Trail?a=1&amp;b=2" ADD_DATE="1700000000" LAST_VISIT="1701388800">Trail   map</A>
  <DT><A HREF="javascript:alert(1)">Bookmarklet</A>
  <DT><A HREF="place:sort=8">Recent</A>
  <DT><A HREF="HTTP://OLD.EXAMPLE/x">Old again</A>
  <DT><A HREF="https://maps.example/Trail?a=1&amp;b=2">Same trail</A>
  <DT><A HREF="https://maps.example/trail?a=1&amp;b=2">Lower-case path</A>
  <DT><A HREF="https://tagged.example/">Bad [G] name</A>
</DL><p>
<DT><A HREF="www.Plain.example"></A>
</DL>)html");
    OnShow("frmAddConfirm", [this](Form&) {
        AddConfirmForm& d = app.frmAddConfirm;
        EXPECT_EQ(d.Text1.text(), "Trail map\r\nhttps://Maps.example/Trail?a=1&b=2\r\n"
                                  "Lower-case path\r\nhttps://maps.example/trail?a=1&b=2\r\n"
                                  "www.Plain.example\r\nwww.Plain.example\r\n");
        EXPECT_EQ(d.Label3.caption(), "3 Bookmarks To Import. Left Out: 2 Not Web Addresses, 1 "
                                      "Already Stored, 1 Holding [r], [n], [g], [d], [l] Or [u], "
                                      "1 Repeated In The File.");
        EXPECT_TRUE(d.Label3.visible());
        d.Command1.click();
    });
    fake.openAnswers = {" " + path + " "};
    ASSERT_TRUE(Click(app.main.menuimportfrombrowserfile));

    EXPECT_EQ(
        StoreBytes(),
        FileWithHeader(
            {Rec(0, "Old", "Work", "http://Old.example/x"),
             Rec(1, "Trail map", "Travel", "https://Maps.example/Trail?a=1&b=2", "11/14/2023",
                 "12/1/2023"),
             Rec(2, "Lower-case path", "Travel", "https://maps.example/trail?a=1&b=2", "12/6/2026"),
             Rec(3, "www.Plain.example", "Misc - 12/6/2026", "www.Plain.example", "12/6/2026")}));
    EXPECT_EQ(GroupBytes(), FileWithHeader({"Work", "Travel", "Misc - 12/6/2026"}));
    EXPECT_EQ(app.main.Combo1.items(), (Names{"All Groups", "Misc - 12/6/2026", "Travel", "Work"}));
    EXPECT_EQ(app.main.Combo1.text(), "All Groups");
    EXPECT_FALSE(app.frmAddConfirm.Label3.visible());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(BrowserFileTest, AFileThatCannotBeImportedWholeIsRefusedBeforeAnythingIsWritten) {
    WriteStore({Rec(0, "Old", "Work", "http://old.example")}, {"Work"});
    ASSERT_TRUE(Start());
    app.bookmarkLimit = 2;
    const std::string big = File("big.html");
    WriteBytes(big, kHeader);
    std::filesystem::resize_file(big, (64u << 20) + 1);
    const std::pair<std::string, std::string> files[] = {
        {"notes.txt", "Plain text, <b>no</b> links."},
        {"old.html", kHeader + "<DT><A HREF=\"http://OLD.example\">Old</A>"},
        {"two.html",
         kHeader + "<DT><A HREF=\"http://a.example\">A</A><DT><A HREF=\"http://b.example\">B</A>"},
        {"one.html", kHeader + "<DT><A HREF=\"http://a.example\">A</A>"},
    };
    for (const auto& [name, bytes] : files)
        WriteBytes(File(name), bytes);
    ConfirmImport(false);
    for (const std::string& path : {big, File("notes.txt"), File("old.html"), File("two.html"),
                                    File("one.html"), File("missing.html"), ""s}) {
        fake.openAnswers.push_back(path);
        ASSERT_TRUE(Click(app.main.menuimportfrombrowserfile));
    }
    EXPECT_EQ(Messages(),
              (Names{"Cannot Read The File:\r" + big +
                         "\rThe file is larger than 64 MB, the most this program reads of it.",
                     "No Bookmarks Were Found In The File:\r" + File("notes.txt"),
                     "There Is Nothing To Import From The File:\r" + File("old.html") +
                         "\rLeft Out: 1 Already Stored.",
                     "Maximum Database Record Count of 1Bookmarks Reached! Remove 1Bookmarks "
                     "and Re-Import",
                     "Cannot Read The File:\r" + File("missing.html") + "\r" +
                         std::generic_category().message(ENOENT)}));
    EXPECT_EQ(fake.shownForms, (Names{"frmMain", "frmAddConfirm"}));
    EXPECT_EQ(StoreBytes(), FileWithHeader({Rec(0, "Old", "Work", "http://old.example")}));
    EXPECT_EQ(fake.fileDialogs.at(0).filters.at(0).pattern, "*.html;*.htm");
}

TEST_F(BrowserFileTest, AnExportWritesTheSelectorsGroupsAndImportsBackTheSame) {
    WriteStore({Rec(0, "Zed", "Work", "zed.example/a", "1/2/2025", "3/4/2025"),
                Rec(1, "Amp &amp; <x>", "Home", "https://h.example/?a=1&b=\"2\""),
                Rec(2, "W2", " WORK ", "HTTPS://W2.Example/Path", "not a date")},
               {"Work", "Home"});
    ASSERT_TRUE(Start());
    const std::string all = File("all.html"), work = File("work.html");
    fake.saveAnswers = {all, work};
    ASSERT_TRUE(Click(app.main.menuexporttobrowserfile));
    ChooseGroup("Work");
    ASSERT_TRUE(Click(app.main.menuexporttobrowserfile));
    EXPECT_EQ(Messages(), (Names{"Your Export of All Groups to <" + all + "> Is Complete",
                                 "Your Export of Group <Work> to <" + work + "> Is Complete"}));

    Names workNames;
    for (const BrowserLink& link : ReadBrowserBookmarks(ReadBytes(work)))
        workNames.push_back(link.folder + ": " + link.name);
    EXPECT_EQ(workNames, (Names{"Work: Zed", "Work: W2"}));

    TestProgram other;
    other.WriteStore({});
    ASSERT_TRUE(other.Start());
    other.ConfirmImport();
    other.fake.openAnswers = {all};
    ASSERT_TRUE(other.Click(other.app.main.menuimportfrombrowserfile));
    EXPECT_EQ(
        other.StoreBytes(),
        FileWithHeader({Rec(0, "Amp &amp; <x>", "Home", "https://h.example/?a=1&b=\"2\""),
                        Rec(1, "Zed", "Work", "http://www.zed.example/a", "1/2/2025", "3/4/2025"),
                        Rec(2, "W2", "Work", "HTTPS://W2.Example/Path", "12/6/2026")}));
}

} // namespace
} // namespace tabbern::test
