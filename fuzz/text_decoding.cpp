// The text layer against plain readings of its rules: UTF-8, the code page, lines in and out of
// file bytes, lower case, trimming and searching. The input is raw file bytes; split at its NUL
// bytes it also gives the other texts of the helpers that take more than one.
#include "FuzzSupport.h"

#include "store/CodePage.h"
#include "store/Text.h"
#include "store/TextFile.h"

#include <algorithm>
#include <vector>

namespace tabbern::fuzz {
namespace {

// The length of the well-formed UTF-8 sequence at i (Unicode table 3-7), or 0.
std::size_t WellFormedLength(std::string_view s, std::size_t i) {
    // Lead bytes, the sequence length, and the range of the second byte.
    constexpr unsigned kRows[][5] = {
        {0x00, 0x7F, 1, 0, 0},       {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF},
        {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF},
        {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F}};
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    for (const auto& [lo, hi, length, lo2, hi2] : kRows) {
        if (at(0) < lo || at(0) > hi)
            continue;
        if (i + length > s.size())
            return 0;
        for (std::size_t k = 1; k < length; ++k)
            if (at(k) < (k == 1 ? lo2 : 0x80) || at(k) > (k == 1 ? hi2 : 0xBF))
                return 0;
        return length;
    }
    return 0;
}

bool PlainIsValidUtf8(std::string_view s) {
    for (std::size_t i = 0, n = 0; i < s.size(); i += n)
        if ((n = WellFormedLength(s, i)) == 0)
            return false;
    return true;
}

void CheckCodePoints(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t start = i, expected = WellFormedLength(s, i);
        bool valid = false;
        const char32_t cp = NextCodePoint(s, i, valid);
        std::string again;
        AppendUtf8(again, cp);
        Require(valid
                    ? i == start + expected && s.substr(start, expected) == again
                    : expected == 0 && i == start + 1 && cp == static_cast<unsigned char>(s[start]),
                "the reader takes a well-formed sequence whole and a bad byte as itself", s);
    }
}

std::size_t PlainFindNoCase(std::string_view hay, std::string_view needle, std::size_t from) {
    const auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (std::size_t pos = from; pos + needle.size() <= hay.size(); ++pos)
        if (std::equal(needle.begin(), needle.end(), hay.begin() + static_cast<std::ptrdiff_t>(pos),
                       [&](char a, char b) { return low(a) == low(b); }))
            return pos;
    return std::string_view::npos;
}

std::string PlainReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const bool found = !from.empty() && s.substr(i, from.size()) == from;
        out += found ? std::string(to) : std::string(1, s[i]);
        i += found ? from.size() : 1;
    }
    return out;
}

void CheckHelpers(std::string_view in) {
    const auto [first, rest] = SplitAtNul(in);
    const std::size_t start = std::min(first.find_first_not_of(' '), first.size());
    const std::size_t end = first.find_last_not_of(' ') + 1; // 0 when all blank
    const std::string_view trimmed = first.substr(start, end > start ? end - start : 0);
    Require(Trim(first) == trimmed && TrimLeft(first) == first.substr(start) &&
                TrimRight(first) == first.substr(0, end) && IsBlank(first) == trimmed.empty(),
            "trimming removes the blanks at either end", first);
    const std::string key = TrimLower(first);
    Require(key == Trim(LCase(first)) && EqualsTrimLower(first, key),
            "trim-lower is the trim of the lower case", first);
    Require(EqualsTrimLower(first, rest) == (key == rest), "the quick comparison agrees", in);

    const auto [needle, third] = SplitAtNul(rest);
    const std::size_t from = third.empty() ? 0 : static_cast<unsigned char>(third[0]);
    Require(FindNoCase(first, needle, from) == PlainFindNoCase(first, needle, from),
            "the case-blind search finds the first place", in);
    Require(ReplaceAll(first, needle, third) == PlainReplaceAll(first, needle, third),
            "replacement replaces every occurrence left to right", in);
}

} // namespace

void TestOneInput(std::string_view bytes) {

    Require(IsValidUtf8(bytes) == PlainIsValidUtf8(bytes), "the UTF-8 check follows the rules",
            bytes);
    CheckCodePoints(bytes);
    const CodePage& cp = Windows1252();
    std::string back;
    Require(PlainIsValidUtf8(cp.decode(bytes)) && cp.encode(cp.decode(bytes), back) &&
                back == bytes,
            "every byte survives the code page", bytes);
    const std::vector<std::string> lines = DecodeLines(bytes);
    for (const std::string& line : lines)
        Require(PlainIsValidUtf8(line) && line.find_first_of("\r\n") == std::string::npos,
                "lines are valid UTF-8 without line ends", bytes);
    Require(DecodeLines(EncodeLines(lines)) == lines, "written lines read back the same", bytes);
    const std::string lower = LCase(bytes);
    Require(LCase(lower) == lower && std::none_of(lower.begin(), lower.end(),
                                                  [](char c) { return c >= 'A' && c <= 'Z'; }),
            "lower case is stable and leaves no capital ASCII letter", bytes);
    Require(!PlainIsValidUtf8(bytes) || PlainIsValidUtf8(lower), "valid text lowers to valid text",
            bytes);
    CheckHelpers(bytes);
}

} // namespace tabbern::fuzz
