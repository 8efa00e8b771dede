// Files read in pieces: the text handed over is the text a whole-file read gives, whatever the
// sizes and wherever the encoding is decided, and a stop leaves the rest unread.
#include "support/AppFixture.h"

#include "store/CodePage.h"
#include "store/FileIo.h"
#include "store/TextFile.h"

#include <algorithm>
#include <string>

namespace tabbern::test {
namespace {

constexpr std::size_t kMiB = 1u << 20;

// ASCII lines of about that many bytes.
std::string Filler(std::size_t bytes) {
    std::string s;
    while (s.size() < bytes)
        s += "plain text without links, line " + std::to_string(s.size()) + "\r\n";
    return s;
}

// One line of about that many bytes, words and blanks.
std::string Words(std::size_t bytes) {
    std::string s;
    while (s.size() < bytes)
        s += "word" + std::to_string(s.size()) + ' ';
    return s;
}

struct Streamed {
    std::string text; // since the last restart
    int pieces = 0, restarts = 0;
    std::size_t longestPiece = 0;
    bool openPieceEndsAfterBlank = true; // and holds no line end
};

Streamed Stream(const std::string& path, PieceAnswer answer = PieceAnswer::More,
                std::size_t lineLimit = kStreamLineLimit) {
    Streamed out;
    StreamTextLines(
        path,
        [&](std::string_view text, const CodePage* undecoded, bool lineGoesOn) {
            out.text += undecoded ? undecoded->decode(text) : std::string(text);
            ++out.pieces;
            out.longestPiece = std::max(out.longestPiece, text.size());
            if (lineGoesOn && (!text.ends_with(' ') || text.find_first_of("\r\n") != text.npos))
                out.openPieceEndsAfterBlank = false;
            return answer;
        },
        [&] {
            out.text.clear();
            ++out.restarts;
        },
        lineLimit);
    return out;
}

TEST(StreamText, GivesTheWholeFilesTextAndStartsAgainOnlyWhenALateByteChangesTheEncoding) {
    const std::string big = Filler(3 * kMiB / 2);
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        const char* what;
        std::string bytes;
        int restarts;
    } cases[] = {
        {"empty", "", 0},
        {"every line end, no last one", "a\r\nb\rc\nd", 0},
        {"UTF-8 found late", big + "caf\xC3\xA9\r\n", 0},
        {"code page found late, after UTF-8 went out", "caf\xC3\xA9\r\n" + big + "\xE9t\xE9\r\n",
         1},
        {"code page found late, after ASCII only", big + "\xE9t\xE9\r\n", 0},
        {"byte-order mark, then UTF-8", bom + big + "caf\xC3\xA9", 0},
        {"byte-order mark, then code page", bom + "caf\xC3\xA9" + big + "\xE9", 1},
        {"CR LF across a read", std::string(kMiB - 1, 'x') + "\r\ny\r\n", 0},
        {"a line over several reads", std::string(5 * kMiB / 2, 'z') + "\nend", 0},
        {"a line of words over several reads, then the code page",
         "x\r\n" + Words(5 * kMiB / 2) + "caf\xE9", 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("page.txt");
        WriteBytes(path, c.bytes);
        const Streamed got = Stream(path);
        EXPECT_EQ(DecodeLines(got.text), DecodeLines(c.bytes));
        EXPECT_EQ(got.restarts, c.restarts);
        EXPECT_TRUE(got.openPieceEndsAfterBlank);
    }
    // A line of megabytes with blanks in it is held a read at a time, not whole.
    EXPECT_LT(Stream(dir.file("page.txt")).longestPiece, 2 * kMiB);
}

TEST(StreamText, AStopReadsOnOnlyToLearnWhetherUtf8TextThatWentOutStands) {
    TempDir dir;
    const std::string path = dir.file("page.txt");
    const std::string first = "caf\xC3\xA9\r\n" + Filler(3 * kMiB / 2);
    const std::string longLine(3 * kMiB, 'x');

    // Enough: the rest, too long a line and a code-page byte among it, is never read.
    WriteBytes(path, first + longLine + "\xE9\r\n");
    EXPECT_EQ(Stream(path, PieceAnswer::Enough, kMiB).pieces, 1);
    // Enough if UTF-8: checked without holding lines, and the code page means starting again.
    const Streamed again = Stream(path, PieceAnswer::EnoughIfUtf8, kMiB);
    EXPECT_EQ(again.restarts, 1);
    EXPECT_EQ(again.text.substr(0, 7), "caf\xC3\x83\xC2\xA9");
    // Enough if UTF-8, and it is: what went out stands.
    WriteBytes(path, first + longLine + "caf\xC3\xA9");
    EXPECT_EQ(Stream(path, PieceAnswer::EnoughIfUtf8, kMiB).restarts, 0);
}

TEST(StreamText, ALineBeyondItsReadersLimitIsRefusedByName) {
    TempDir dir;
    const std::string path = dir.file("huge.txt");
    WriteBytes(path, std::string(3 * kMiB, 'x') + "\r\n");
    try {
        Stream(path, PieceAnswer::More, kMiB);
        ADD_FAILURE() << "read whole";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot read \"" + path +
                                             "\": A line is larger than 1 MB, the most this "
                                             "program reads of it.");
    }
}

// The import keeps reading past a full list only while a later byte could still change the
// letters of a link it took.
TEST(StreamText, TheTextImportTakesItsLinksAsTheWholeFileReadsThem) {
    TestProgram p;
    ASSERT_TRUE(p.Start());
    std::string page = "see http://cafe.example/caf\xC3\xA9 here\r\n";
    for (int i = 0; i < 1100; ++i)
        page += "http://site" + std::to_string(i) + ".example/\r\n";
    WriteBytes(p.File("links.txt"), page + Filler(3 * kMiB / 2) + "caf\xE9\r\n");
    std::string listed;
    p.OnShow("frmAddConfirm", [&](Form&) {
        listed = p.app.frmAddConfirm.Text1.text();
        p.app.frmAddConfirm.Command2.click();
    });
    p.fake.openAnswers.push_back(p.File("links.txt"));
    ASSERT_TRUE(p.Click(p.app.main.menuimportfromtextfile));
    const Names lines = DecodeLines(listed);
    ASSERT_EQ(lines.size(), BookmarkTable::kRows);
    EXPECT_EQ(lines.front(), "http://cafe.example/caf\xC3\xA3\xC2\xA9");
    EXPECT_EQ(lines.back(), "http://site" + std::to_string(BookmarkTable::kRows - 2) + ".example/");
}

} // namespace
} // namespace tabbern::test
