#include "sharing/BrowserBookmarks.h"

#include "store/CodePage.h"
#include "store/Text.h"

#include <array>
#include <utility>

namespace tabbern {

namespace {

// The most raw text kept for one name or title: room for the longest name however its
// characters are escaped, and a bound on what a name of megabytes costs.
constexpr std::size_t kMaxRawTextBytes = 8 * kMaxBrowserTextBytes;
// ADD_DATE and LAST_VISIT past the end of the year 9999 are not dates.
constexpr std::int64_t kLastSecond = 253402300799;
constexpr char32_t kReplacement = 0xFFFD;

struct Entity {
    std::string_view name;
    char32_t code;
};

// The named references that bookmark names hold in practice; any other stays as written.
constexpr Entity kEntities[] = {
    {"amp", U'&'},      {"lt", U'<'},       {"gt", U'>'},       {"quot", U'"'},
    {"apos", U'\''},    {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},
    {"scaron", 0x161},  {"Yuml", 0x178},    {"fnof", 0x192},    {"circ", 0x2C6},
    {"tilde", 0x2DC},   {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009},
    {"zwnj", 0x200C},   {"zwj", 0x200D},    {"lrm", 0x200E},    {"rlm", 0x200F},
    {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},
    {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},
    {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026},
    {"permil", 0x2030}, {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},
    {"trade", 0x2122},
};

// The names of U+00A0 to U+00FF, in that order.
constexpr std::array<std::string_view, 96> kLatin1Names = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

std::optional<char32_t> NamedEntity(std::string_view name) {
    for (const Entity& e : kEntities)
        if (e.name == name)
            return e.code;
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i)
        if (kLatin1Names[i] == name)
            return static_cast<char32_t>(0xA0 + i);
    return std::nullopt;
}

bool IsAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// Blanks, line ends and the other control characters: what separates words in a name.
bool IsSpaceByte(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
}

// A numeric reference's character. References to the C1 range mean the Windows-1252
// characters that pages of that code page wrote them for.
void AppendReference(std::string& out, char32_t code) {
    if (code >= 0x80 && code <= 0x9F)
        out += Windows1252().decode(std::string(1, static_cast<char>(code)));
    else if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        AppendUtf8(out, kReplacement);
    else
        AppendUtf8(out, code);
}

// Decodes the character references of UTF-8 text; a broken one stays as written.
std::string DecodeEntities(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t amp = s.find('&', i);
        out.append(s.substr(i, amp - i));
        if (amp == std::string_view::npos)
            break;
        i = amp + 1;
        if (i < s.size() && s[i] == '#') {
            const bool hex = i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X');
            std::size_t j = i + (hex ? 2 : 1);
            const std::size_t digitsStart = j;
            char32_t code = 0;
            for (; j < s.size() && (hex ? IsHexDigit(s[j]) : IsAsciiDigit(s[j])); ++j) {
                const char c = s[j];
                const char32_t digit = IsAsciiDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
                // Past the last character the value no longer matters, only that it is too big.
                if (code <= 0x10FFFF)
                    code = code * (hex ? 16 : 10) + digit;
            }
            if (j == digitsStart) {
                out += '&';
                continue;
            }
            AppendReference(out, code);
            i = j < s.size() && s[j] == ';' ? j + 1 : j;
            continue;
        }
        std::size_t j = i;
        while (j < s.size() && j - i < 8 && (IsAsciiAlpha(s[j]) || IsAsciiDigit(s[j])))
            ++j;
        const std::optional<char32_t> code =
            j < s.size() && s[j] == ';' ? NamedEntity(s.substr(i, j - i)) : std::nullopt;
        if (code) {
            AppendUtf8(out, *code);
            i = j + 1;
        } else {
            out += '&';
        }
    }
    return out;
}

// The text as well-formed UTF-8: a byte that starts no character becomes U+FFFD.
std::string WellFormed(std::string s) {
    if (IsValidUtf8(s))
        return s;
    std::string out;
    out.reserve(s.size() + 8);
    for (std::size_t i = 0; i < s.size();) {
        bool valid = true;
        const char32_t cp = NextCodePoint(s, i, valid);
        AppendUtf8(out, valid ? cp : kReplacement);
    }
    return out;
}

// A name or folder title: every run of blanks, line ends, control characters and no-break
// spaces becomes one blank, none at either end, at most kMaxBrowserTextBytes.
std::string CollapseBlanks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    bool blank = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        // U+0080 to U+00A0: the C1 controls and the no-break space.
        const bool wide =
            c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) <= 0xA0;
        if (IsSpaceByte(s[i]) || wide) {
            blank = !out.empty();
            i += wide ? 2 : 1;
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += s[i++];
    }
    if (out.size() > kMaxBrowserTextBytes) {
        std::size_t cut = kMaxBrowserTextBytes;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
            --cut;
        out.resize(cut);
        while (!out.empty() && out.back() == ' ')
            out.pop_back();
    }
    return out;
}

std::optional<std::int64_t> SecondsOf(std::string_view value) {
    while (!value.empty() && IsSpaceByte(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && IsSpaceByte(value.back()))
        value.remove_suffix(1);
    if (value.empty() || value.size() > 12)
        return std::nullopt;
    std::int64_t seconds = 0;
    for (const char c : value) {
        if (!IsAsciiDigit(c))
            return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    if (seconds > kLastSecond)
        return std::nullopt;
    return seconds;
}

bool NameIs(std::string_view name, std::string_view lowerName) {
    if (name.size() != lowerName.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if ((IsAsciiAlpha(name[i]) ? name[i] | 0x20 : name[i]) != lowerName[i])
            return false;
    return true;
}

// One pass over the file: tags and the text between them, without recursion.
class Reader {
public:
    Reader(std::string_view s, bool legacy, const std::function<bool(BrowserLink&&)>& take)
        : s_(s), legacy_(legacy), take_(take) {}

    void run() {
        std::size_t i = 0;
        while (i < s_.size() && !stopped_) {
            const std::size_t lt = s_.find('<', i);
            keepText(s_.substr(i, lt - i));
            if (lt == std::string_view::npos)
                break;
            i = markup(lt);
        }
        if (!stopped_)
            finishText();
    }

private:
    enum class Capture { None, Link, Title };

    struct Attributes {
        std::optional<std::string_view> href, addDate, lastVisit;
    };

    // UTF-8 text of the file's bytes, references decoded.
    std::string text(std::string_view raw) const {
        if (legacy_)
            return DecodeEntities(Windows1252().decode(raw));
        return WellFormed(DecodeEntities(raw));
    }

    void keepText(std::string_view piece) {
        if (capture_ == Capture::None || raw_.size() >= kMaxRawTextBytes)
            return;
        raw_.append(piece.substr(0, kMaxRawTextBytes - raw_.size()));
    }

    void finishText() {
        if (capture_ == Capture::Link) {
            link_.name = CollapseBlanks(text(raw_));
            link_.folder = folders_.empty() ? std::string() : folders_.back();
            if (!take_(std::move(link_)))
                stopped_ = true;
            link_ = {};
        } else if (capture_ == Capture::Title) {
            title_ = CollapseBlanks(text(raw_));
            hasTitle_ = true;
        }
        capture_ = Capture::None;
        raw_.clear();
    }

    // Handles the markup at `lt` and returns where the text after it begins.
    std::size_t markup(std::size_t lt) {
        std::size_t j = lt + 1;
        if (s_.compare(lt, 4, "<!--") == 0) {
            const std::size_t end = s_.find("-->", lt + 4);
            return end == std::string_view::npos ? s_.size() : end + 3;
        }
        if (j < s_.size() && (s_[j] == '!' || s_[j] == '?')) {
            const std::size_t end = s_.find('>', j);
            return end == std::string_view::npos ? s_.size() : end + 1;
        }
        const bool closing = j < s_.size() && s_[j] == '/';
        if (closing)
            ++j;
        if (j >= s_.size() || !IsAsciiAlpha(s_[j])) {
            keepText("<");
            return lt + 1;
        }
        const std::size_t nameStart = j;
        while (j < s_.size() && (IsAsciiAlpha(s_[j]) || IsAsciiDigit(s_[j])))
            ++j;
        const std::string_view name = s_.substr(nameStart, j - nameStart);
        Attributes attributes;
        j = readAttributes(j, attributes);
        // A tag cut off by the end of the file is no tag.
        if (j > s_.size())
            return s_.size();
        finishText();
        if (stopped_)
            return j;
        if (closing) {
            if (NameIs(name, "dl")) {
                if (deeper_ > 0)
                    --deeper_;
                else if (!folders_.empty())
                    folders_.pop_back();
                hasTitle_ = false;
            }
        } else if (NameIs(name, "a")) {
            hasTitle_ = false;
            // An anchor without an address is no bookmark.
            if (attributes.href) {
                link_.address = Trimmed(text(*attributes.href));
                if (attributes.addDate)
                    link_.added = SecondsOf(*attributes.addDate);
                if (attributes.lastVisit)
                    link_.visited = SecondsOf(*attributes.lastVisit);
                capture_ = Capture::Link;
            }
        } else if (NameIs(name, "h3")) {
            capture_ = Capture::Title;
        } else if (NameIs(name, "dl")) {
            // A list without a heading of its own belongs to the folder around it.
            if (folders_.size() >= kMaxBrowserFolderDepth)
                ++deeper_;
            else
                folders_.push_back(hasTitle_          ? title_
                                   : folders_.empty() ? std::string()
                                                      : folders_.back());
            hasTitle_ = false;
        } else if (NameIs(name, "dt")) {
            hasTitle_ = false;
        }
        return j;
    }

    static std::string Trimmed(std::string s) {
        std::size_t end = s.size();
        while (end > 0 && IsSpaceByte(s[end - 1]))
            --end;
        std::size_t start = 0;
        while (start < end && IsSpaceByte(s[start]))
            ++start;
        return s.substr(start, end - start);
    }

    // Reads the attributes after a tag's name, quoted or not, in any order, the first of each
    // name counting. Returns the position after the closing '>', or past the end when the file
    // ends first.
    std::size_t readAttributes(std::size_t j, Attributes& out) const {
        const std::size_t n = s_.size();
        for (;;) {
            while (j < n && (IsSpaceByte(s_[j]) || s_[j] == '/'))
                ++j;
            if (j >= n)
                return n + 1;
            if (s_[j] == '>')
                return j + 1;
            const std::size_t nameStart = j;
            while (j < n && !IsSpaceByte(s_[j]) && s_[j] != '/' && s_[j] != '>' &&
                   (s_[j] != '=' || j == nameStart))
                ++j;
            const std::string_view name = s_.substr(nameStart, j - nameStart);
            while (j < n && IsSpaceByte(s_[j]))
                ++j;
            if (j >= n || s_[j] != '=')
                continue;
            ++j;
            while (j < n && IsSpaceByte(s_[j]))
                ++j;
            std::string_view value;
            if (j < n && (s_[j] == '"' || s_[j] == '\'')) {
                const std::size_t end = s_.find(s_[j], j + 1);
                if (end == std::string_view::npos)
                    return n + 1;
                value = s_.substr(j + 1, end - j - 1);
                j = end + 1;
            } else {
                const std::size_t start = j;
                while (j < n && !IsSpaceByte(s_[j]) && s_[j] != '>')
                    ++j;
                value = s_.substr(start, j - start);
            }
            std::optional<std::string_view>* slot = NameIs(name, "href")         ? &out.href
                                                    : NameIs(name, "add_date")   ? &out.addDate
                                                    : NameIs(name, "last_visit") ? &out.lastVisit
                                                                                 : nullptr;
            if (slot && !*slot)
                *slot = value;
        }
    }

    std::string_view s_;
    bool legacy_;
    const std::function<bool(BrowserLink&&)>& take_;
    bool stopped_ = false;

    Capture capture_ = Capture::None;
    std::string raw_;
    BrowserLink link_;
    // The last folder heading, until the list it heads opens.
    std::string title_;
    bool hasTitle_ = false;
    // The titles of the open lists, innermost last, and how many more are open beyond them.
    std::vector<std::string> folders_;
    std::size_t deeper_ = 0;
};

void Escape(std::string& out, std::string_view s) {
    for (const char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

void ReadBrowserBookmarks(std::string_view bytes, const std::function<bool(BrowserLink&&)>& take) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    Reader(bytes, !IsValidUtf8(bytes), take).run();
}

std::vector<BrowserLink> ReadBrowserBookmarks(std::string_view bytes) {
    std::vector<BrowserLink> links;
    ReadBrowserBookmarks(bytes, [&links](BrowserLink&& link) {
        links.push_back(std::move(link));
        return true;
    });
    return links;
}

std::string WriteBrowserBookmarks(const std::vector<BrowserLink>& links) {
    std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                      "<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n"
                      "<DL><p>\n";
    for (std::size_t i = 0; i < links.size();) {
        const std::string& folder = links[i].folder;
        const bool inFolder = !folder.empty();
        if (inFolder) {
            out += "    <DT><H3>";
            Escape(out, folder);
            out += "</H3>\n    <DL><p>\n";
        }
        for (; i < links.size() && links[i].folder == folder; ++i) {
            const BrowserLink& link = links[i];
            out += inFolder ? "        <DT><A HREF=\"" : "    <DT><A HREF=\"";
            Escape(out, link.address);
            out += '"';
            if (link.added)
                out += " ADD_DATE=\"" + std::to_string(*link.added) + '"';
            if (link.visited)
                out += " LAST_VISIT=\"" + std::to_string(*link.visited) + '"';
            out += '>';
            Escape(out, link.name);
            out += "</A>\n";
        }
        if (inFolder)
            out += "    </DL><p>\n";
    }
    out += "</DL><p>\n";
    return out;
}

} // namespace tabbern
