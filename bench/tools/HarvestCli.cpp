// Prints the web links that the text-file import would find in a file, one a line:
//   tabbern_harvest FILE
// The file is taken as the import takes it: as UTF-8 when it is valid UTF-8, otherwise in the
// code page. Every link is printed; the import itself stops at its capacity.
#include "sharing/Harvest.h"
#include "store/CodePage.h"
#include "store/Text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The whole file in one read into a buffer of its size.
bool ReadWholeFile(const char* path, std::string& out) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<std::size_t>(size));
        ok = std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    return std::fclose(f) == 0 && ok;
}

bool IsAscii(const std::string& s) {
    unsigned char any = 0;
    for (const char c : s)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    std::string text;
    if (!ReadWholeFile(argv[1], text)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    // ASCII and valid UTF-8 read as they are; a byte-order mark starts no link.
    if (!IsAscii(text) && !tabbern::IsValidUtf8(text))
        text = tabbern::ActiveCodePage().decode(text);

    std::string out;
    tabbern::LinkHarvester harvester([&out](std::string_view link) {
        out += link;
        out += '\n';
        return true;
    });
    harvester.add(text);
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() ? 0 : 1;
}
