// The link harvester on generated web pages of 5, 10 and 20 MB, once as one line (a minified
// page) and once in many lines: the time per byte should stay flat as the page grows, and one
// line should cost no more than many. The dense page has a link every hundred bytes or so; the
// documentation page, mostly prose, one every few kilobytes, and is skipped through.
#include "HarvestPage.h"
#include "sharing/Harvest.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tabbern {
namespace {

const std::string& Page(std::size_t megabytes, bool manyLines, bool documentation = false) {
    static std::map<std::tuple<std::size_t, bool, bool>, std::string> pages;
    std::string& page = pages[{megabytes, manyLines, documentation}];
    if (page.empty())
        page = documentation ? bench::MakeDocumentationPage(megabytes * 1024 * 1024, manyLines)
                             : bench::MakeWebPage(megabytes * 1024 * 1024, manyLines);
    return page;
}

void Harvest(benchmark::State& state, bool manyLines, bool documentation = false) {
    const std::string& page =
        Page(static_cast<std::size_t>(state.range(0)), manyLines, documentation);
    std::size_t links = 0;
    for (auto _ : state) {
        links = 0;
        std::size_t bytes = 0;
        LinkHarvester harvester([&](std::string_view link) {
            ++links;
            bytes += link.size();
            return true;
        });
        harvester.add(page);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
    state.counters["links"] = static_cast<double>(links);
}

void BM_HarvestOneLine(benchmark::State& state) {
    Harvest(state, false);
}
void BM_HarvestManyLines(benchmark::State& state) {
    Harvest(state, true);
}

void BM_HarvestDocumentationOneLine(benchmark::State& state) {
    Harvest(state, false, true);
}
void BM_HarvestDocumentationManyLines(benchmark::State& state) {
    Harvest(state, true, true);
}

BENCHMARK(BM_HarvestOneLine)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarvestManyLines)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarvestDocumentationOneLine)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HarvestDocumentationManyLines)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);

// A line of links of one kind followed by one of another: a scan that searched the line again
// for each prefix would grow with the square of the line here.
void BM_HarvestLopsidedLine(benchmark::State& state) {
    static std::map<std::int64_t, std::string> lines;
    std::string& line = lines[state.range(0)];
    if (line.empty()) {
        const auto bytes = static_cast<std::size_t>(state.range(0)) * 1024 * 1024;
        while (line.size() < bytes)
            line += "http://a.example/p ";
        line += "www.last.example";
    }
    for (auto _ : state) {
        std::size_t links = 0;
        LinkHarvester harvester([&links](std::string_view) { return ++links != 0; });
        harvester.add(line);
        benchmark::DoNotOptimize(links);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_HarvestLopsidedLine)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

// The same with every link kept as a string of its own, as the import keeps them.
void BM_HarvestLinksIntoList(benchmark::State& state) {
    const std::string& page = Page(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        std::vector<std::string> links = HarvestLinks(page);
        benchmark::DoNotOptimize(links.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_HarvestLinksIntoList)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabbern
