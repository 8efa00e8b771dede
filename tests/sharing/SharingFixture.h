// A started program with helpers for the Share menu: share files in a folder of their own,
// scripted file dialogs and the import dialogs' buttons.
#pragma once

#include "editing/EditingFixture.h"

#include "sharing/Sharing.h"

#include <string>
#include <vector>

namespace tabbern::test {

class SharingTest : public EditingTest {
protected:
    // Starts the program and forgets what start-up showed.
    bool StartQuietly() {
        const bool started = StartList();
        fake.messages.clear();
        fake.shownForms.clear();
        return started;
    }

    // A path in a folder beside the data folder.
    std::string SharePath(const std::string& name) {
        if (shareFolder_.empty())
            shareFolder_ = dir.makeDir("shared");
        return shareFolder_ + "/" + name;
    }
    // A file of lines, each ended by CR LF.
    static std::string Lines(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines)
            s += l + "\r\n";
        return s;
    }

    // n record lines of a share file, all in one group.
    static std::vector<std::string> ShareRecords(int n, const std::string& group = "Shared") {
        std::vector<std::string> lines;
        for (int i = 0; i < n; ++i)
            lines.push_back(Record("S" + std::to_string(i), group, "http://s" + std::to_string(i)));
        return lines;
    }

    // The user presses the confirmation dialog's import (or cancel) button.
    void ConfirmImport(bool yes = true) {
        OnShow("frmAddConfirm", [this, yes](Form&) {
            (yes ? app.frmAddConfirm.Command1 : app.frmAddConfirm.Command2).click();
        });
    }

    // Imports a share file, answering the open dialog with its path.
    bool ImportShare(const std::string& path) {
        fake.openAnswers.push_back(path);
        return Click(app.main.menuimportfromtabbernfile);
    }

    std::vector<std::string> ShownForms() const { return fake.shownForms; }
    static std::string Today() { return "12/6/2026"; }

private:
    std::string shareFolder_;
};

} // namespace tabbern::test
