// Text helpers shared by every subsystem. All texts are UTF-8.
//
// Trimming removes blanks (U+0020) only, as the data files have always been trimmed.
// Lower-casing is Unicode-aware and independent of the process locale, so that "É" and "é"
// compare equal everywhere, in tests and on every platform.
#pragma once

#include <string>
#include <string_view>

namespace tabbern {

std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// True when the text is empty or holds only blanks.
bool IsBlank(std::string_view s);

// Unicode simple lower-case mapping of every character; invalid UTF-8 bytes pass unchanged.
std::string LCase(std::string_view s);
// Trim(LCase(s)): the form in which names and groups are compared.
std::string TrimLower(std::string_view s);
// TrimLower(s) == key, without building the lower-cased copy when s is ASCII.
bool EqualsTrimLower(std::string_view s, std::string_view key);

// Position of the first occurrence of an ASCII needle, ignoring ASCII letter case, from `from`;
// std::string_view::npos when absent. Tags, URL prefixes and link prefixes are all ASCII.
std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0);
inline bool ContainsNoCase(std::string_view hay, std::string_view needle) {
    return FindNoCase(hay, needle) != std::string_view::npos;
}

// Whole-text replacement of every occurrence.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes one code point at `i` and advances `i`. A byte that does not start a well-formed
// sequence yields its own value with `valid` false and advances by one.
char32_t NextCodePoint(std::string_view s, std::size_t& i, bool& valid);

} // namespace tabbern
