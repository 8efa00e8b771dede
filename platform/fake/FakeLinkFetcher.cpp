#include "platform/fake/FakeLinkFetcher.h"

#include <algorithm>

namespace tabbern {

void FakeLinkFetcher::start(const FetchRequest& request) {
    sent.push_back(request);
    outstanding.push_back(request);
}

void FakeLinkFetcher::cancelAll() {
    ++cancelAllCalls;
    outstanding.clear();
}

void FakeLinkFetcher::take(std::uint64_t id) {
    std::erase_if(outstanding, [id](const FetchRequest& r) { return r.id == id; });
}

void FakeLinkFetcher::answer(const FetchRequest& request, int status, const std::string& location) {
    FetchAnswer a;
    a.id = request.id;
    a.status = status;
    a.location = location;
    deliver(a);
}

void FakeLinkFetcher::fail(const FetchRequest& request, FetchFailure failure,
                           const std::string& detail) {
    FetchAnswer a;
    a.id = request.id;
    a.failure = failure;
    a.detail = detail;
    deliver(a);
}

void FakeLinkFetcher::deliver(const FetchAnswer& answer) {
    take(answer.id);
    if (handler_)
        handler_(answer);
}

} // namespace tabbern
