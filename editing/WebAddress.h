// The one rule for what counts as a web address, used by the core and by both window systems'
// openers, and the form in which such an address is handed to a browser.
#pragma once

#include <string>
#include <string_view>

namespace tabbern {

// True for what may be handed to the browser: an http:// or https:// address, or an address
// without a scheme such as "www.example.com". Local paths and other schemes are refused.
// Blanks and line ends around the address do not count.
bool IsWebAddress(std::string_view url);

// True for an address that starts with "http://" or "https://", in any letter case.
bool HasWebScheme(std::string_view url);

// The address a browser is given: trimmed of blanks and line ends, with "http://" in front of
// an address that has no scheme. Empty when the text is not a web address.
std::string BrowserAddress(std::string_view url);

} // namespace tabbern
