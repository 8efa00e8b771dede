// The real program as a process: the signals of a session's end, a closed terminal and Ctrl+C
// end it the way its close box does, so that it leaves no marker behind.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace tabbern::test {
namespace {

// Looks again every 10 ms until the condition holds, for half a minute at most.
template <class Done> bool Within30s(Done done) {
    for (int tries = 0; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        if (++tries > 3000)
            return false;
    return true;
}

class StopSignal : public ::testing::TestWithParam<int> {};

TEST_P(StopSignal, EndsTheProgramThroughItsExitSequence) {
    TempDir dir;
    // A portable copy: with a settings file beside it, the program keeps its files there.
    std::string program = dir.file("tabbern");
    std::filesystem::copy_file(TABBERN_PROGRAM, program);
    WriteBytes(dir.file("tabbern.cfg"), std::string(128, '\0'));
    const std::string marker = dir.file("tabbern.run");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    pid_t pid = 0;
    char* argv[] = {program.data(), nullptr};
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    const bool started = Within30s([&] { return Exists(marker); }) && kill(pid, GetParam()) == 0;
    const bool ended = started && Within30s([&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended && kill(pid, SIGKILL) == 0)
        waitpid(pid, &status, 0);
    ASSERT_TRUE(ended) << (started ? "the program did not end" : "it never wrote its marker");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    EXPECT_FALSE(Exists(marker));
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const auto& s) { return std::string(sigabbrev_np(s.param)); });

} // namespace
} // namespace tabbern::test
