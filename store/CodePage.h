// The 8-bit code page of the data files. On Windows it is the system's ANSI code page; elsewhere
// Windows-1252, so that files move between installations unchanged.
#pragma once

#include <string>
#include <string_view>

namespace tabbern {

class CodePage {
public:
    virtual ~CodePage() = default;
    // 8-bit bytes to UTF-8. Every byte maps to some character.
    virtual std::string decode(std::string_view bytes) const = 0;
    // UTF-8 to 8-bit bytes. False (and `out` unspecified) when a character has no byte.
    virtual bool encode(std::string_view utf8, std::string& out) const = 0;
    // True when every byte is one character and no byte at or above 0x80 stands for an ASCII
    // one: ASCII can then be found in the bytes as they are, and any part decoded on its own.
    virtual bool singleByte() const { return false; }
};

// Windows-1252. The five bytes it leaves undefined map to the C1 controls of the same value,
// as Windows itself maps them, so that every byte survives a round trip.
const CodePage& Windows1252();

// The code page in use for the data files: Windows-1252 unless the platform layer set another.
const CodePage& ActiveCodePage();
void SetActiveCodePage(const CodePage& cp);

} // namespace tabbern
