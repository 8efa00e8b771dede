// Checking links with a scripted fetcher: the limits, the way each answer is followed and named,
// the remembered results in tabbern.chk, stopping, and the results window's rows.
#include "support/AppFixture.h"

#include "app/Exit.h"
#include "checking/CheckLinks.h"

#include <map>
#include <sstream>

namespace tabbern::test {
namespace {

// ---- the check alone ----------------------------------------------------------------------------

struct Engine {
    FakeLinkFetcher fetcher;
    LinkCheck check{fetcher, LinkCheckLimits{}};
    std::vector<LinkResult> results;
    Engine() {
        fetcher.setAnswerHandler([this](const FetchAnswer& a) { check.answer(a); });
        check.onResult = [this](const LinkResult& r) { results.push_back(r); };
    }
};

TEST(LinkCheckLimits, NeverMoreThanSixAtOnceNorTwoToOneHostWhateverOrderAnswersComeIn) {
    Engine e;
    std::vector<std::string> addresses;
    for (int i = 0; i < 12; ++i)
        addresses.push_back("http://a.test/" + std::to_string(i));
    for (int i = 0; i < 6; ++i)
        addresses.push_back("https://B.test:8443/" + std::to_string(i));
    for (const char* host : {"c", "d", "e", "f", "g"})
        addresses.push_back(std::string("http://") + host + ".test/");
    addresses.push_back("http://a.test/0"); // asked for once only
    e.check.start(addresses);
    std::size_t most = 0;
    for (int step = 0; !e.fetcher.outstanding.empty(); ++step) {
        std::map<std::string, int> perHost;
        for (const FetchRequest& r : e.fetcher.outstanding)
            EXPECT_LE(++perHost[HostKey(r.url)], 2) << r.url;
        most = std::max(most, e.fetcher.outstanding.size());
        ASSERT_LE(e.fetcher.outstanding.size(), 6u);
        // Newest, then oldest, in turn.
        const auto& o = e.fetcher.outstanding;
        e.fetcher.answer(step % 2 ? o.front() : o.back(), 200);
    }
    EXPECT_EQ(most, 6u);
    EXPECT_EQ(e.fetcher.sent.size(), 23u);
    EXPECT_EQ(e.results.size(), 23u);
    EXPECT_FALSE(e.check.running());
    EXPECT_EQ(e.fetcher.sent.front().timeoutSeconds, 15);
}

// A chain of answers, one a hop: "301>../new" is a status with its Location, a word a failure.
// Each asked address is "H " (HEAD) or "G " (GET) and the address, "u" the one checked.
struct Chain {
    const char* what;
    const char* answers;
    const char* asked;
    const char* text;
    const char* code;
    const char* finalAddress;
};

TEST(LinkCheckChains, EachAnswerIsFollowedAndNamedAsTheUserReadsIt) {
    const std::string u = "http://a.test/dir/page";
    const std::map<std::string, FetchFailure> failures = {
        {"timeout", FetchFailure::TimedOut},
        {"nohost", FetchFailure::HostNotFound},
        {"refused", FetchFailure::Refused},
        {"certificate", FetchFailure::CertificateNotTrusted},
        {"other", FetchFailure::Other}};
    const std::string loops = "302>/loop 302>/loop 302>/loop 302>/loop 302>/loop ";
    const std::string ten = loops + loops + "200", eleven = loops + loops + "302>/loop";
    std::string tenLoops;
    for (int i = 0; i < 10; ++i)
        tenLoops += " H http://a.test/loop";
    // clang-format off
    const Chain chains[] = {
        {"live", "200", "H u", "200 OK", "200", "u"},
        {"gone", "404", "H u", "404 Not Found", "404", "u"},
        {"no reason phrase", "599", "H u", "599", "599", "u"},
        {"HEAD refused", "405 200", "H u G u", "200 OK", "200", "u"},
        {"HEAD not implemented", "501 410", "H u G u", "410 Gone", "410", "u"},
        {"moved, relative", "301>../new?x=1 200", "H u H http://a.test/new?x=1",
         "moved to http://a.test/new?x=1", "301", "http://a.test/new?x=1"},
        {"moved elsewhere, then a temporary hop, then HEAD refused",
         "308>https://b.test/ 302>/login 405 200",
         "H u H https://b.test/ H https://b.test/login G https://b.test/login",
         "moved to https://b.test/login", "308", "https://b.test/login"},
        {"temporary redirect to a live page", "307>//c.test/p/./q/../r 204",
         "H u H http://c.test/p/r", "204 No Content", "204", "http://c.test/p/r"},
        {"moved to a missing page", "301>other 404", "H u H http://a.test/dir/other",
         "404 Not Found", "404", "http://a.test/dir/other"},
        {"ten redirects are followed", nullptr, nullptr, "200 OK", "200", "http://a.test/loop"},
        {"the eleventh is not", nullptr, nullptr, "too many redirects", "redirects",
         "http://a.test/loop"},
        {"moved off the web", "301>ftp://f.test/x", "H u", "moved to ftp://f.test/x", "error", "u"},
        {"redirect without a Location", "302", "H u", "302 Found", "302", "u"},
        {"timed out", "timeout", "H u", "no answer in 15 s", "timeout", "u"},
        {"no such host", "nohost", "H u", "host not found", "nohost", "u"},
        {"refused", "refused", "H u", "refused", "refused", "u"},
        {"bad certificate after a redirect", "301>https://a.test/ certificate",
         "H u H https://a.test/", "certificate not trusted", "certificate", "https://a.test/"},
        {"anything else", "other", "H u", "protocol error", "error", "u"},
    };
    // clang-format on
    for (const Chain& c : chains) {
        SCOPED_TRACE(c.what);
        const bool loop = !c.answers;
        std::istringstream hops(loop ? (c.code[0] == '2' ? ten : eleven) : c.answers);
        std::istringstream askedWords(loop ? "H u" + tenLoops : c.asked);
        Names expectedAsked, asked;
        for (std::string word; askedWords >> word;)
            expectedAsked.push_back(word == "u" ? u : word);
        Engine e;
        e.check.start({u});
        for (std::string hop; hops >> hop;) {
            ASSERT_EQ(e.fetcher.outstanding.size(), 1u);
            const FetchRequest r = e.fetcher.outstanding.front();
            asked.insert(asked.end(), {r.method == FetchMethod::Head ? "H" : "G", r.url});
            const std::size_t arrow = hop.find('>');
            if (failures.contains(hop))
                e.fetcher.fail(r, failures.at(hop), hop == "other" ? "protocol error" : "");
            else
                e.fetcher.answer(r, std::stoi(hop.substr(0, arrow)),
                                 arrow == hop.npos ? "" : hop.substr(arrow + 1));
        }
        EXPECT_TRUE(e.fetcher.outstanding.empty());
        EXPECT_EQ(asked, expectedAsked);
        ASSERT_EQ(e.results.size(), 1u);
        const LinkResult& r = e.results[0];
        EXPECT_EQ(ResultText(r, 15), c.text);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.finalAddress, std::string(c.finalAddress) == "u" ? u : c.finalAddress);
        EXPECT_EQ(IsFineResult(r), r.code.starts_with('2'));
    }
}

// ---- the command in the program ---------------------------------------------------------------

constexpr std::int64_t kJune12 = 1781256600; // 2026-06-12T09:30:00Z

class CheckLinksTest : public AppTest {
protected:
    void SetUp() override {
        app.linkCheck.clock = [] { return kJune12; };
    }
    FakeLinkFetcher& fetcher() { return fake.fetcher; }
    CheckLinksForm& window() { return app.frmCheckLinks; }
    std::string Chk() const { return ReadBytes(File("tabbern.chk")); }
    // Answers the outstanding request for the address.
    void Answer(const std::string& url, int status, const std::string& location = {}) {
        for (const FetchRequest& r : fetcher().outstanding)
            if (r.url == url) {
                const FetchRequest request = r;
                ASSERT_TRUE(Run([&] { fetcher().answer(request, status, location); }));
                return;
            }
        FAIL() << "no request for " << url;
    }
    std::vector<std::string> Asked() const {
        std::vector<std::string> urls;
        for (const FetchRequest& r : fake.fetcher.sent)
            urls.push_back(r.url);
        return urls;
    }
};

TEST_F(CheckLinksTest, AGroupIsCheckedAndRememberedWithoutAByteOfTheDataFilesChanging) {
    ASSERT_TRUE(StartWith(
        {Rec(0, "Live", "Work", "http://live.test/"), Rec(0, "Dead", "Work", "www.dead.test/page"),
         Rec(0, "Moved", "Work", "https://old.test/"), Rec(0, "Disk", "Work", "C:\\notes.txt"),
         Rec(0, "Other", "Home", "http://home.test/")},
        {"Work", "Home"}));
    const std::string store = StoreBytes();
    const std::string groups = GroupBytes();
    // Lines of other addresses stay, damaged and foreign ones go, a rechecked one is replaced.
    WriteBytes(File("tabbern.chk"),
               "http://home.test/\t200\thttp://home.test/\t2026-01-02T03:04:05Z\r\n"
               "garbage\r\n"
               "http://live.test/\t500\thttp://live.test/\t2025-12-31T23:59:59Z\r\n"
               "http://x.test/\tfine\thttp://x.test/\t2026-01-02T03:04:05Z\r\n"
               "http://x.test/\t200\thttp://x.test/\t2026-02-30T03:04:05Z\n"
               "http://x.test/\t200\thttp://x.test/\r\n"
               "x.test\t200\thttp://x.test/\t2026-01-02T03:04:05Z\r\n");
    ChooseGroup("Work");
    ASSERT_TRUE(Click(app.main.menuchecklinks));
    EXPECT_TRUE(window().visible());
    EXPECT_EQ(window().caption(), "Check Links - Work");
    EXPECT_EQ(Asked(),
              (Names{"http://live.test/", "http://www.dead.test/page", "https://old.test/"}));

    Answer("http://www.dead.test/page", 404);
    EXPECT_EQ(window().Label1.caption(), "Checked 1 of 3");
    EXPECT_EQ(window().ProgressBar1.value(), 1);
    EXPECT_EQ(window().ProgressBar1.maximum(), 3);
    Answer("https://old.test/", 301, "https://new.test/");
    Answer("http://live.test/", 200);
    Answer("https://new.test/", 200);

    EXPECT_EQ(window().Label1.caption(), "Checked 3 of 3, 2 need a look");
    EXPECT_EQ(window().Command1.caption(), "Close");
    EXPECT_EQ(window().List1.items(),
              (Names{"Dead  \u2014  www.dead.test/page  \u2014  404 Not Found",
                     "Moved  \u2014  https://old.test/  \u2014  moved to https://new.test/"}));
    EXPECT_EQ(Chk(), "http://home.test/\t200\thttp://home.test/\t2026-01-02T03:04:05Z\r\n"
                     "http://live.test/\t200\thttp://live.test/\t2026-06-12T09:30:00Z\r\n"
                     "http://www.dead.test/page\t404\thttp://www.dead.test/page\t"
                     "2026-06-12T09:30:00Z\r\n"
                     "https://old.test/\t301\thttps://new.test/\t2026-06-12T09:30:00Z\r\n");
    EXPECT_EQ(StoreBytes(), store);
    EXPECT_EQ(GroupBytes(), groups);

    // The details under the list say what the last check found.
    Pick("Moved");
    EXPECT_EQ(app.main.lblLastChecked.caption(),
              "Last checked: 6/12/2026, moved to https://new.test/");
    Pick("Disk");
    EXPECT_EQ(app.main.lblLastChecked.caption(), "");
    ASSERT_TRUE(Run([&] { window().Command1.click(); }));
    EXPECT_FALSE(window().visible());
}

TEST_F(CheckLinksTest, StoppingAbandonsTheRequestsKeepsWhatWasFoundAndIgnoresLateAnswers) {
    Names records;
    for (int i = 0; i < 8; ++i)
        records.push_back(
            Rec(0, "B" + std::to_string(i), "Work", "http://s" + std::to_string(i) + ".test/"));
    for (const bool byExit : {false, true}) {
        SCOPED_TRACE(byExit ? "program ended" : "window closed");
        TestProgram p;
        p.app.linkCheck.clock = [] { return kJune12; };
        ASSERT_TRUE(p.StartWith(records, {"Work"}));
        ASSERT_TRUE(p.Click(p.app.main.menuchecklinks));
        FakeLinkFetcher& f = p.fake.fetcher;
        ASSERT_EQ(f.outstanding.size(), 6u);
        const FetchRequest late = f.outstanding[1];
        p.Run([&] { f.answer(f.outstanding[0], 404); });
        if (byExit)
            EXPECT_FALSE(p.Run([&] { ExitSequence(p.app); }));
        else
            ASSERT_TRUE(p.Run([&] { p.app.frmCheckLinks.cmdCloseBox.click(); }));
        EXPECT_EQ(f.cancelAllCalls, 1);
        EXPECT_TRUE(f.outstanding.empty());
        if (!byExit) {
            EXPECT_FALSE(p.app.frmCheckLinks.visible());
        }
        const std::string chk = "http://s0.test/\t404\thttp://s0.test/\t2026-06-12T09:30:00Z\r\n";
        EXPECT_EQ(ReadBytes(p.File("tabbern.chk")), chk);

        p.Run([&] { f.answer(late, 500); });
        EXPECT_EQ(f.sent.size(), 7u); // the six, and the one that followed the first answer
        EXPECT_EQ(ReadBytes(p.File("tabbern.chk")), chk);
        EXPECT_EQ(p.app.frmCheckLinks.List1.listCount(), 1);
    }
}

TEST_F(CheckLinksTest, ADoubleClickedRowSelectsItsBookmarkInItsGroup) {
    ASSERT_TRUE(StartWith({Rec(0, "Alpha", "Work", "http://a.test/"),
                           Rec(0, "Beta", "Home", "http://b.test/"),
                           Rec(0, "Gamma", "Home", "http://c.test/")},
                          {"Work", "Home"}));
    ChooseGroup("All Groups");
    ASSERT_TRUE(Click(app.main.menuchecklinks));
    Answer("http://c.test/", 410);
    Answer("http://a.test/", 200);
    Answer("http://b.test/", 200);
    ChooseGroup("Work");
    ASSERT_TRUE(Run([&] {
        window().List1.setListIndex(0);
        window().List1.dblClick();
    }));
    EXPECT_EQ(app.main.Combo1.text(), "Home");
    EXPECT_EQ(app.main.List1.selectedText(), "Gamma");
    EXPECT_EQ(app.main.focusedControl(), "List1");
}

} // namespace
} // namespace tabbern::test
