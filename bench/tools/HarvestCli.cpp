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
#include <string_view>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file mapped into memory whole, its pages mapped up front: a page of many megabytes
// costs neither a copy nor a fault per page, as reading it into a fresh buffer would.
class MappedFile {
public:
    bool open(const char* path) {
        const int fd = ::open(path, O_RDONLY);
        if (fd < 0)
            return false;
        struct stat st {};
        bool ok = ::fstat(fd, &st) == 0;
        if (ok && st.st_size > 0) {
            size_ = static_cast<std::size_t>(st.st_size);
            void* at = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            ok = at != MAP_FAILED;
            data_ = ok ? static_cast<const char*>(at) : nullptr;
        }
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return ok;
    }
    ~MappedFile() {
        if (data_)
            ::munmap(const_cast<char*>(data_), size_);
    }
    std::string_view text() const {
        return data_ ? std::string_view(data_, size_) : std::string_view();
    }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

bool IsAscii(std::string_view s) {
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
    MappedFile file;
    if (!file.open(argv[1])) {
        std::fprintf(stderr, "%s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    // ASCII and valid UTF-8 read as they are; a byte-order mark starts no link.
    std::string_view text = file.text();
    std::string decoded;
    if (!IsAscii(text) && !tabbern::IsValidUtf8(text)) {
        decoded = tabbern::ActiveCodePage().decode(text);
        text = decoded;
    }

    // The links go out in pieces of a fixed size, not gathered whole first.
    constexpr std::size_t kPiece = 1 << 16;
    std::string out;
    out.reserve(2 * kPiece);
    bool written = true;
    auto flush = [&out, &written] {
        written = written && std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
        out.clear();
    };
    tabbern::LinkHarvester harvester([&out, &flush](std::string_view link) {
        out += link;
        out += '\n';
        if (out.size() >= kPiece)
            flush();
        return true;
    });
    harvester.add(text);
    flush();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}
