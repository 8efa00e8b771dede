// The link check's fetcher on Qt Network, held to the facts every fetcher must show.
#include "platform/qt/QtLinkFetcher.h"
#include "support/FetcherChecks.h"

#include <QEventLoop>
#include <QTimer>

namespace tabbern::test {
namespace {

const MakeFetcher kMakeQtFetcher = [] { return std::make_unique<QtLinkFetcher>(); };

void RunQtEventsBriefly() {
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(QtLinkFetcher, EachKindOfAnswerAndWhatTheRequestsSend) {
    CheckEachKindOfAnswer(kMakeQtFetcher, RunQtEventsBriefly);
}

TEST(QtLinkFetcher, NothingIsAnsweredAfterCancelOrDestruction) {
    CheckSilenceAfterCancelAndDestruction(kMakeQtFetcher, RunQtEventsBriefly);
}

} // namespace
} // namespace tabbern::test
