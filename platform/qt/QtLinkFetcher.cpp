#include "platform/qt/QtLinkFetcher.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace tabbern {
namespace {

FetchFailure FailureOf(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return FetchFailure::HostNotFound;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
        return FetchFailure::Refused;
    case QNetworkReply::SslHandshakeFailedError:
        return FetchFailure::CertificateNotTrusted;
    case QNetworkReply::TimeoutError:
        return FetchFailure::TimedOut;
    default:
        return FetchFailure::Other;
    }
}

// What a reply says once its headers are in, or why it has none.
FetchAnswer AnswerOf(QNetworkReply* reply, std::uint64_t id) {
    FetchAnswer answer;
    answer.id = id;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // An HTTP error status (404, 500, a 401 without credentials) is an answer, not a failure.
    if (status.isValid() && status.toInt() > 0) {
        answer.status = status.toInt();
        answer.location = reply->rawHeader("Location").toStdString();
        return answer;
    }
    answer.failure = FailureOf(reply->error());
    if (answer.failure == FetchFailure::Other)
        answer.detail = reply->errorString().toStdString();
    return answer;
}

} // namespace

QtLinkFetcher::QtLinkFetcher()
    : context_(std::make_unique<QObject>()), network_(std::make_unique<QNetworkAccessManager>()) {}

QtLinkFetcher::~QtLinkFetcher() {
    cancelAll();
    // Posted answers and connections die with their receiver, before the replies go.
    context_.reset();
    network_.reset();
}

void QtLinkFetcher::setAnswerHandler(AnswerHandler handler) {
    handler_ = std::move(handler);
}

void QtLinkFetcher::start(const FetchRequest& request) {
    // Tolerant: a bookmarked address with a blank or an accented letter is sent encoded.
    QNetworkRequest r(QUrl(QString::fromStdString(request.url)));
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    r.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    r.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    r.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    r.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(LinkCheckUserAgent()));

    QNetworkReply* reply =
        request.method == FetchMethod::Head ? network_->head(r) : network_->get(r);
    pending_.insert(reply, request.id);
    // A small buffer makes Qt stop reading a long body early, before the reply is dropped.
    reply->setReadBufferSize(16 * 1024);

    // The status line and headers are all a check needs: the body of a GET is never read.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, context_.get(), [this, reply] {
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            finish(reply, AnswerOf(reply, pending_.value(reply)));
    });
    QObject::connect(reply, &QNetworkReply::finished, context_.get(),
                     [this, reply] { finish(reply, AnswerOf(reply, pending_.value(reply))); });
    // The time-out counts from now to the status line; it dies with the reply.
    auto* timer = new QTimer(reply);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, context_.get(), [this, reply] {
        FetchAnswer answer;
        answer.id = pending_.value(reply);
        answer.failure = FetchFailure::TimedOut;
        finish(reply, std::move(answer));
    });
    timer->start(request.timeoutSeconds * 1000);
}

void QtLinkFetcher::cancelAll() {
    ++generation_;
    const QList<QNetworkReply*> replies = pending_.keys();
    for (QNetworkReply* reply : replies)
        drop(reply);
}

void QtLinkFetcher::drop(QNetworkReply* reply) {
    pending_.remove(reply);
    // Disconnected first: abort() emits finished at once, which must not answer again.
    QObject::disconnect(reply, nullptr, context_.get(), nullptr);
    for (QTimer* timer : reply->findChildren<QTimer*>())
        QObject::disconnect(timer, nullptr, context_.get(), nullptr);
    reply->abort();
    // Later, not now: this may run inside one of the reply's own signals.
    reply->deleteLater();
}

void QtLinkFetcher::finish(QNetworkReply* reply, FetchAnswer answer) {
    if (!pending_.contains(reply))
        return;
    drop(reply);
    // Queued, so that the handler runs from the event loop on a clean stack: it may start
    // requests, cancel them or even delete this fetcher.
    QMetaObject::invokeMethod(
        context_.get(),
        [this, answer = std::move(answer), generation = generation_] {
            if (generation != generation_ || !handler_)
                return;
            // A copy: the handler may destroy this fetcher, and the original with it.
            const AnswerHandler handler = handler_;
            handler(answer);
        },
        Qt::QueuedConnection);
}

} // namespace tabbern
