// The text layer: the code page, the UTF-8 helpers, lines in and out of file bytes, and the
// trimming, lower-casing and searching helpers. The input is raw file bytes; split at its first
// NUL byte it also gives the second text of the two-text helpers.
//
// Properties: no crash and no undefined behaviour; the UTF-8 check and the code-point reader
// agree with a plain reading of the UTF-8 rules; the code page maps every byte and back;
// decoded lines are valid UTF-8 without line ends, as many as the bytes' line ends say; nothing
// is lost: lines written and read again are the same lines; lower-casing is stable and keeps
// ASCII to ASCII; the helpers agree with their plain definitions.
#include "FuzzSupport.h"

#include "store/CodePage.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <vector>

namespace tabbern::fuzz {
namespace {

// The length of the well-formed UTF-8 sequence at i (Unicode table 3-7), or 0.
std::size_t WellFormedLength(std::string_view s, std::size_t i) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    auto in = [&](std::size_t k, unsigned lo, unsigned hi) {
        return i + k < s.size() && at(k) >= lo && at(k) <= hi;
    };
    const unsigned b = at(0);
    if (b <= 0x7F)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return in(1, 0x80, 0xBF) ? 2 : 0;
    if (b == 0xE0)
        return in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
        return in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    if (b == 0xED)
        return in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF) ? 3 : 0;
    if (b == 0xF0)
        return in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    if (b >= 0xF1 && b <= 0xF3)
        return in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    if (b == 0xF4)
        return in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    return 0;
}

bool PlainIsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = WellFormedLength(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

void CheckCodePoints(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t start = i;
        const std::size_t expected = WellFormedLength(s, i);
        bool valid = false;
        const char32_t cp = NextCodePoint(s, i, valid);
        Require(valid == (expected != 0), "the reader knows a well-formed sequence", s);
        if (!valid) {
            Require(i == start + 1 && cp == static_cast<unsigned char>(s[start]),
                    "a bad byte reads as itself, one byte on", s);
            continue;
        }
        Require(i == start + expected, "the reader takes the whole sequence", s);
        std::string again;
        AppendUtf8(again, cp);
        Require(s.substr(start, expected) == again, "a code point writes as it was read", s);
    }
}

void CheckCodePage(std::string_view bytes) {
    const CodePage& cp = Windows1252();
    const std::string utf8 = cp.decode(bytes);
    Require(PlainIsValidUtf8(utf8), "the code page decodes to valid UTF-8", bytes);
    std::string back;
    Require(cp.encode(utf8, back) && back == bytes, "every byte survives the code page", bytes);
}

void CheckLines(std::string_view bytes) {
    const std::vector<std::string> lines = DecodeLines(bytes);
    // The line count from the bytes alone: a byte-order mark never holds a line end, and a
    // last line counts only when something follows the last line end.
    std::size_t ends = 0, lastEnd = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            ++ends;
            lastEnd = i + 1;
        }
    }
    const bool bom = bytes.starts_with("\xEF\xBB\xBF");
    const std::size_t textStart = ends == 0 && bom ? 3 : lastEnd;
    const bool lastLine = bytes.size() > textStart;
    Require(lines.size() == ends + (lastLine ? 1 : 0), "one line per line end", bytes);
    for (const std::string& line : lines) {
        Require(PlainIsValidUtf8(line), "lines are valid UTF-8", bytes);
        Require(line.find_first_of("\r\n") == std::string::npos, "a line holds no line end", bytes);
    }
    // Nothing lost: what is written reads back as the same lines.
    Require(DecodeLines(EncodeLines(lines)) == lines, "written lines read back the same", bytes);
}

void CheckLowerCase(std::string_view s) {
    const std::string lower = LCase(s);
    Require(LCase(lower) == lower, "lower case is stable", s);
    if (PlainIsValidUtf8(s))
        Require(PlainIsValidUtf8(lower), "valid text lowers to valid text", s);
    // ASCII letters fold and other ASCII stays ASCII.
    std::size_t ascii = 0, lowerAscii = 0;
    for (char c : s)
        ascii += static_cast<unsigned char>(c) < 0x80;
    for (char c : lower) {
        lowerAscii += static_cast<unsigned char>(c) < 0x80;
        Require(c < 'A' || c > 'Z', "no capital ASCII letter is left", s);
    }
    Require(lowerAscii >= ascii, "ASCII stays ASCII", s);
}

std::string PlainTrim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

bool AsciiEqualNoCase(char a, char b) {
    auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return low(a) == low(b);
}

std::size_t PlainFindNoCase(std::string_view hay, std::string_view needle, std::size_t from) {
    for (std::size_t pos = from; pos + needle.size() <= hay.size(); ++pos) {
        bool all = true;
        for (std::size_t k = 0; k < needle.size() && all; ++k)
            all = AsciiEqualNoCase(hay[pos + k], needle[k]);
        if (all)
            return pos;
    }
    return std::string_view::npos;
}

std::string PlainReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(s);
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s.substr(i, from.size()) == from) {
            out += to;
            i += from.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

void CheckHelpers(std::string_view in) {
    const auto [first, rest] = SplitAtNul(in);
    Require(Trim(first) == PlainTrim(first), "trim removes blanks at both ends", first);
    Require(IsBlank(first) == PlainTrim(first).empty(), "blank means nothing but blanks", first);
    const std::size_t start = std::min(first.find_first_not_of(' '), first.size());
    Require(TrimLeft(first) == first.substr(start), "the left trim removes leading blanks", first);
    const std::size_t end = first.find_last_not_of(' ') + 1; // 0 when all blank
    Require(TrimRight(first) == first.substr(0, end), "the right trim removes trailing blanks",
            first);
    const std::string key = TrimLower(first);
    Require(key == PlainTrim(LCase(first)), "trim-lower is the trim of the lower case", first);
    Require(EqualsTrimLower(first, key), "a text equals its own trimmed lower case", first);
    Require(EqualsTrimLower(first, rest) == (key == rest), "the quick comparison agrees", in);

    const auto [needle, third] = SplitAtNul(rest);
    const std::size_t from = third.empty() ? 0 : static_cast<unsigned char>(third[0]);
    Require(FindNoCase(first, needle, from) == PlainFindNoCase(first, needle, from),
            "the case-blind search finds the first place", in);
    Require(ReplaceAll(first, needle, third) == PlainReplaceAll(first, needle, third),
            "replacement replaces every occurrence left to right", in);
}

} // namespace
} // namespace tabbern::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabbern;
    using namespace tabbern::fuzz;
    const std::string_view bytes = AsText(data, size);

    Require(IsValidUtf8(bytes) == PlainIsValidUtf8(bytes), "the UTF-8 check follows the rules",
            bytes);
    CheckCodePoints(bytes);
    CheckCodePage(bytes);
    CheckLines(bytes);
    CheckLowerCase(bytes);
    CheckHelpers(bytes);
    return 0;
}
