#include "store/FileIo.h"

#include "platform/fake/FakePlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <thread>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tabbern {
namespace {

using test::Exists;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Names in a folder, sorted.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string SystemReason(int err) {
    return std::generic_category().message(err);
}

TEST(FileError, MessageNamesOperationPathAndReason) {
    const FileError e("Cannot write", "/data/tabbern.dat", "Permission denied");
    EXPECT_STREQ(e.what(), "Cannot write \"/data/tabbern.dat\": Permission denied");
    EXPECT_EQ(e.operation(), "Cannot write");
    EXPECT_EQ(e.path(), "/data/tabbern.dat");
    EXPECT_EQ(e.reason(), "Permission denied");
}

TEST(Paths, JoinPutsOneSeparatorBetween) {
#ifdef _WIN32
    EXPECT_EQ(JoinPath("C:\\Data", "tabbern.dat"), "C:\\Data\\tabbern.dat");
#else
    EXPECT_EQ(JoinPath("/home/u/data", "tabbern.dat"), "/home/u/data/tabbern.dat");
    EXPECT_EQ(JoinPath("", "tabbern.dat"), "/tabbern.dat"); // the root, stored without its slash
#endif
}

TEST(Paths, Utf8NamesSurviveTheConversion) {
    const std::string name = "Dossier \xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.dat";
    EXPECT_EQ(FromPath(ToPath(name)), name);
#ifndef _WIN32
    EXPECT_EQ(ToPath(name).native(), name); // the file system gets the UTF-8 bytes
#endif

    TempDir dir;
    const std::string path = JoinPath(dir.path(), name);
    WriteFileAtomically(path, "content");
    EXPECT_EQ(ReadFileBytes(path), "content");
    EXPECT_EQ(FromPath(fs::directory_iterator(ToPath(dir.path()))->path().filename()), name);
}

// The program's own files are looked for as the platform lists them (hidden files do not
// count); the data files whatever their attributes.
TEST(FileExistsIn, RegularFilesCountHiddenOnesOnlyWithoutThePlatform) {
    TempDir dir;
    dir.makeDir("tabbern.grp");
    WriteBytes(dir.file("tabbern.dat"), "x");
    WriteBytes(dir.file("tabbern.run"), "");
    FakePlatform platform(dir.path());
    platform.hiddenFiles.insert(JoinPath(dir.path(), "tabbern.run"));
    const std::tuple<const char*, bool, bool> cases[] = {
        {"tabbern.dat", true, true},
        {"tabbern.run", false, true},
        {"tabbern.grp", false, false}, // a folder of that name
        {"tabbern.cfg", false, false},
    };
    for (const auto& [name, listed, present] : cases) {
        EXPECT_EQ(FileExistsIn(platform, dir.path(), name), listed) << name;
        EXPECT_EQ(FileExistsIn(dir.path(), name), present) << name;
    }
#ifdef _WIN32
    EXPECT_TRUE(FileExistsIn(platform, dir.path(), "TABBERN.DAT"));
#endif
}

TEST(FileExistsIn, AMissingFolderOrOneThatIsAFileIsAFileError) {
    TempDir dir;
    WriteBytes(dir.file("data"), "not a folder");
    FakePlatform platform(dir.path());
    const std::string missing = dir.file("gone");
    try {
        FileExistsIn(platform, missing, "tabbern.dat");
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), missing);
        EXPECT_EQ(e.reason(), "path not found");
    }
    EXPECT_THROW(FileExistsIn(dir.file("data"), "tabbern.dat"), FileError);
}

TEST(ReadFileBytes, ReturnsEveryByteUnchanged) {
    TempDir dir;
    std::string bytes = "a\r\nb\rc\n";
    bytes += std::string("\0\xFF\x80\x1A", 4);
    WriteBytes(dir.file("f"), bytes);
    EXPECT_EQ(ReadFileBytes(dir.file("f")), bytes);

    WriteBytes(dir.file("empty"), "");
    EXPECT_EQ(ReadFileBytes(dir.file("empty")), "");
}

TEST(ReadFileBytes, ReadsFilesLargerThanOneBuffer) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes.push_back(static_cast<char>('a' + i % 26));
    WriteBytes(dir.file("big"), bytes);
    EXPECT_EQ(ReadFileBytes(dir.file("big")), bytes);
}

TEST(ReadFileBytes, MissingFileIsAFileErrorWithTheSystemReason) {
    TempDir dir;
    const std::string path = dir.file("missing.dat");
    try {
        ReadFileBytes(path);
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_EQ(e.reason(), SystemReason(ENOENT));
    }
}

TEST(WriteFileAtomically, CreatesAndReplacesWithExactBytesLeavingNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteFileAtomically(path, "first\r\n");
    EXPECT_EQ(ReadBytes(path), "first\r\n");
    WriteFileAtomically(path, std::string("second\0\xE9", 8));
    EXPECT_EQ(ReadBytes(path), std::string("second\0\xE9", 8));
    WriteFileAtomically(path, "");
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"tabbern.dat"});
}

TEST(WriteFileAtomically, RemovesLeftoversOfInterruptedSavesOfThatFileOnly) {
    TempDir dir;
    WriteBytes(dir.file("tabbern.dat.~1f2e-1-9a8b7c.tmp"), "half");
    WriteBytes(dir.file("tabbern.dat.~3-4-5.tmp"), "half");
    WriteBytes(dir.file("tabbern.grp.~1f2e-2-9a8b7c.tmp"), "other file's leftover");
    WriteBytes(dir.file("notes.tmp"), "unrelated");

    WriteFileAtomically(dir.file("tabbern.dat"), "whole");

    EXPECT_EQ(ReadBytes(dir.file("tabbern.dat")), "whole");
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"notes.tmp", "tabbern.dat",
                                                             "tabbern.grp.~1f2e-2-9a8b7c.tmp"}));
}

TEST(WriteFileAtomically, FailedReplaceKeepsTheOldAndLeavesNoTemporary) {
    // A folder standing where the file should go cannot be replaced by a file.
    TempDir dir;
    const std::string target = dir.makeDir("tabbern.dat");
    WriteBytes(target + "/inside", "old content");
    try {
        WriteFileAtomically(target, "new");
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), target);
        EXPECT_EQ(e.operation(), "Cannot write");
        EXPECT_FALSE(e.reason().empty());
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadBytes(target + "/inside"), "old content");
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"tabbern.dat"});
}

TEST(WriteFileAtomically, MissingFolderIsAFileError) {
    TempDir dir;
    EXPECT_THROW(WriteFileAtomically(dir.file("gone") + "/tabbern.dat", "x"), FileError);
    EXPECT_FALSE(Exists(dir.file("gone")));
}

#ifdef _WIN32
TEST(WriteFileAtomically, ReadOnlyFileIsNotReplacedAndLeavesNoTemporary) {
    // Windows refuses to replace a file that has the read-only attribute.
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old content");
    ASSERT_TRUE(::SetFileAttributesW(ToPath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        WriteFileAtomically(path, "new content");
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), std::system_category().message(ERROR_ACCESS_DENIED));
        EXPECT_STREQ(e.what(), ("Cannot write \"" + path + "\": " + e.reason()).c_str());
    }
    ASSERT_TRUE(::SetFileAttributesW(ToPath(path).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"tabbern.dat"});
}

TEST(WriteFileAtomically, WaitsForAReaderThatHoldsTheFileBriefly) {
    // Another copy reading the file (or a virus scanner) keeps it open for a moment without
    // allowing it to be replaced; the save must not fail because of that.
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old");
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
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"tabbern.dat"});
}
#else
TEST(WriteFileAtomically, ReadOnlyFolderKeepsTheOldFileAndLeavesNoTemporary) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into read-only folders";
    TempDir dir;
    const std::string folder = dir.makeDir("data");
    const std::string path = folder + "/tabbern.dat";
    WriteBytes(path, "old content");
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    try {
        WriteFileAtomically(path, "new content");
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), SystemReason(EACCES));
        EXPECT_STREQ(e.what(), ("Cannot write \"" + path + "\": " + SystemReason(EACCES)).c_str());
    }
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_EQ(Listing(folder), std::vector<std::string>{"tabbern.dat"});
}

TEST(WriteFileAtomically, KeepsThePermissionsOfTheReplacedFile) {
    TempDir dir;
    const std::string path = dir.file("tabbern.dat");
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
#endif

TEST(IsTemporarySaveFile, RecognisesOnlyTheSaveTemporaryPattern) {
    EXPECT_TRUE(IsTemporarySaveFile("tabbern.dat.~1f2e-1-9a8b7c.tmp"));
    EXPECT_TRUE(IsTemporarySaveFile("running.txt.~3-4-5.tmp"));
    EXPECT_FALSE(IsTemporarySaveFile("tabbern.dat"));
    EXPECT_FALSE(IsTemporarySaveFile("notes.tmp"));
    EXPECT_FALSE(IsTemporarySaveFile(".~1-2-3.tmp"));       // no file name before it
    EXPECT_FALSE(IsTemporarySaveFile("tabbern.dat.~.tmp")); // no unique part
    EXPECT_FALSE(IsTemporarySaveFile("tabbern.dat.~1-2-3.tmp.bak"));
    EXPECT_FALSE(IsTemporarySaveFile("tabbern.dat.~my copy.tmp"));
}

TEST(DeleteFileIfExists, DeletesAFileAndAcceptsAMissingOne) {
    TempDir dir;
    WriteBytes(dir.file("marker.txt"), "x");
    DeleteFileIfExists(dir.file("marker.txt"));
    EXPECT_FALSE(Exists(dir.file("marker.txt")));
    EXPECT_NO_THROW(DeleteFileIfExists(dir.file("marker.txt")));
}

TEST(DeleteFileIfExists, AFolderIsNotDeleted) {
    TempDir dir;
    dir.makeDir("marker.txt");
    EXPECT_THROW(DeleteFileIfExists(dir.file("marker.txt")), FileError);
    EXPECT_TRUE(fs::is_directory(dir.file("marker.txt")));
}

} // namespace
} // namespace tabbern
