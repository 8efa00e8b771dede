// Reading a browser bookmarks file of 10,000 links in 100 folders, two levels deep, with dates
// and entities as browsers write them: it should take well under 50 ms. And writing one back.
#include "sharing/BrowserBookmarks.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tabbern {
namespace {

constexpr int kFolders = 100;
constexpr int kLinksPerFolder = 100;

const std::string& BookmarksFile() {
    static const std::string file = [] {
        std::string s = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
        for (int f = 0; f < kFolders; ++f) {
            const std::string n = std::to_string(f);
            s += "    <DT><H3 ADD_DATE=\"1690000000\">Folder " + n + " &amp; Caf\xC3\xA9</H3>\n";
            s += "    <DL><p>\n        <DT><H3>Inner " + n + "</H3>\n        <DL><p>\n";
            for (int l = 0; l < kLinksPerFolder; ++l) {
                const std::string k = std::to_string(f * kLinksPerFolder + l);
                s += "            <DT><A HREF=\"https://www.site" + k +
                     ".example/Path/To/Page?id=" + k +
                     "&amp;lang=en\" ADD_DATE=\"1700000000\" LAST_VISIT=\"1701388800\" "
                     "ICON_URI=\"https://www.site" +
                     k + ".example/favicon.ico\">Page " + k +
                     " &ndash; a &quot;useful&quot; site</A>\n";
                if (l % 10 == 0)
                    s += "            <DD>A short description of page " + k + "\n";
            }
            s += "        </DL><p>\n    </DL><p>\n";
        }
        return s + "</DL><p>\n";
    }();
    return file;
}

void BM_ReadBrowserBookmarks(benchmark::State& state) {
    const std::string& file = BookmarksFile();
    std::size_t links = 0;
    for (auto _ : state) {
        links = 0;
        ReadBrowserBookmarks(file, [&links](BrowserLink&& link) {
            benchmark::DoNotOptimize(link.name.data());
            ++links;
            return true;
        });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
    state.counters["links"] = static_cast<double>(links);
}
BENCHMARK(BM_ReadBrowserBookmarks)->Unit(benchmark::kMillisecond);

void BM_WriteBrowserBookmarks(benchmark::State& state) {
    const std::vector<BrowserLink> links = ReadBrowserBookmarks(BookmarksFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteBrowserBookmarks(links));
    state.counters["links"] = static_cast<double>(links.size());
}
BENCHMARK(BM_WriteBrowserBookmarks)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tabbern
