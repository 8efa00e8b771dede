// The link check's fetcher on WinHTTP, held to the facts every fetcher must show.
#include "platform/win32/WinHttpFetcher.h"
#include "support/FetcherChecks.h"

#include <windows.h>

namespace tabbern::test {
namespace {

std::unique_ptr<LinkFetcher> MakeWinHttpFetcher() {
    return std::make_unique<win32::WinHttpFetcher>();
}

void PumpMessagesBriefly() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(WinHttpFetcher, EachKindOfAnswerAndWhatTheRequestsSend) {
    CheckEachKindOfAnswer(MakeWinHttpFetcher, PumpMessagesBriefly);
}

TEST(WinHttpFetcher, NothingIsAnsweredAfterCancelOrDestruction) {
    CheckSilenceAfterCancelAndDestruction(MakeWinHttpFetcher, PumpMessagesBriefly);
}

} // namespace
} // namespace tabbern::test
