// Atomic replacement of a file and the temporary files it leaves when killed.
#include "store/FileIo.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <thread>
#endif

namespace fs = std::filesystem;

namespace tabbern::test {
namespace {

using Names = std::vector<std::string>;

Names Listing(const std::string& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WriteFileAtomically, ReplacesWithExactBytesAndRemovesTheTemporariesOfThatFileOnly) {
    TempDir dir;
    const std::string name = "Dossier \xC3\xA9t\xC3\xA9 \xE6\x97\xA5.dat";
    WriteBytes(dir.file(name + ".~1f2e-1-9a8b7c.tmp"), "half");
    WriteBytes(dir.file("tabbern.grp.~1f2e-2-9a8b7c.tmp"), "another file's");
    WriteBytes(dir.file("notes.tmp"), "unrelated");
    for (const std::string& bytes :
         {std::string("first\r\n"), std::string("second\0\xE9", 8), std::string()}) {
        WriteFileAtomically(dir.file(name), bytes);
        EXPECT_EQ(ReadBytes(dir.file(name)), bytes);
    }
    EXPECT_EQ(Listing(dir.path()), (Names{name, "notes.tmp", "tabbern.grp.~1f2e-2-9a8b7c.tmp"}));
}

#ifdef _WIN32
TEST(WriteFileAtomically, AReadOnlyFileIsNotReplacedButABusyOneIsWaitedFor) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(ToPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(WriteFileAtomically(path, "new"), FileError);
    ASSERT_TRUE(::SetFileAttributesW(ToPath(path).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ReadBytes(path), "old");
    // Another copy reading the file, or a virus scanner, holds it for a moment.
    const HANDLE reader = ::CreateFileW(ToPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread closer([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        ::CloseHandle(reader);
    });
    EXPECT_NO_THROW(WriteFileAtomically(path, "new"));
    closer.join();
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(Listing(dir.path()), Names{"tabbern.dat"});
}
#else
TEST(WriteFileAtomically, AReplacementKeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
#endif

} // namespace
} // namespace tabbern::test
