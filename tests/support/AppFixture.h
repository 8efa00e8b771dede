// Programs under test: an App on a FakePlatform, its events run through Dispatch as the real
// program runs them, and the helpers that drive it the way a user does.
#pragma once

#include "app/App.h"
#include "app/Dispatch.h"
#include "app/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tabbern::test {

using Names = std::vector<std::string>;

// A record line: "[r]" rec "[n]" name "[g]" group "[d]" added "[l]" accessed "[u]" url.
inline std::string Rec(int rec, const std::string& name, const std::string& group,
                       const std::string& url, const std::string& added = "1/2/2025",
                       const std::string& accessed = "") {
    return "[r]" + std::to_string(rec) + "[n]" + name + "[g]" + group + "[d]" + added + "[l]" +
           accessed + "[u]" + url;
}

// The header line and then the lines, each ended by CR LF.
inline std::string FileWithHeader(const Names& lines) {
    std::string s = HeaderLine() + "\r\n";
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

// The settings file as another program writes it: fields at their byte offsets, little-endian,
// texts padded with blanks; independent of the program's own encoder.
struct Cfg {
    std::string title = {}, version = {};
    std::int32_t loadMinimised = 0, rememberLocation = 0, top = 0, left = 0, sortChoice = 0,
                 rememberSort = 0;
};
inline std::string CfgFile(const Cfg& c) {
    std::string b(128, ' ');
    auto put = [&b](std::size_t at, std::int32_t v, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            b[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    };
    put(0, 0, 2);
    b.replace(2, c.title.size(), c.title);
    b.replace(37, c.version.size(), c.version);
    put(42, c.loadMinimised, 2);
    put(114, c.rememberLocation, 2);
    put(116, c.top, 4);
    put(120, c.left, 4);
    put(124, c.sortChoice, 2);
    put(126, c.rememberSort, 2);
    return b;
}
// The record as this program writes it: its own title and version.
inline std::string CfgOf(const App& app, Cfg c) {
    c.title = app.appTitle;
    c.version = app.versionText;
    return CfgFile(c);
}

// A copy of the program whose program folder, and data folder, is the folder.
struct Program {
    explicit Program(const std::string& folder) : fake(folder), app(fake) {}
    FakePlatform fake;
    App app;

    // Runs a handler as an event. False when the process ended.
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
    bool Click(MenuItem& item) {
        return Run([&] { item.click(); });
    }
    // Folders, header lines and limits as start-up sets them, for one store operation at a time.
    void PrepareFolders() {
        SetFoldersAndConstants(app);
        ResolveDataFolder(app);
        SetRemainingConstants(app);
    }
    Names Messages() const { return fake.messageTexts(); }
    Names LoadedNames() const {
        Names names;
        for (int r = 0; r < app.recordCount; ++r)
            names.push_back(app.bookmarks.at(r, kColName));
        return names;
    }

    // What the user does once the form is shown.
    void OnShow(const std::string& form, std::function<void(Form&)> script) {
        fake.modalScripts[form] = std::move(script);
    }
    // Clicks a list entry by its text, as a user picks it.
    void Pick(ListControl& list, const std::string& entry) {
        const auto at = std::find(list.items().begin(), list.items().end(), entry);
        ASSERT_NE(at, list.items().end()) << entry;
        Run([&] { list.setListIndex(static_cast<int>(at - list.items().begin())); });
    }
    void Pick(const std::string& name) { Pick(app.main.List1, name); }
    void ChooseGroup(const std::string& entry) { Pick(app.main.Combo1, entry); }

    static void TypeAndSave(BookmarkDialog& d, const std::string& name, const std::string& group,
                            const std::string& url) {
        d.Text1.setText(name);
        d.Combo1.setText(group);
        d.Text3.setText(url);
        d.Command1.click();
    }
    // Adds a bookmark through the add dialog. False when the process ended.
    bool Add(const std::string& name, const std::string& group, const std::string& url) {
        OnShow("frmAddName", [=, this](Form&) { TypeAndSave(app.frmAddName, name, group, url); });
        return Click(app.main.menuaddname);
    }
    // The user presses the import confirmation's import (or cancel) button.
    void ConfirmImport(bool yes = true) {
        OnShow("frmAddConfirm", [this, yes](Form&) {
            (yes ? app.frmAddConfirm.Command1 : app.frmAddConfirm.Command2).click();
        });
    }
    bool ImportShare(const std::string& path) {
        fake.openAnswers.push_back(path);
        return Click(app.main.menuimportfromtabbernfile);
    }
};

// A program in a fresh temporary folder of its own.
struct Folder {
    TempDir dir;
};
struct TestProgram : Folder, Program {
    TestProgram() : Program(dir.path()) {}
    std::string File(const std::string& name) const { return dir.file(name); }
    void WriteStore(const Names& records, const Names& groups = {}) const {
        WriteBytes(File("tabbern.dat"), FileWithHeader(records));
        WriteBytes(File("tabbern.grp"), FileWithHeader(groups));
    }
    bool StartWith(const Names& records, const Names& groups = {}) {
        WriteStore(records, groups);
        return Start();
    }
    std::string StoreBytes() const { return ReadBytes(File("tabbern.dat")); }
    std::string GroupBytes() const { return ReadBytes(File("tabbern.grp")); }
};

class AppTest : public ::testing::Test, public TestProgram {
protected:
    using TestProgram::Run; // not the test framework's own
};

} // namespace tabbern::test
