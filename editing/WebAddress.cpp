#include "editing/WebAddress.h"

#include "store/Text.h"

namespace tabbern {

namespace {

// Longer addresses are refused: no page a person keeps needs one, and some shells cut them.
constexpr std::size_t kMaxWebAddressLength = 4096;

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && FindNoCase(s.substr(0, prefix.size()), prefix) == 0;
}

// Blanks, tabs and line ends around an address: a redirect file or a pasted line ends in one.
std::string_view TrimAround(std::string_view s) {
    constexpr std::string_view kAround = " \t\r\n";
    const std::size_t start = s.find_first_not_of(kAround);
    if (start == std::string_view::npos)
        return {};
    return s.substr(start, s.find_last_not_of(kAround) - start + 1);
}

// A host name: labels of letters, digits and hyphens (or non-ASCII, for international names)
// joined by single dots, neither starting nor ending with a hyphen. One dot may end a name of
// two labels or more, as a fully qualified name (and a link at the end of a sentence) ends;
// "www." alone names no host.
bool IsHostName(std::string_view host) {
    if (!host.empty() && host.back() == '.') {
        host.remove_suffix(1);
        if (host.find('.') == std::string_view::npos)
            return false;
    }
    if (host.empty() || host.front() == '.' || host.front() == '-' || host.back() == '.' ||
        host.back() == '-' || host.find("..") != std::string_view::npos)
        return false;
    for (const char c : host)
        if (!IsAsciiAlnum(c) && c != '.' && c != '-' && static_cast<unsigned char>(c) < 0x80)
            return false;
    return true;
}

// The authority of an address: a host name, optionally with a port of digits after a colon.
bool IsAuthority(std::string_view authority) {
    const std::size_t colon = authority.find(':');
    if (colon == std::string_view::npos)
        return IsHostName(authority);
    const std::string_view port = authority.substr(colon + 1);
    if (port.empty() || port.size() > 5)
        return false;
    for (const char c : port)
        if (c < '0' || c > '9')
            return false;
    return IsHostName(authority.substr(0, colon));
}

} // namespace

bool HasWebScheme(std::string_view url) {
    return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

bool IsWebAddress(std::string_view url) {
    const std::string_view u = TrimAround(url);
    if (u.empty() || u.size() > kMaxWebAddressLength)
        return false;
    // Blanks and control characters end an address; one that holds them is not one address.
    for (const char c : u)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    std::string_view rest = u;
    if (StartsWithNoCase(rest, "http://"))
        rest.remove_prefix(7);
    else if (StartsWithNoCase(rest, "https://"))
        rest.remove_prefix(8);
    // What remains starts with the host: not a path, not a share, not another scheme (whose
    // colon is followed by something other than a port), not a user name before an "@".
    const std::size_t hostEnd = rest.find_first_of("/\\?#");
    const std::string_view authority = rest.substr(0, hostEnd);
    if (authority.find('@') != std::string_view::npos)
        return false;
    return IsAuthority(authority);
}

std::string BrowserAddress(std::string_view url) {
    if (!IsWebAddress(url))
        return {};
    const std::string_view u = TrimAround(url);
    if (HasWebScheme(u))
        return std::string(u);
    return "http://" + std::string(u);
}

} // namespace tabbern
