// Writes the generated web page of the harvester's measurements to a file:
//   make-page MEGABYTES one-line|many-lines FILE
#include "HarvestPage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4 ||
        (std::strcmp(argv[2], "one-line") != 0 && std::strcmp(argv[2], "many-lines") != 0)) {
        std::fprintf(stderr, "usage: %s MEGABYTES one-line|many-lines FILE\n", argv[0]);
        return 2;
    }
    const std::size_t bytes = std::strtoul(argv[1], nullptr, 10) * 1024 * 1024;
    const std::string page =
        tabbern::bench::MakeWebPage(bytes, std::strcmp(argv[2], "many-lines") == 0);
    std::FILE* f = std::fopen(argv[3], "wb");
    if (!f || std::fwrite(page.data(), 1, page.size(), f) != page.size() || std::fclose(f) != 0) {
        std::perror(argv[3]);
        return 1;
    }
    return 0;
}
