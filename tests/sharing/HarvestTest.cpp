// The link harvester on its own: which links a text gives, and in which order.
#include "sharing/Harvest.h"
#include "support/DescribedScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tabbern::test {
namespace {

using Links = std::vector<std::string>;

TEST(HarvestLinks, GivesEachLineHttpsLinksThenHttpThenWww) {
    // The "www" link keeps its full stop: only a blank or the line end closes a link.
    EXPECT_EQ(HarvestLinks("www.b.example. some words https://a.example/x"),
              (Links{"https://a.example/x", "www.b.example."}));
    EXPECT_EQ(HarvestLinks("www.c http://b https://a x https://d"),
              (Links{"https://a", "https://d", "http://b", "www.c"}));
    // Line by line: the second line's "https://" link comes after the first line's "www" link.
    EXPECT_EQ(HarvestLinks("www.one\r\nhttps://two\rhttp://three\nwww.four"),
              (Links{"www.one", "https://two", "http://three", "www.four"}));
    EXPECT_EQ(HarvestLinks(""), Links{});
    EXPECT_EQ(HarvestLinks("   \r\n  no links at all  "), Links{});
}

TEST(HarvestLinks, KeepsPunctuationAndLowersLetters) {
    EXPECT_EQ(HarvestLinks("<a href=\"HTTPS://X.Example/A,b\tc?Q=1\">Link</a>"),
              (Links{"https://x.example/a,b\tc?q=1\">link</a>"}));
    EXPECT_EQ(HarvestLinks("WWW.ÉTÉ.example/Ä"), (Links{"www.été.example/ä"}));
    // A prefix alone is a link; a part of one is not.
    EXPECT_EQ(HarvestLinks("https:// WWW http:/ ww"), (Links{"https://", "www"}));
}

TEST(HarvestLinks, FindsNoLinkInsideAnEarlierLink) {
    // The "http://" link already covers the "www" of its host.
    EXPECT_EQ(HarvestLinks("http://www.a.example"), (Links{"http://www.a.example"}));
    // One "https://" link to the next blank, whatever follows it.
    EXPECT_EQ(HarvestLinks("https://a.example/https://b.example"),
              (Links{"https://a.example/https://b.example"}));
    // "www" inside a word starts a link there.
    EXPECT_EQ(HarvestLinks("see awwwb.example/x"), (Links{"wwwb.example/x"}));
}

TEST(HarvestLinks, ALinkRunningIntoAnEarlierLinkEndsWhereThatLinkBegins) {
    // No filler letters that were never in the text.
    EXPECT_EQ(HarvestLinks("www.a.examplehttps://b.example"),
              (Links{"https://b.example", "www.a.example"}));
    EXPECT_EQ(HarvestLinks("http://a.example/https://b"),
              (Links{"https://b", "http://a.example/"}));
    EXPECT_EQ(HarvestLinks("wwwxhttp://yhttps://z"), (Links{"https://z", "http://y", "wwwx"}));
}

TEST(HarvestLinks, StopsAtTheLimit) {
    std::string text;
    for (int i = 0; i < 1005; ++i)
        text += "www." + std::to_string(i) + " ";
    const Links links = HarvestLinks(text, 1001);
    ASSERT_EQ(links.size(), 1001u);
    EXPECT_EQ(links.front(), "www.0");
    EXPECT_EQ(links.back(), "www.1000");
    EXPECT_EQ(HarvestLinks(text, 0), Links{});

    // A sink may stop the harvest itself; nothing more is handed over.
    Links taken;
    LinkHarvester harvester([&taken](std::string_view link) {
        taken.emplace_back(link);
        return taken.size() < 2;
    });
    EXPECT_FALSE(harvester.add("https://a http://b www.c"));
    EXPECT_FALSE(harvester.add("https://d"));
    EXPECT_EQ(taken, (Links{"https://a", "http://b"}));
}

// Random texts built from pieces of prefixes, blanks, line ends and other characters, where
// links overlap, touch and hide inside each other in every way.
TEST(HarvestLinks, AgreesWithTheDescribedScanOnRandomTexts) {
    const std::vector<std::string> pieces = {
        "https://", "http://", "www", "HTTP://", "Www", "h",   "t",   "p",   "s",   ":",
        "/",        "w",       "W",   "R",       "O",   "B",   " ",   "  ",  ".",   "x",
        "\t",       "\r\n",    "\n",  "\r",      "ww",  "htt", "://", "ps:", "wwww"};
    std::mt19937 random(20260612);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int k = length(random); k > 0; --k)
            text += pieces[pick(random)];
        ASSERT_EQ(HarvestLinks(text), DescribedScan(text)) << '"' << text << '"';
    }
}

TEST(HarvestLinks, AgreesWithTheDescribedScanOnLongLines) {
    // Many links of one kind before a single link of another, at either end of a long line.
    std::string manyHttp, manyWww;
    for (int i = 0; i < 300; ++i) {
        manyHttp += "http://a" + std::to_string(i) + ".example/p ";
        manyWww += "www.b" + std::to_string(i) + " ";
    }
    for (const std::string& text : {manyHttp + "www.last", "www.first " + manyHttp,
                                    manyWww + "http://last", manyWww + "xhttps://y"})
        EXPECT_EQ(HarvestLinks(text), DescribedScan(text));
}

} // namespace
} // namespace tabbern::test
