// The list and editing commands on a full store (1000 bookmarks in 200 groups), each triggered
// the way a user triggers it: through the form models' handlers and the dispatcher, dialogs
// answered by scripts and message boxes by the fake's answers. Commands that change the data
// files start every iteration from the same files and the same freshly started program.
#include "FullStoreData.h"

#include "app/App.h"
#include "app/Dispatch.h"
#include "app/Startup.h"
#include "editing/Editing.h"
#include "listview/ListView.h"
#include "platform/fake/FakePlatform.h"
#include "store/Tables.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace tabbern {
namespace {

using bench::kFullGroups;
using bench::kFullRecords;

constexpr int kEnter = 13;

// A started program on its own data folder, which start-up may be run on again and again.
class Program {
public:
    explicit Program(int records = kFullRecords, int groups = kFullGroups)
        : fake(dir_.path()), records_(records), storeBytes_(bench::StoreFileBytes(records, groups)),
          groupBytes_(bench::GroupFileBytes(groups)) {
        restart();
    }

    App& app() { return *app_; }
    MainForm& main() { return app_->main; }

    // One user event through the dispatcher; false when it ended the process.
    bool run(const std::function<void()>& handler) {
        try {
            Dispatch(*app_, handler);
            return true;
        } catch (const ProcessEnded&) {
            return false;
        }
    }

    // Puts the original data files back and starts a fresh program on them. A full store shows
    // its limit message at every load; the fake answers it.
    void restart() {
        test::WriteBytes(dir_.file("tabbern.dat"), storeBytes_);
        test::WriteBytes(dir_.file("tabbern.grp"), groupBytes_);
        // Repeated start-ups must not stop at the already-running question.
        test::WriteBytes(dir_.file("tabbern.ign"), "");
        std::filesystem::remove(dir_.file("tabbern.cfg"));
        fake.messages.clear();
        fake.answers.clear();
        fake.shownForms.clear();
        fake.openedUrls.clear();
        app_.reset();
        app_ = std::make_unique<App>(fake);
        started_ = run([this] { MainForm_Load(*app_); }) && app_->recordCount == records_;
    }
    bool started() const { return started_; }

    std::string groupFile() const { return test::ReadBytes(dir_.file("tabbern.grp")); }

private:
    test::TempDir dir_;

public:
    FakePlatform fake;

private:
    int records_;
    std::string storeBytes_, groupBytes_;
    std::unique_ptr<App> app_;
    bool started_ = false;
};

// Reports a failed expectation instead of a figure.
bool Expect(benchmark::State& state, bool ok, const char* what) {
    if (!ok)
        state.SkipWithError(what);
    return ok;
}

// Starts every iteration on a fresh program; `prepare` then sets up what the user did before
// the measured command (select an entry, queue message-box answers).
template <class Prepare, class Command>
void MeasureFromFreshStart(benchmark::State& state, Program& p, Prepare prepare, Command command) {
    for (auto _ : state) {
        state.PauseTiming();
        p.restart();
        const bool ready = p.started() && prepare();
        state.ResumeTiming();
        if (!Expect(state, ready, "the program did not start as expected"))
            break;
        if (!Expect(state, command(), "the command ended the process"))
            break;
    }
}

// ---- list fill and sort -------------------------------------------------------------------

void BM_FillBookmarkList_AllGroups(benchmark::State& state) {
    Program p;
    p.app().currentGroupFilter = "all";
    for (auto _ : state)
        if (!p.run([&] { FillBookmarkList(p.app()); }))
            break;
    Expect(state, p.main().List1.listCount() == kFullRecords, "not every bookmark listed");
}
BENCHMARK(BM_FillBookmarkList_AllGroups)->Unit(benchmark::kMicrosecond);

void BM_FillBookmarkList_OneGroup(benchmark::State& state) {
    Program p;
    p.app().currentGroupFilter = "group 7";
    for (auto _ : state)
        if (!p.run([&] { FillBookmarkList(p.app()); }))
            break;
    Expect(state, p.main().List1.listCount() == kFullRecords / kFullGroups,
           "the group's bookmarks not listed");
}
BENCHMARK(BM_FillBookmarkList_OneGroup)->Unit(benchmark::kMicrosecond);

// Every iteration sorts the table as start-up loaded it, not one the last iteration sorted.
void MeasureSortCommand(benchmark::State& state, MenuItem MainForm::*item) {
    Program p;
    const auto loaded = std::make_unique<BookmarkTable>(p.app().bookmarks);
    for (auto _ : state) {
        state.PauseTiming();
        p.app().bookmarks = *loaded;
        state.ResumeTiming();
        if (!p.run([&] { (p.main().*item).click(); }))
            break;
    }
    Expect(state, (p.main().*item).checked() && p.main().List1.listCount() == kFullRecords,
           "the sort command did not run");
}
void BM_SortByName(benchmark::State& state) {
    MeasureSortCommand(state, &MainForm::menusortbyname);
}
void BM_SortByUrl(benchmark::State& state) {
    MeasureSortCommand(state, &MainForm::menusortbyurl);
}
void BM_SortByDateAdded(benchmark::State& state) {
    MeasureSortCommand(state, &MainForm::menusortbydateadded);
}
void BM_SortByLastAccessed(benchmark::State& state) {
    MeasureSortCommand(state, &MainForm::menulastaccessed);
}
BENCHMARK(BM_SortByName)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortByUrl)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortByDateAdded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortByLastAccessed)->Unit(benchmark::kMicrosecond);

// ---- selection ----------------------------------------------------------------------------

void BM_List1Click(benchmark::State& state) {
    Program p;
    int at = 0;
    for (auto _ : state) {
        // Alternate between two entries, as a user clicking around does.
        at = at == 500 ? 501 : 500;
        if (!p.run([&] { p.main().List1.setListIndex(at); }))
            break;
    }
    Expect(state, p.main().List6.listIndex() == at, "the details did not follow the click");
}
BENCHMARK(BM_List1Click)->Unit(benchmark::kMicrosecond);

void BM_ChooseGroupInSelector(benchmark::State& state) {
    Program p;
    for (auto _ : state)
        if (!p.run([&] { p.main().Combo1.setListIndex(100); }))
            break;
    Expect(state, p.main().List1.listCount() == kFullRecords / kFullGroups,
           "the group's bookmarks not listed");
}
BENCHMARK(BM_ChooseGroupInSelector)->Unit(benchmark::kMicrosecond);

void BM_ChooseAllGroupsInSelector(benchmark::State& state) {
    Program p;
    for (auto _ : state)
        if (!p.run([&] { p.main().Combo1.setListIndex(0); }))
            break;
    Expect(state, p.main().List1.listCount() == kFullRecords, "not every bookmark listed");
}
BENCHMARK(BM_ChooseAllGroupsInSelector)->Unit(benchmark::kMicrosecond);

// ---- name search --------------------------------------------------------------------------

void MeasureSearch(benchmark::State& state, const std::string& typed, int expectedIndex) {
    Program p;
    MainForm& m = p.main();
    for (auto _ : state) {
        p.fake.messages.clear();
        // The user types the name, then presses Enter in the search box.
        if (!p.run([&] { m.TextNameSearch.setText(typed); }) ||
            !p.run([&] { m.TextNameSearch.onKeyPress(kEnter); }))
            break;
    }
    Expect(state, m.List1.listIndex() == expectedIndex && m.List6.listIndex() == expectedIndex,
           "the search ended on another entry");
}

void BM_FindBookmarkByName_HitAtEnd(benchmark::State& state) {
    MeasureSearch(state, bench::BookmarkName(kFullRecords - 1), kFullRecords - 1);
}
BENCHMARK(BM_FindBookmarkByName_HitAtEnd)->Unit(benchmark::kMicrosecond);

void BM_FindBookmarkByName_Miss(benchmark::State& state) {
    // Start-up selected the first entry; a miss goes back to it.
    MeasureSearch(state, "No bookmark has this name", 0);
}
BENCHMARK(BM_FindBookmarkByName_Miss)->Unit(benchmark::kMicrosecond);

// ---- bookmarks ----------------------------------------------------------------------------

// A full store refuses additions at its reload, so the addition goes into a store one short.
void BM_AddBookmark(benchmark::State& state) {
    Program p(kFullRecords - 1, kFullGroups);
    p.fake.modalScripts["frmAddName"] = [](Form& f) {
        auto& d = static_cast<AddNameForm&>(f);
        d.Text1.setText("A new bookmark");
        d.Text3.setText("https://www.new.example/page");
        d.Command1.click();
    };
    MeasureFromFreshStart(
        state, p, [] { return true; },
        [&] { return p.run([&] { p.main().menuaddname.click(); }); });
    Expect(state, p.app().recordCount == kFullRecords, "the bookmark was not added");
}
BENCHMARK(BM_AddBookmark)->Unit(benchmark::kMicrosecond);

void BM_EditBookmark(benchmark::State& state) {
    Program p;
    p.fake.modalScripts["frmEditName"] = [](Form& f) {
        auto& d = static_cast<EditNameForm&>(f);
        d.Text1.setText("An edited bookmark");
        d.Text3.setText("https://www.edited.example/page");
        d.Command1.click();
    };
    MeasureFromFreshStart(
        state, p, [&] { return p.run([&] { p.main().List1.setListIndex(500); }); },
        [&] { return p.run([&] { p.main().menunamesedit.click(); }); });
    Expect(state, p.main().List1.selectedText() == "An edited bookmark",
           "the bookmark was not edited");
}
BENCHMARK(BM_EditBookmark)->Unit(benchmark::kMicrosecond);

void BM_DeleteBookmark(benchmark::State& state) {
    Program p;
    MeasureFromFreshStart(
        state, p,
        [&] {
            p.fake.answers.push_back(MsgResult::OK);
            return p.run([&] { p.main().List1.setListIndex(500); });
        },
        [&] { return p.run([&] { p.main().menunamesdelete.click(); }); });
    Expect(state, p.app().recordCount == kFullRecords - 1, "the bookmark was not deleted");
}
BENCHMARK(BM_DeleteBookmark)->Unit(benchmark::kMicrosecond);

void BM_OpenBookmark(benchmark::State& state) {
    Program p;
    MeasureFromFreshStart(
        state, p, [&] { return p.run([&] { p.main().List1.setListIndex(500); }); },
        [&] { return p.run([&] { p.main().List1.onDblClick(); }); });
    Expect(state, p.fake.openedUrls.size() == 1 && p.main().List1.listIndex() == 500,
           "the bookmark was not opened");
}
BENCHMARK(BM_OpenBookmark)->Unit(benchmark::kMicrosecond);

// ---- groups -------------------------------------------------------------------------------

// Enter in the selector with a new name typed: the command that selects every group in turn.
// At 200 groups the reload of the group file stops at its limit (the fake answers the
// message); the second figure is a store with room for the new group.
void BM_AddGroupFromSelector(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    Program p(kFullRecords, groups);
    MeasureFromFreshStart(
        state, p, [&] { return p.run([&] { p.main().Combo1.setText("A new group"); }); },
        [&] { return p.run([&] { p.main().Combo1.onKeyPress(kEnter); }); });
    if (groups < kFullGroups - 1)
        Expect(state, p.groupFile().find("\nA new group\r\n") != std::string::npos,
               "the group was not added");
}
BENCHMARK(BM_AddGroupFromSelector)
    ->ArgName("groups")
    ->Arg(kFullGroups)
    ->Arg(kFullGroups - 2)
    ->Unit(benchmark::kMicrosecond);

void BM_RenameGroup(benchmark::State& state) {
    Program p;
    MeasureFromFreshStart(
        state, p, [&] { return p.run([&] { p.main().Combo1.setListIndex(100); }); },
        [&] {
            EditGroupNameForm& dialog = p.app().frmEditGroupName;
            // Open the dialog; the window system activates it; type the new name; save.
            return p.run([&] { p.main().menueditselectedgroup.click(); }) &&
                   p.run([&] { dialog.onActivate(); }) &&
                   p.run([&] { dialog.Text3.setText("A renamed group"); }) &&
                   p.run([&] { dialog.Command1.click(); });
        });
    Expect(state, p.groupFile().find("\nA renamed group\r\n") != std::string::npos,
           "the group was not renamed");
}
BENCHMARK(BM_RenameGroup)->Unit(benchmark::kMicrosecond);

// Arg 0 keeps the group's bookmarks, arg 1 deletes them too.
void BM_DeleteGroup(benchmark::State& state) {
    const bool withBookmarks = state.range(0) != 0;
    Program p;
    std::string deleted;
    MeasureFromFreshStart(
        state, p,
        [&] {
            p.fake.answers.push_back(MsgResult::OK);
            p.fake.answers.push_back(withBookmarks ? MsgResult::Yes : MsgResult::No);
            const bool chosen = p.run([&] { p.main().Combo1.setListIndex(100); });
            deleted = p.main().Combo1.text();
            return chosen;
        },
        [&] { return p.run([&] { p.main().menudeletegroup.click(); }); });
    Expect(state, p.groupFile().find("\n" + deleted + "\r\n") == std::string::npos,
           "the group was not deleted");
    if (withBookmarks)
        Expect(state, p.app().recordCount == kFullRecords - kFullRecords / kFullGroups,
               "the group's bookmarks were not deleted");
}
BENCHMARK(BM_DeleteGroup)->ArgName("withBookmarks")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tabbern
