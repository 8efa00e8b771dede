// The link check's requests on Qt Network: one request each, no redirect followed, no cookie
// kept or sent, the reply dropped as soon as its status line and headers are in.
#pragma once

#include "platform/LinkFetch.h"

#include <QHash>

#include <cstdint>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QObject;

namespace tabbern {

class QtLinkFetcher final : public LinkFetcher {
public:
    QtLinkFetcher();
    ~QtLinkFetcher() override; // abandons every outstanding request
    QtLinkFetcher(const QtLinkFetcher&) = delete;
    QtLinkFetcher& operator=(const QtLinkFetcher&) = delete;

    void setAnswerHandler(AnswerHandler handler) override;
    void start(const FetchRequest& request) override;
    void cancelAll() override;

private:
    // Ends a request: the reply is stopped and dropped, and the answer goes to the handler from
    // the event loop, after whatever called this has returned.
    void finish(QNetworkReply* reply, FetchAnswer answer);
    void drop(QNetworkReply* reply);

    AnswerHandler handler_;
    // The receiver of every connection and every posted answer: deleting it first silences all.
    std::unique_ptr<QObject> context_;
    std::unique_ptr<QNetworkAccessManager> network_;
    QHash<QNetworkReply*, std::uint64_t> pending_; // reply -> the caller's id
    // Raised by cancelAll: an answer posted before it is not delivered.
    std::uint64_t generation_ = 0;
};

} // namespace tabbern
