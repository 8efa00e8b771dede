// The link harvester: which links a text gives, in which order, against the naive reference
// scan of the links as first described.
#include "sharing/Harvest.h"
#include "store/CodePage.h"
#include "support/DescribedScan.h"

#include <gtest/gtest.h>

#include <random>

namespace tabbern::test {
namespace {

using Links = std::vector<std::string>;

TEST(HarvestLinks, GivesEachLinesHttpsLinksThenHttpThenWwwLowerCasedWithTheirPunctuation) {
    const std::pair<std::string, Links> cases[] = {
        {"www.b.example. some words https://a.example/x",
         {"https://a.example/x", "www.b.example."}},
        {"www.c http://b https://a x https://d", {"https://a", "https://d", "http://b", "www.c"}},
        {"www.one\r\nhttps://two\rhttp://three\nwww.four",
         {"www.one", "https://two", "http://three", "www.four"}},
        {"<a href=\"HTTPS://X.Example/A,b\tc?Q=1\">Link</a>",
         {"https://x.example/a,b\tc?q=1\">link</a>"}},
        {"WWW.\xC3\x89T\xC3\x89.example", {"www.\xC3\xA9t\xC3\xA9.example"}},
        {"https:// WWW http:/ ww", {"https://", "www"}},
        {"http://www.a.example", {"http://www.a.example"}},
        {"see awwwb.example/x", {"wwwb.example/x"}},
        {"wwwxhttp://yhttps://z", {"https://z", "http://y", "wwwx"}},
        {"   \r\n  no links at all  ", {}},
    };
    for (const auto& [text, links] : cases)
        EXPECT_EQ(HarvestLinks(text), links) << text;
}

// A capacity stops it too: the described scan's test below hands over texts with one.
TEST(HarvestLinks, StopsWhenTheSinkSaysSo) {
    Links taken;
    LinkHarvester harvester([&taken](std::string_view link) {
        taken.emplace_back(link);
        return taken.size() < 2;
    });
    EXPECT_FALSE(harvester.add("https://a http://b www.c"));
    EXPECT_FALSE(harvester.add("https://d"));
    EXPECT_EQ(taken, (Links{"https://a", "http://b"}));
}

// Random texts of prefix pieces, blanks, line ends and other characters, where links overlap,
// touch and hide inside each other in every way; and lines of more links of a kind than wait for
// the line's end at once (a thousand), so that the rest are found by going through it again.
// Read as Windows-1252 bytes left undecoded, handed over in pieces and stopped at a capacity,
// the texts give the first of what their decoded text gives.
TEST(HarvestLinks, AgreesWithTheDescribedScan) {
    const std::vector<std::string> pieces = {
        "https://", "http://", "www",  "HTTP://", "Www",  "h",    "t",   "p",   "s",
        ":",        "/",       "w",    "W",       "R",    "O",    "B",   " ",   "  ",
        ".",        "x",       "\t",   "\r\n",    "\n",   "\r",   "ww",  "htt", "://",
        "ps:",      "wwww",    "\xC9", "\xE9",    "\xA0", "\x80", "\xF7"};
    std::mt19937 random(20260612);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<std::size_t> capacity(0, 8);
    const auto coin = [&random] { return random() % 2 == 0; };
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int k = length(random); k > 0; --k)
            text += pieces[pick(random)];
        const std::string decoded = Windows1252().decode(text);
        const Links links = DescribedScan(decoded);
        ASSERT_EQ(HarvestLinks(decoded), links) << '"' << decoded << '"';
        const std::size_t most = round % 2 ? capacity(random) : kNoLinkLimit;
        ASSERT_EQ(InPieces(text, most, coin, &Windows1252()), FirstOf(links, most))
            << most << " \"" << decoded << '"';
    }
    std::string manyHttp, manyWww;
    for (int i = 0; i < 1100; ++i) {
        manyHttp += "http://a" + std::to_string(i) + ".example/p ";
        manyWww += "www.b" + std::to_string(i) + " ";
    }
    for (const std::string& text : {manyHttp + "www.last", "www.first " + manyHttp,
                                    manyWww + "http://last", manyWww + "xhttps://y"}) {
        const Links links = DescribedScan(text);
        EXPECT_EQ(HarvestLinks(text), links);
        int blanks = 0;
        EXPECT_EQ(InPieces(text, kNoLinkLimit, [&blanks] { return ++blanks % 1050 == 0; }), links);
        EXPECT_EQ(InPieces(text, 1001, coin), FirstOf(links, 1001));
    }
}

} // namespace
} // namespace tabbern::test
