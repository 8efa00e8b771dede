// What every harness shares: a broken property ends the run as a finding, the input's first
// byte picks the harness's options, and one program per process on a temporary folder.
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
#include <utility>

namespace tabbern::fuzz {

// Reports a broken property with the bytes it concerns, then aborts so that libFuzzer keeps
// the input.
inline void Require(bool holds, const char* property, std::string_view detail = {}) {
    if (holds)
        return;
    std::fprintf(stderr, "\n*** property broken: %s\n*** concerning %zu bytes:", property,
                 detail.size());
    for (std::size_t i = 0; i < detail.size() && i < 256; ++i)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(detail[i]));
    std::fprintf(stderr, "\n");
    std::abort();
}

// The input as its first byte, the choice of options, and the rest.
inline std::pair<unsigned, std::string_view> ChoiceAndRest(std::string_view input) {
    if (input.empty())
        return {0, input};
    return {static_cast<unsigned char>(input[0]), input.substr(1)};
}

// The text before the first NUL byte and the text after it: one input carrying two texts.
inline std::pair<std::string_view, std::string_view> SplitAtNul(std::string_view in) {
    const std::size_t at = in.find('\0');
    if (at == std::string_view::npos)
        return {in, {}};
    return {in.substr(0, at), in.substr(at + 1)};
}

// The App, its program and data folder a temporary folder, its folders, header lines and
// limits set as start-up sets them. One per process: a fresh folder per input would cost more
// than the input. Put writes an input to a file and forgets the messages shown so far.
struct Program {
    Program() : fake(dir.path()), app(fake) {
        SetFoldersAndConstants(app);
        ResolveDataFolder(app);
        SetRemainingConstants(app);
    }
    void Put(const std::string& path, std::string_view bytes) {
        fake.messages.clear();
        test::WriteBytes(path, bytes);
    }
    test::TempDir dir;
    FakePlatform fake;
    App app;
};

inline Program& TheProgram() {
    static Program program; // its folder goes when the run ends normally
    return program;
}

// The harness's test of one input, which libFuzzer calls through the entry point below.
void TestOneInput(std::string_view input);

} // namespace tabbern::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tabbern::fuzz::TestOneInput({reinterpret_cast<const char*>(data), size});
    return 0;
}
