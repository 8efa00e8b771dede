// A program under test: an App on a FakePlatform whose program folder is a fresh temporary
// folder. Start() runs the start-up sequence the way the real program does, through Dispatch.
#pragma once

#include "app/App.h"
#include "app/Dispatch.h"
#include "app/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tabbern::test {

// One program: its folder, its platform and its App, with events run as the real program runs
// them. Tests that need several programs at once make several.
struct TestProgram {
    // Runs a handler through the dispatcher. Returns false when the process ended.
    bool Run(const std::function<void()>& handler) {
        try {
            Dispatch(app, handler);
            return true;
        } catch (const ProcessEnded&) {
            return false;
        }
    }
    bool Start() {
        return Run([this] { MainForm_Load(app); });
    }

    TempDir dir;
    FakePlatform fake{dir.path()};
    App app{fake};
};

class AppTest : public ::testing::Test, public TestProgram {
protected:
    // Not the test framework's own Run().
    using TestProgram::Run;
    // Sets up the App's folders and constants without the rest of start-up, for tests of one
    // store operation at a time.
    void PrepareFolders() {
        SetFoldersAndConstants(app);
        ResolveDataFolder(app);
        SetRemainingConstants(app);
    }

    std::string ProgramFile(const std::string& name) const { return dir.file(name); }
    std::string DataFile(const std::string& name) const { return app.dataFile(name); }

    // "[ host - ... ]\r\n" followed by the lines given, each ended by CR LF.
    static std::string FileWithHeader(const std::vector<std::string>& lines) {
        std::string s = HeaderLine() + "\r\n";
        for (const auto& l : lines)
            s += l + "\r\n";
        return s;
    }
    static std::string Record(const std::string& name, const std::string& group,
                              const std::string& url, const std::string& added = "1/2/2025",
                              const std::string& accessed = "", const std::string& rec = "0") {
        return "[r]" + rec + "[n]" + name + "[g]" + group + "[d]" + added + "[l]" + accessed +
               "[u]" + url;
    }
};

} // namespace tabbern::test
