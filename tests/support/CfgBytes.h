// The settings file as another program reads and writes it: fields at their byte offsets,
// little-endian, texts padded with blanks; independent of the program's own encoder.
#pragma once

#include "support/TempDir.h"

#include <cstdint>
#include <string>

namespace tabbern::test {

struct Cfg {
    std::string title = {}, version = {};
    std::int32_t loadMinimised = 0, rememberLocation = 0, top = 0, left = 0, sortChoice = 0,
                 rememberSort = 0;
};

// The 128 bytes of a settings record, laid out by hand.
inline std::string CfgFile(const Cfg& c) {
    std::string b(128, ' ');
    auto put = [&b](std::size_t at, std::int32_t v, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            b[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    };
    put(0, 0, 2);
    b.replace(2, c.title.size(), c.title);
    b.replace(37, c.version.size(), c.version);
    put(42, c.loadMinimised, 2);
    put(114, c.rememberLocation, 2);
    put(116, c.top, 4);
    put(120, c.left, 4);
    put(124, c.sortChoice, 2);
    put(126, c.rememberSort, 2);
    return b;
}

inline void WriteCfg(const std::string& path, std::int16_t loadMinimised,
                     std::int16_t rememberLocation, std::int32_t top, std::int32_t left) {
    WriteBytes(path, CfgFile({.loadMinimised = loadMinimised,
                              .rememberLocation = rememberLocation,
                              .top = top,
                              .left = left}));
}

struct CfgBytes {
    std::string bytes;

    static CfgBytes Read(const std::string& path) { return CfgBytes{ReadBytes(path)}; }

    std::int32_t num(std::size_t at, int width) const {
        std::uint32_t v = 0;
        for (int i = 0; i < width; ++i)
            v |= static_cast<std::uint32_t>(
                     static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i))))
                 << (8 * i);
        return width == 2 ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
    }
    std::string text(std::size_t at, std::size_t width) const { return bytes.substr(at, width); }
    std::int32_t loadMinimised() const { return num(42, 2); }
    std::int32_t rememberLocation() const { return num(114, 2); }
    std::int32_t top() const { return num(116, 4); }
    std::int32_t left() const { return num(120, 4); }
    std::int32_t sortChoice() const { return num(124, 2); }
    std::int32_t rememberSort() const { return num(126, 2); }
};

} // namespace tabbern::test
