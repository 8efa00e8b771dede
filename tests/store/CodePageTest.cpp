#include "store/CodePage.h"

#include "store/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace tabbern {
namespace {

std::string Byte(int b) {
    return std::string(1, static_cast<char>(b));
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    const CodePage& cp = Windows1252();
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string decoded = cp.decode(Byte(b));
        EXPECT_TRUE(IsValidUtf8(decoded)) << b;
        std::string encoded;
        ASSERT_TRUE(cp.encode(decoded, encoded)) << b;
        EXPECT_EQ(encoded, Byte(b)) << b;
        all += Byte(b);
    }
    std::string encoded;
    ASSERT_TRUE(cp.encode(cp.decode(all), encoded));
    EXPECT_EQ(encoded, all);
}

TEST(Windows1252, DecodesByTheWindowsTable) {
    const CodePage& cp = Windows1252();
    EXPECT_EQ(cp.decode("A~\x7F"), "A~\x7F");
    EXPECT_EQ(cp.decode("\x80"), "\xE2\x82\xAC");                 // €
    EXPECT_EQ(cp.decode("\x85"), "\xE2\x80\xA6");                 // …
    EXPECT_EQ(cp.decode("\x8C"), "\xC5\x92");                     // Œ
    EXPECT_EQ(cp.decode("\x93\x94"), "\xE2\x80\x9C\xE2\x80\x9D"); // “”
    EXPECT_EQ(cp.decode("\x9F"), "\xC5\xB8");                     // Ÿ
    EXPECT_EQ(cp.decode("\xA0"), "\xC2\xA0");                     // no-break space
    EXPECT_EQ(cp.decode("caf\xE9"), "caf\xC3\xA9");               // café
    EXPECT_EQ(cp.decode("\xFF"), "\xC3\xBF");                     // ÿ
}

TEST(Windows1252, UndefinedBytesMapToTheControlsOfTheSameValue) {
    const CodePage& cp = Windows1252();
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string expected = {'\xC2', static_cast<char>(b)};
        EXPECT_EQ(cp.decode(Byte(b)), expected) << b;
    }
}

TEST(Windows1252, EncodesCharactersOfTheTable) {
    const CodePage& cp = Windows1252();
    std::string out;
    ASSERT_TRUE(cp.encode("\xE2\x82\xAC", out));
    EXPECT_EQ(out, "\x80");
    ASSERT_TRUE(cp.encode("Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                          "e \xE2\x84\xA2",
                          out));
    EXPECT_EQ(out, "Cr\xE8me br\xFBl\xE9"
                   "e \x99");
    ASSERT_TRUE(cp.encode("", out));
    EXPECT_EQ(out, "");
}

TEST(Windows1252, RefusesWhatHasNoByte) {
    const CodePage& cp = Windows1252();
    std::string out;
    EXPECT_FALSE(cp.encode("x\xE6\xBC\xA2", out)); // CJK
    EXPECT_FALSE(cp.encode("\xC2\x80", out));      // U+0080: byte 0x80 is the euro sign
    EXPECT_FALSE(cp.encode("\xC2\x9F", out));      // U+009F: byte 0x9F is Ÿ
    EXPECT_FALSE(cp.encode("\xC4\x80", out));      // Ā
    EXPECT_FALSE(cp.encode("\xF0\x9F\x98\x80", out));
    EXPECT_FALSE(cp.encode("caf\xE9", out)); // not UTF-8 at all
}

class PassThrough final : public CodePage {
public:
    std::string decode(std::string_view bytes) const override { return std::string(bytes); }
    bool encode(std::string_view utf8, std::string& out) const override {
        out = utf8;
        return true;
    }
};

TEST(ActiveCodePage, DefaultsToWindows1252AndCanBeReplaced) {
    EXPECT_EQ(&ActiveCodePage(), &Windows1252());
    static const PassThrough other;
    SetActiveCodePage(other);
    EXPECT_EQ(&ActiveCodePage(), &other);
    SetActiveCodePage(Windows1252());
    EXPECT_EQ(&ActiveCodePage(), &Windows1252());
}

} // namespace
} // namespace tabbern
