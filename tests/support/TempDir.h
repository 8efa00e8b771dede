// A fresh temporary folder per test, removed afterwards.
#pragma once

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
    // path + "/" + name
    std::string file(std::string_view name) const;
    // Creates a sub-folder and returns its path.
    std::string makeDir(std::string_view name) const;

private:
    std::string path_;
};

// Whole-file helpers that bypass the program's own file module.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
bool Exists(const std::string& path);

} // namespace tabbern::test
