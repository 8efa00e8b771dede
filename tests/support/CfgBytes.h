// Reading and writing the settings file the way another program would: fields at their byte
// offsets, little-endian, independent of the program's own encoder.
#pragma once

#include "support/TempDir.h"

#include <cstdint>
#include <string>

namespace tabbern::test {

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

// A 128-byte settings file with the given options and zeros elsewhere.
inline void WriteCfg(const std::string& path, std::int16_t loadMinimised,
                     std::int16_t rememberLocation, std::int32_t top, std::int32_t left) {
    std::string b(128, '\0');
    auto put = [&b](std::size_t at, std::uint32_t v, int width) {
        for (int i = 0; i < width; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(42, static_cast<std::uint16_t>(loadMinimised), 2);
    put(114, static_cast<std::uint16_t>(rememberLocation), 2);
    put(116, static_cast<std::uint32_t>(top), 4);
    put(120, static_cast<std::uint32_t>(left), 4);
    WriteBytes(path, b);
}

} // namespace tabbern::test
