// What every window system's fetcher must show against the test's own server on 127.0.0.1: one
// table of answers and one check of silence, so that all fetchers are held to the same facts.
// Each window system's test gives a way to make its fetcher and to run its events for a moment.
#pragma once

#include "platform/LinkFetch.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tabbern::test {

using MakeFetcher = std::function<std::unique_ptr<LinkFetcher>()>;
using RunEventsBriefly = std::function<void()>;

struct FetchCollector {
    std::map<std::uint64_t, FetchAnswer> answers;
    explicit FetchCollector(LinkFetcher& fetcher) {
        fetcher.setAnswerHandler([this](const FetchAnswer& a) {
            EXPECT_TRUE(answers.emplace(a.id, a).second) << "answered twice: " << a.id;
        });
    }
};

// Runs events until `done` holds; a guard ends a hung wait so that the test fails.
inline void RunUntil(const RunEventsBriefly& run, const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < giveUp)
        run();
    ASSERT_TRUE(done()) << "no answer in 30 s";
}

inline void CheckEachKindOfAnswer(const MakeFetcher& make, const RunEventsBriefly& run) {
    LocalHttpServer server(LinkCheckUserAgent()); // any other, or a cookie, is answered 400
    struct Case {
        std::string url;
        FetchMethod method;
        int status;
        std::string location;
        FetchFailure failure = FetchFailure::None;
    };
    const auto head = FetchMethod::Head, get = FetchMethod::Get;
    // No unresolvable name: this machine's resolver asks a name server elsewhere even for one
    // that can never resolve, and no test may reach beyond 127.0.0.1. /big's body has no end:
    // only a fetcher that stops at the headers answers at all. /slow outlasts its 1 s.
    const std::string closed = "http://127.0.0.1:" + std::to_string(LocalHttpServer::ClosedPort());
    const auto u = [&server](const char* path) { return server.url(path); };
    // clang-format off
    const std::vector<Case> cases = {
        {u("/ok"), head, 200, ""},
        {u("/missing"), head, 404, ""},
        {u("/found"), get, 302, "/ok"},
        {u("/nohead"), head, 405, ""},
        {u("/nohead"), get, 200, ""},
        {u("/big"), get, 200, ""},
        {u("/slow"), get, 0, "", FetchFailure::TimedOut},
        {closed + "/", head, 0, "", FetchFailure::Refused},
    };
    // clang-format on
    const std::unique_ptr<LinkFetcher> fetcher = make();
    FetchCollector got(*fetcher);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        fetcher->start({i, c.url, c.method, c.failure == FetchFailure::TimedOut ? 1 : 15});
    }
    EXPECT_TRUE(got.answers.empty()) << "answered from inside start()";
    ASSERT_NO_FATAL_FAILURE(RunUntil(run, [&] { return got.answers.size() == cases.size(); }));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const FetchAnswer& a = got.answers[i];
        SCOPED_TRACE(c.url);
        EXPECT_EQ(a.failure, c.failure) << a.detail;
        EXPECT_EQ(a.status, c.status);
        EXPECT_EQ(a.location, c.location);
    }

    // /ok set a cookie above; asked again, it must not come back.
    fetcher->start({100, server.url("/ok"), get, 15});
    ASSERT_NO_FATAL_FAILURE(RunUntil(run, [&] { return got.answers.count(100) == 1; }));
    EXPECT_EQ(got.answers[100].status, 200);
}

inline void CheckSilenceAfterCancelAndDestruction(const MakeFetcher& make,
                                                  const RunEventsBriefly& run) {
    LocalHttpServer server;
    const std::unique_ptr<LinkFetcher> fetcher = make();
    FetchCollector got(*fetcher);
    std::uint64_t id = 0; // 1 to 3 cancelled, 4 answered, 5 to 7 on the closing one, 8
    const auto ask = [&](LinkFetcher& f, std::initializer_list<const char*> paths) {
        for (const char* path : paths)
            f.start({++id, server.url(path), FetchMethod::Get, 15});
    };
    ask(*fetcher, {"/ok", "/missing", "/slow"});
    fetcher->cancelAll();
    // Still usable afterwards; its answer comes after any the cancelled ones could have sent.
    ask(*fetcher, {"/found"});
    ASSERT_NO_FATAL_FAILURE(RunUntil(run, [&] { return got.answers.count(4) == 1; }));
    EXPECT_EQ(got.answers.size(), 1u);

    // The program may close mid-check: the fetcher goes with requests under way.
    bool late = false;
    {
        const std::unique_ptr<LinkFetcher> closing = make();
        closing->setAnswerHandler([&](const FetchAnswer&) { late = true; });
        ask(*closing, {"/slow", "/big", "/ok"});
    }
    ask(*fetcher, {"/ok"});
    ASSERT_NO_FATAL_FAILURE(RunUntil(run, [&] { return got.answers.count(8) == 1; }));
    EXPECT_FALSE(late);
}

} // namespace tabbern::test
