// A started program on a prepared data folder, with helpers to drive the editing dialogs.
#pragma once

#include "listview/ListFixture.h"

#include "editing/Editing.h"
#include "store/Store.h"

#include <functional>
#include <string>
#include <vector>

namespace tabbern::test {

class EditingTest : public ListTest {
protected:
    // A record line as a rewrite produces it, with its record number.
    static std::string Rec(int rec, const std::string& name, const std::string& group,
                           const std::string& url, const std::string& added = "1/2/2025",
                           const std::string& accessed = "") {
        return Record(name, group, url, added, accessed, std::to_string(rec));
    }

    std::string StoreBytes() const { return ReadBytes(ProgramFile("tabbern.dat")); }
    std::string GroupBytes() const { return ReadBytes(ProgramFile("tabbern.grp")); }

    // Clicks the List1 entry with that text, as a user does.
    void Pick(const std::string& name) {
        const Names& items = app.main.List1.items();
        const auto at = std::find(items.begin(), items.end(), name);
        ASSERT_NE(at, items.end()) << name;
        Run([&] { app.main.List1.setListIndex(static_cast<int>(at - items.begin())); });
    }

    // What the user does once a dialog is shown.
    void OnShow(const std::string& formName, std::function<void(Form&)> script) {
        fake.modalScripts[formName] = std::move(script);
    }

    // Types into a bookmark dialog and presses save.
    static void TypeAndSave(BookmarkDialog& d, const std::string& name, const std::string& group,
                            const std::string& url) {
        d.Text1.setText(name);
        d.Combo1.setText(group);
        d.Text3.setText(url);
        d.Command1.click();
    }

    bool Click(MenuItem& item) {
        return Run([&] { item.click(); });
    }

    std::vector<std::string> Messages() const { return fake.messageTexts(); }
};

} // namespace tabbern::test
