// The link check's fetcher in tests: it sends nothing, records every request, and the test
// answers them when and in the order it likes.
#pragma once

#include "platform/LinkFetch.h"

#include <string>
#include <vector>

namespace tabbern {

class FakeLinkFetcher : public LinkFetcher {
public:
    void setAnswerHandler(AnswerHandler handler) override { handler_ = std::move(handler); }
    void start(const FetchRequest& request) override;
    void cancelAll() override;

    // Every request sent, in order, and those not yet answered or cancelled.
    std::vector<FetchRequest> sent;
    std::vector<FetchRequest> outstanding;
    int cancelAllCalls = 0;

    // Answers an outstanding request (the answer's id is set from it): a status, with the
    // Location of a redirect, or a failure.
    void answer(const FetchRequest& request, int status, const std::string& location = {});
    void fail(const FetchRequest& request, FetchFailure failure, const std::string& detail = {});
    // Delivers any answer as the window system would, outstanding or not.
    void deliver(const FetchAnswer& answer);

private:
    void take(std::uint64_t id);
    AnswerHandler handler_;
};

} // namespace tabbern
