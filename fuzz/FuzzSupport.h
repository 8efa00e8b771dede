// What every harness shares: a broken property ends the run as a finding, and the program's
// folders, set up once per process on a fake platform in a temporary folder.
#pragma once

#include "app/App.h"
#include "app/Startup.h"
#include "platform/fake/FakePlatform.h"
#include "support/TempDir.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tabbern::fuzz {

// Reports the broken property with the text it concerns, then aborts so that libFuzzer keeps
// the input.
[[noreturn]] inline void Fail(const char* property, std::string_view detail = {}) {
    std::fprintf(stderr, "\n*** property broken: %s\n", property);
    if (!detail.empty()) {
        std::fprintf(stderr, "*** concerning %zu bytes:", detail.size());
        for (std::size_t i = 0; i < detail.size() && i < 256; ++i)
            std::fprintf(stderr, " %02x", static_cast<unsigned char>(detail[i]));
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

inline void Require(bool holds, const char* property, std::string_view detail = {}) {
    if (!holds)
        Fail(property, detail);
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Splits the input at its first NUL byte: the text before it and the rest after it. Lets one
// input carry two texts, a hay and a needle say.
inline std::pair<std::string_view, std::string_view> SplitAtNul(std::string_view in) {
    const std::size_t at = in.find('\0');
    if (at == std::string_view::npos)
        return {in, {}};
    return {in.substr(0, at), in.substr(at + 1)};
}

// An App whose program folder and data folder are one temporary folder, with its folders,
// header lines and limits set as start-up sets them. One per process: a fresh temporary
// folder per input would cost more than the input itself.
struct Program {
    Program() : fake(dir.path()), app(fake) {
        SetFoldersAndConstants(app);
        ResolveDataFolder(app);
        SetRemainingConstants(app);
    }
    test::TempDir dir;
    FakePlatform fake;
    App app;
};

inline Program& TheProgram() {
    static Program program; // its folder goes when the run ends normally
    return program;
}

} // namespace tabbern::fuzz
