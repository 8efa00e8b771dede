// The store operations on a full store: 1000 bookmarks, 200 groups.
#include "app/App.h"
#include "app/Dispatch.h"
#include "app/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "store/Store.h"
#include "store/Text.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tabbern {
namespace {

struct FullStore {
    test::TempDir dir;
    FakePlatform fake{dir.path()};
    App app{fake};

    FullStore() {
        std::string store = HeaderLine() + "\r\n";
        std::string groups = HeaderLine() + "\r\n";
        for (int g = 0; g < 200; ++g)
            groups += "Group " + std::to_string(g) + "\r\n";
        for (int i = 0; i < 1000; ++i)
            store += "[r]" + std::to_string(i) + "[n]Bookmark number " + std::to_string(i) +
                     "[g]Group " + std::to_string(i % 200) + "[d]12/6/2026[l]1/" +
                     std::to_string(i % 28 + 1) + "/2026[u]https://www.site" + std::to_string(i) +
                     ".example/some/path?q=" + std::to_string(i * 7) + "\r\n";
        test::WriteBytes(dir.file("tabbern.dat"), store);
        test::WriteBytes(dir.file("tabbern.grp"), groups);
        // Repeated start-ups must not stop at the already-running question.
        test::WriteBytes(dir.file("tabbern.ign"), "");
        // The full store sits at the limit, whose message the fake answers at once.
        Dispatch(app, [this] { MainForm_Load(app); });
    }
};

void BM_LoadStore(benchmark::State& state) {
    FullStore s;
    for (auto _ : state) {
        LoadStore(s.app);
        benchmark::DoNotOptimize(s.app.recordCount);
    }
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

void BM_LoadGroups(benchmark::State& state) {
    FullStore s;
    for (auto _ : state) {
        LoadGroups(s.app);
        benchmark::DoNotOptimize(s.app.groupCount);
    }
}
BENCHMARK(BM_LoadGroups)->Unit(benchmark::kMillisecond);

// Includes the flush to disk that makes every save safe.
void BM_RewriteStore(benchmark::State& state) {
    FullStore s;
    for (auto _ : state)
        RewriteStore(s.app, RowHasName);
}
BENCHMARK(BM_RewriteStore)->Unit(benchmark::kMillisecond);

void BM_AddMissingGroupsNothingMissing(benchmark::State& state) {
    FullStore s;
    for (auto _ : state)
        AddMissingGroups(s.app);
}
BENCHMARK(BM_AddMissingGroupsNothingMissing)->Unit(benchmark::kMillisecond);

void BM_StartUp(benchmark::State& state) {
    FullStore s;
    for (auto _ : state) {
        App fresh(s.fake);
        Dispatch(fresh, [&] { MainForm_Load(fresh); });
        benchmark::DoNotOptimize(fresh.recordCount);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_TrimLower(benchmark::State& state) {
    const std::string name = "  Ärger über Straßen — Work Group Name  ";
    for (auto _ : state)
        benchmark::DoNotOptimize(TrimLower(name));
}
BENCHMARK(BM_TrimLower);

} // namespace
} // namespace tabbern
