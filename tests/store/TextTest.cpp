#include "store/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tabbern {
namespace {

TEST(Trim, RemovesBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trim("  two words  "), "two words");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(Trim, KeepsTabsAndLineEnds) {
    EXPECT_EQ(Trim(" \tname\t "), "\tname\t");
    EXPECT_EQ(Trim("\r\nx\r\n"), "\r\nx\r\n");
    EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0"); // no-break space is no blank
}

TEST(IsBlank, OnlyEmptyOrBlanks) {
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_FALSE(IsBlank(" \t "));
    EXPECT_FALSE(IsBlank(" x "));
}

TEST(LCase, Ascii) {
    EXPECT_EQ(LCase("Hello WORLD 123 [@Z]"), "hello world 123 [@z]");
}

TEST(LCase, AccentedLatin) {
    EXPECT_EQ(LCase("\xC3\x89"
                    "COLE"),
              "\xC3\xA9"
              "cole");                                   // ÉCOLE -> école
    EXPECT_EQ(LCase("\xC3\x80\xC3\x96\xC3\x98\xC3\x9E"), // ÀÖØÞ
              "\xC3\xA0\xC3\xB6\xC3\xB8\xC3\xBE");       // àöøþ
    EXPECT_EQ(LCase("\xC3\x97"), "\xC3\x97");            // × has no case
    EXPECT_EQ(LCase("\xC5\xB8"), "\xC3\xBF");            // Ÿ -> ÿ
    EXPECT_EQ(LCase("\xC3\xA9"), "\xC3\xA9");            // é stays
}

TEST(LCase, AlternatingPairsOfLatinExtended) {
    EXPECT_EQ(LCase("\xC4\x80"), "\xC4\x81"); // Ā (first of its run) -> ā
    EXPECT_EQ(LCase("\xC4\xAE"), "\xC4\xAF"); // Į (last of its run) -> į
    EXPECT_EQ(LCase("\xC4\x81"), "\xC4\x81"); // ā between the steps stays
    EXPECT_EQ(LCase("\xC5\xBD"), "\xC5\xBE"); // Ž -> ž
}

TEST(LCase, GreekAndCyrillic) {
    // ΑΘΗΝΑ ΣΟΦΙΑ -> αθηνα σοφια: the simple mapping has no final-sigma rule.
    EXPECT_EQ(LCase("\xCE\x91\xCE\x98\xCE\x97\xCE\x9D\xCE\x91 \xCE\xA3\xCE\x9F\xCE\xA6\xCE\x99"
                    "\xCE\x91\xCE\xA3"),
              "\xCE\xB1\xCE\xB8\xCE\xB7\xCE\xBD\xCE\xB1 \xCF\x83\xCE\xBF\xCF\x86\xCE\xB9"
              "\xCE\xB1\xCF\x83");
    // МОСКВА Ё -> москва ё
    EXPECT_EQ(LCase("\xD0\x9C\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90 \xD0\x81"),
              "\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0 \xD1\x91");
}

TEST(LCase, SharpSAndDottedCapitalIFollowTheSimpleMapping) {
    EXPECT_EQ(LCase("STRA\xC3\x9F"
                    "E"),
              "stra\xC3\x9f"
              "e");                               // ß is lower case already
    EXPECT_EQ(LCase("\xE1\xBA\x9E"), "\xC3\x9F"); // capital ẞ -> ß
    EXPECT_EQ(LCase("\xC4\xB0"), "i");            // İ -> i, no combining dot
    EXPECT_EQ(LCase("\xC4\xB1"), "\xC4\xB1");     // dotless ı stays
    EXPECT_EQ(LCase("I"), "i");                   // no Turkish rule for I
}

TEST(LCase, ChangesOfEncodedLength) {
    EXPECT_EQ(LCase("\xE2\x84\xAA"), "k");        // Kelvin sign -> k
    EXPECT_EQ(LCase("\xC8\xBA"), "\xE2\xB1\xA5"); // Ⱥ -> ⱥ, two bytes to three
}

TEST(LCase, BeyondTheBasicPlane) {
    EXPECT_EQ(LCase("\xF0\x90\x90\x80"), "\xF0\x90\x90\xA8"); // Deseret 𐐀 -> 𐐨
    EXPECT_EQ(LCase("\xF0\x9E\xA4\x80"), "\xF0\x9E\xA4\xA2"); // Adlam U+1E900 -> U+1E922
    EXPECT_EQ(LCase("\xF0\x9E\xA4\xA1"), "\xF0\x9E\xA5\x83"); // Adlam U+1E921 -> U+1E943
    EXPECT_EQ(LCase("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80"); // an emoji has no case
}

TEST(LCase, UncasedScriptsAndSymbolsUnchanged) {
    EXPECT_EQ(LCase("\xE6\xBC\xA2\xE5\xAD\x97 \xE2\x82\xAC 5"),
              "\xE6\xBC\xA2\xE5\xAD\x97 \xE2\x82\xAC 5");
}

TEST(LCase, InvalidBytesPassUnchanged) {
    EXPECT_EQ(LCase("A\xC3(B"), "a\xC3(b");             // truncated sequence
    EXPECT_EQ(LCase("\xFF\xFEZ"), "\xFF\xFEz");         // never-valid bytes
    EXPECT_EQ(LCase("\xC0\x81Q"), "\xC0\x81q");         // overlong
    EXPECT_EQ(LCase("\xED\xA0\x80X"), "\xED\xA0\x80x"); // encoded surrogate
    EXPECT_EQ(LCase("\xC9"
                    "CLAIR"),
              "\xC9"
              "clair");                       // a Windows-1252 É, not decoded
    EXPECT_EQ(LCase("\xE2\x82"), "\xE2\x82"); // cut off at the end
}

TEST(TrimLower, NamesCompareEqualAcrossCaseAndBlanks) {
    EXPECT_EQ(TrimLower("  \xC3\x89t\xC3\xA9 Work "), "\xC3\xA9t\xC3\xA9 work");
    EXPECT_EQ(TrimLower(" \xC3\x89T\xC3\x89 "), TrimLower("\xC3\xA9t\xC3\xA9"));
}

TEST(FindNoCase, FindsAsciiNeedleIgnoringCase) {
    EXPECT_EQ(FindNoCase("Visit HTTP://example", "http://"), 6u);
    EXPECT_EQ(FindNoCase("wWw.x", "WWW"), 0u);
    EXPECT_EQ(FindNoCase("abc", "abc"), 0u);
    EXPECT_TRUE(ContainsNoCase("see Www.Example.com", "www."));
    EXPECT_FALSE(ContainsNoCase("ww3", "www"));
}

TEST(FindNoCase, StartPositionAndEdges) {
    EXPECT_EQ(FindNoCase("http http", "HTTP", 1), 5u);
    EXPECT_EQ(FindNoCase("http", "http", 1), std::string_view::npos);
    EXPECT_EQ(FindNoCase("ab", "abc"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("ab", "a", 5), std::string_view::npos);
    EXPECT_EQ(FindNoCase("ab", "", 1), 1u);
    EXPECT_EQ(FindNoCase("", "x"), std::string_view::npos);
}

TEST(FindNoCase, OnlyAsciiLettersAreFolded) {
    EXPECT_EQ(FindNoCase("a[b", "A{B"), std::string_view::npos); // '[' and '{' differ by 32
    EXPECT_EQ(FindNoCase("x\xC3\x89y", "\xC3\xA9"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("x\xC3\xA9Y", "\xC3\xA9y"), 1u);
}

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRight) {
    EXPECT_EQ(ReplaceAll("a--b--c", "--", "+"), "a+b+c");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("ab", "a", "aa"), "aab"); // the replacement is not searched again
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceAll("xx", "x", ""), "");
}

TEST(IsValidUtf8, AcceptsWellFormedText) {
    for (const char* s :
         {"", "plain", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x90\x90\x80", "\xC2\x80", "\xDF\xBF",
          "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(s)) << s;
}

TEST(IsValidUtf8, RejectsMalformedText) {
    const std::vector<std::string> bad = {
        "\x80",     // lone continuation byte
        "\xC3",     // truncated
        "\xE2\x82", // truncated
        "\xE2\x82"
        "A",                // continuation missing
        "\xC0\x80",         // overlong NUL
        "\xC1\xBF",         // overlong
        "\xE0\x9F\xBF",     // overlong three-byte form
        "\xF0\x8F\xBF\xBF", // overlong four-byte form
        "\xED\xA0\x80",     // high surrogate
        "\xED\xBF\xBF",     // low surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xF5\x80\x80\x80", // lead byte beyond Unicode
        "\xFF",
        "ok\xE9", // Windows-1252 é
    };
    for (const auto& s : bad)
        EXPECT_FALSE(IsValidUtf8(s)) << testing::PrintToString(s);
}

TEST(NextCodePoint, DecodesAndAdvances) {
    const std::string_view s = "a\xC3\xA9\xE2\x82\xAC\xF0\x90\x90\x80";
    std::size_t i = 0;
    bool valid = false;
    const std::vector<std::pair<char32_t, std::size_t>> expected = {
        {U'a', 1}, {0xE9, 3}, {0x20AC, 6}, {0x10400, 10}};
    for (const auto& [cp, next] : expected) {
        EXPECT_EQ(NextCodePoint(s, i, valid), cp);
        EXPECT_TRUE(valid);
        EXPECT_EQ(i, next);
    }
}

TEST(NextCodePoint, MalformedByteYieldsItselfAndAdvancesByOne) {
    const std::string_view s = "\xE2\x82"
                               "A";
    std::size_t i = 0;
    bool valid = true;
    EXPECT_EQ(NextCodePoint(s, i, valid), 0xE2u);
    EXPECT_FALSE(valid);
    EXPECT_EQ(i, 1u);
    EXPECT_EQ(NextCodePoint(s, i, valid), 0x82u);
    EXPECT_FALSE(valid);
    EXPECT_EQ(i, 2u);
    EXPECT_EQ(NextCodePoint(s, i, valid), U'A');
    EXPECT_TRUE(valid);
    EXPECT_EQ(i, 3u);
}

TEST(AppendUtf8, EncodesEachLengthAtItsBoundaries) {
    const std::vector<std::pair<char32_t, std::string>> cases = {
        {0x00, std::string(1, '\0')},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [cp, bytes] : cases) {
        std::string out = "x";
        AppendUtf8(out, cp);
        EXPECT_EQ(out, "x" + bytes) << std::hex << static_cast<unsigned long>(cp);
    }
}

TEST(AppendUtf8, CodePointsWithoutUtf8FormBecomeReplacementCharacter) {
    std::string out;
    AppendUtf8(out, 0xD800);
    AppendUtf8(out, 0x110000);
    EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(EqualsTrimLower, AgreesWithComparingTrimLowerCopies) {
    const char* texts[] = {"",
                           " ",
                           "work",
                           " WORK ",
                           "Work 2",
                           "wORk  ",
                           "\tWork",
                           "\xC3\x89t\xC3\xA9",
                           " \xC3\xA9T\xC3\x89 ",
                           "all groups",
                           "All Groups",
                           "w",
                           "wor"};
    for (const char* s : texts)
        for (const char* k : texts) {
            const std::string key = TrimLower(k);
            EXPECT_EQ(EqualsTrimLower(s, key), TrimLower(s) == key)
                << "[" << s << "] [" << k << "]";
        }
    EXPECT_TRUE(EqualsTrimLower("  Work ", "work"));
    EXPECT_FALSE(EqualsTrimLower("Work 2", "work"));
    EXPECT_TRUE(EqualsTrimLower(" \xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"));
}

} // namespace
} // namespace tabbern
