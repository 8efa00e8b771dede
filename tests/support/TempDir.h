// A fresh temporary folder per test, removed afterwards, and whole-file helpers that bypass the
// program's own file module.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tabbern::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
    std::string makeDir(std::string_view name) const;

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace tabbern::test
