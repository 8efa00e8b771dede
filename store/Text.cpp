#include "store/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace tabbern {

namespace {

constexpr char kBlank = ' ';

// Every code point first, first + stride, ... last lower-cases to itself + delta.
struct CaseRange {
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::uint8_t stride;
};

constexpr CaseRange kLowerCase[] = {
#include "store/CaseTable.inc"
};

constexpr bool CaseTableIsOrdered() {
    for (std::size_t i = 0; i + 1 < std::size(kLowerCase); ++i)
        if (kLowerCase[i].last >= kLowerCase[i + 1].first)
            return false;
    return true;
}
static_assert(CaseTableIsOrdered(), "the binary search needs sorted, disjoint entries");

char32_t LowerCodePoint(char32_t cp) {
    if (cp < 0x80)
        return (cp >= U'A' && cp <= U'Z') ? cp + 32 : cp;
    // The last entry that starts at or before cp is the only one that can hold it.
    const auto* end = std::end(kLowerCase);
    const auto* it = std::upper_bound(std::begin(kLowerCase), end, cp,
                                      [](char32_t c, const CaseRange& r) { return c < r.first; });
    if (it == std::begin(kLowerCase))
        return cp;
    const CaseRange& r = *(it - 1);
    if (cp > r.last || (cp - r.first) % r.stride != 0)
        return cp;
    return static_cast<char32_t>(static_cast<std::int32_t>(cp) + r.delta);
}

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

constexpr bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

std::string Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

std::string TrimLeft(std::string_view s) {
    const auto start = s.find_first_not_of(kBlank);
    return start == std::string_view::npos ? std::string() : std::string(s.substr(start));
}

std::string TrimRight(std::string_view s) {
    const auto end = s.find_last_not_of(kBlank);
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(kBlank) == std::string_view::npos;
}

std::string LCase(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out.push_back(AsciiLower(s[i]));
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool valid = false;
        const char32_t cp = NextCodePoint(s, i, valid);
        if (valid)
            AppendUtf8(out, LowerCodePoint(cp));
        else
            out.append(s.substr(start, i - start));
    }
    return out;
}

std::string TrimLower(std::string_view s) {
    return Trim(LCase(s));
}

bool EqualsTrimLower(std::string_view s, std::string_view key) {
    const auto start = s.find_first_not_of(kBlank);
    if (start == std::string_view::npos)
        return key.empty();
    const auto end = s.find_last_not_of(kBlank);
    const std::string_view t = s.substr(start, end - start + 1);
    for (const char c : t)
        if (static_cast<unsigned char>(c) >= 0x80)
            return TrimLower(s) == key;
    if (t.size() != key.size())
        return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (AsciiLower(t[i]) != key[i])
            return false;
    return true;
}

std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from) {
    if (from > hay.size() || needle.size() > hay.size() - from)
        return std::string_view::npos;
    const std::size_t lastStart = hay.size() - needle.size();
    for (std::size_t pos = from; pos <= lastStart; ++pos) {
        std::size_t k = 0;
        while (k < needle.size() && AsciiLower(hay[pos + k]) == AsciiLower(needle[k]))
            ++k;
        if (k == needle.size())
            return pos;
    }
    return std::string_view::npos;
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, most of any page, eight bytes at a time.
        std::uint64_t word;
        if (i + 8 <= bytes.size() &&
            (std::memcpy(&word, bytes.data() + i, 8), (word & 0x8080808080808080u) == 0)) {
            i += 8;
            continue;
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        bool valid = false;
        NextCodePoint(bytes, i, valid);
        if (!valid)
            return false;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    // Surrogates and values beyond Unicode have no UTF-8 form; they become U+FFFD so that the
    // result stays well-formed.
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t NextCodePoint(std::string_view s, std::size_t& i, bool& valid) {
    const auto lead = static_cast<unsigned char>(s[i]);
    valid = false;
    if (lead < 0x80) {
        ++i;
        valid = true;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    // The smallest and largest second byte for each lead byte rule out overlong forms,
    // surrogates and values above U+10FFFF in one test.
    unsigned char lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0;
        else if (lead == 0xED)
            hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90;
        else if (lead == 0xF4)
            hi = 0x8F;
    } else {
        ++i;
        return lead;
    }
    if (s.size() - i < length) {
        ++i;
        return lead;
    }
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if (second < lo || second > hi) {
        ++i;
        return lead;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(b)) {
            ++i;
            return lead;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += length;
    valid = true;
    return cp;
}

} // namespace tabbern
