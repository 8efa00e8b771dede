// Generated web pages for the harvester's measurements, the same for the same size on every
// run: a dense one of markup, script, prose and links of every kind, and a sparse one like a
// page of documentation, mostly prose with relative links.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tabbern::bench {

// About `bytes` long. On one line, as a minified page is, or with a line end after every
// element, as a formatted page is; the elements are the same either way.
inline std::string MakeWebPage(std::size_t bytes, bool manyLines) {
    static const char* const kWords[] = {"bookmark", "lorem",  "ipsum", "dolor",   "sit",
                                         "amet",     "web",    "page",  "content", "shared",
                                         "link",     "window", "http",  "awwward", "the"};
    constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto words = [&](std::string& out, int count) {
        for (int k = 0; k < count; ++k) {
            if (k > 0)
                out += ' ';
            out += kWords[next(kWordCount)];
        }
    };

    std::string page;
    page.reserve(bytes + 512);
    page += "<!DOCTYPE html><html><head><title>Generated page</title></head><body>";
    while (page.size() < bytes) {
        if (manyLines)
            page += '\n';
        const std::string n = std::to_string(next(100000));
        switch (next(8)) {
        case 0:
            page += "<div class=\"item\"><a href=\"https://www.site" + n +
                    ".example/path/to/page-" + n + ".html?ref=home&amp;id=" + n +
                    "\" title=\"Page " + n + "\">";
            words(page, 3);
            page += "</a></div>";
            break;
        case 1:
            page += "<p>";
            words(page, 6);
            page += ", see www.other" + n + ".example/docs for more, or HTTP://Legacy.Example/" +
                    n + ".</p>";
            break;
        case 2:
            page += "<script src=\"http://cdn.example/lib-" + n + ".min.js\"></script>";
            break;
        case 3:
            page += "<img src=\"/images/pic" + n + ".png\" alt=\"";
            words(page, 2);
            page += "\">";
            break;
        case 4:
            page += "<script>var u=\"https://api.example/v1/items?x=\"+a;function f(b){return "
                    "b.map(function(c){return c*" +
                    n + "})}</script>";
            break;
        case 5:
            page += "<li><a href=\"HTTPS://Shop.Example/Item/" + n + "\">Item " + n +
                    "</a> <a href=\"/local/" + n + "\">local</a></li>";
            break;
        default:
            page += "<p>";
            words(page, 12);
            page += "</p>";
            break;
        }
    }
    page += "</body></html>";
    return page;
}

// About `bytes` of documentation: paragraphs, code and relative links, with an absolute link
// about every 3.5 KB, as in the manuals installed with a system. In many lines or on one.
inline std::string MakeDocumentationPage(std::size_t bytes, bool manyLines) {
    static const char* const kWords[] = {"the",    "function", "returns",  "a",     "value",
                                         "of",     "node",     "document", "when",  "with",
                                         "string", "element",  "is",       "which", "stylesheet",
                                         "output", "whose",    "for",      "how",   "parameter"};
    constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];
    std::uint32_t seed = 54321;
    auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    const char* const end = manyLines ? "\n" : " ";
    std::string page;
    page.reserve(bytes + 512);
    page += "<!DOCTYPE html><html><head><title>Manual</title></head><body>";
    page += end;
    while (page.size() < bytes) {
        const std::string n = std::to_string(next(1000));
        switch (next(32)) {
        case 0:
            page += "<p>See <a href=\"https://docs.example.org/manual/ch" + n +
                    ".html\">the manual</a> or http://Mirror.Example.net/" + n + ".</p>";
            break;
        case 1:
        case 2:
        case 3:
        case 4:
            page += "<pre class=\"programlisting\">result = load_document(path, options);" +
                    std::string(end) + "free_document(result);</pre>";
            break;
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
            page += "<li><a href=\"ch" + n + ".html#sect" + n + "\">Section " + n + "</a></li>";
            break;
        default:
            page += "<p>";
            for (std::uint32_t k = 0, count = 20 + next(60); k < count; ++k) {
                page += kWords[next(kWordCount)];
                page += k % 12 == 11 ? end : " ";
            }
            page += "</p>";
            break;
        }
        page += end;
    }
    page += "</body></html>";
    return page;
}

} // namespace tabbern::bench
