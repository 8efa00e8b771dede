// A program started on a prepared data folder, as far as the list, the selector and the details.
#pragma once

#include "support/AppFixture.h"

#include "listview/ListView.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tabbern::test {

using Names = std::vector<std::string>;

class ListTest : public AppTest {
protected:
    // The store and group files in the program folder, which is the data folder by default.
    void WriteStore(const std::vector<std::string>& records, const Names& groups = {}) {
        WriteBytes(ProgramFile("tabbern.dat"), FileWithHeader(records));
        WriteBytes(ProgramFile("tabbern.grp"), FileWithHeader(groups));
    }
    // A settings record holding only a sort choice and the remember-sort flag.
    void WriteSortSettings(int choice, int remember) {
        std::string bytes(128, '\0');
        bytes[124] = static_cast<char>(choice);
        bytes[126] = static_cast<char>(remember);
        WriteBytes(ProgramFile("tabbern.cfg"), bytes);
    }

    // Start-up leaves the list, the selector and the details filled.
    bool StartList() { return Start(); }

    // Chooses a selector entry by its text, as a user picks it from the drop-down list.
    void ChooseGroup(const std::string& entry) {
        const Names& items = app.main.Combo1.items();
        const auto at = std::find(items.begin(), items.end(), entry);
        ASSERT_NE(at, items.end()) << entry;
        Run([&] { app.main.Combo1.setListIndex(static_cast<int>(at - items.begin())); });
    }

    std::string CfgBytes() const { return ReadBytes(ProgramFile("tabbern.cfg")); }

    // Every hidden list at the position of List1.
    void ExpectHiddenListsAt(int at) {
        MainForm& m = app.main;
        for (const ListBox* l : {&m.List2, &m.List3, &m.List4, &m.List5, &m.List6})
            EXPECT_EQ(l->listIndex(), at) << l->name();
    }
};

} // namespace tabbern::test
