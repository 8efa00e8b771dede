// A program under test: an App on a FakePlatform whose program folder (and data folder) is a
// fresh temporary folder, its events run through Dispatch as the real program runs them; and
// the helpers that drive it the way a user does.
#pragma once

#include "app/App.h"
#include "app/Dispatch.h"
#include "app/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The lines, each ended by CR LF.
inline std::string Lines(const Names& lines) {
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

inline std::string FileWithHeader(Names lines) {
    lines.insert(lines.begin(), HeaderLine());
    return Lines(lines);
}

struct TestProgram {
    TempDir dir;
    FakePlatform fake{dir.path()};
    App app{fake};

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
    // Folders, header lines and limits as start-up sets them, for one store operation at a time.
    void PrepareFolders() {
        SetFoldersAndConstants(app);
        ResolveDataFolder(app);
        SetRemainingConstants(app);
    }

    std::string File(const std::string& name) const { return dir.file(name); }
    void WriteStore(const Names& records, const Names& groups = {}) const {
        WriteBytes(File("tabbern.dat"), FileWithHeader(records));
        WriteBytes(File("tabbern.grp"), FileWithHeader(groups));
    }
    std::string StoreBytes() const { return ReadBytes(File("tabbern.dat")); }
    std::string GroupBytes() const { return ReadBytes(File("tabbern.grp")); }
    Names Messages() const { return fake.messageTexts(); }
    Names LoadedNames() const {
        Names names;
        for (int r = 0; r < app.recordCount; ++r)
            names.push_back(app.bookmarks.at(r, kColName));
        return names;
    }

    bool Click(MenuItem& item) {
        return Run([&] { item.click(); });
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

class AppTest : public ::testing::Test, public TestProgram {
protected:
    using TestProgram::Run; // not the test framework's own
};

} // namespace tabbern::test
