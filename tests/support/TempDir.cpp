#include "support/TempDir.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tabbern::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const fs::path p = fs::temp_directory_path() / ("tabbern-test-" + std::to_string(rd()) +
                                                        "-" + std::to_string(counter++));
        if (fs::create_directory(p))
            path_ = p.string();
    }
    if (path_.empty())
        throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable so they can be removed.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::makeDir(std::string_view name) const {
    fs::create_directories(file(name));
    return file(name);
}

namespace {

// Paths are UTF-8, as the program's are; Windows' narrow paths would take them for ANSI.
fs::path Utf8Path(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

} // namespace

std::string ReadBytes(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write " + path);
}

} // namespace tabbern::test
