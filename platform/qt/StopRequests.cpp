#include "platform/qt/StopRequests.h"

#include "ui/ViewHost.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace tabbern {

namespace {

// The handler's end and the event loop's end of a socket pair: a signal handler may do almost
// nothing, so it only wakes the loop, which runs the exit sequence.
int wakeFds[2] = {-1, -1};

void OnStopSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full socket already holds a wake-up: nothing is lost when this write fails.
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

StopRequests::StopRequests(ViewHost& host, std::function<void()> exitSequence)
    : host_(host), exitSequence_(std::move(exitSequence)) {
    // Qt turns the session manager's last word into the application's quit; every other quit
    // means the end of the program as well.
    QCoreApplication::instance()->installEventFilter(this);

    // Without the socket pair the signals keep their default action, as before.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakeFds) != 0)
        return;
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
        }
        request();
    });
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &previous_[i]);
}

StopRequests::~StopRequests() {
    QCoreApplication::instance()->removeEventFilter(this);
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &previous_[i], nullptr);
    delete notifier_;
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

void StopRequests::startUpDone() {
    startedUp_ = true;
    if (pending_)
        request();
}

bool StopRequests::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        request();
        // The program ends only through its exit sequence.
        return true;
    }
    return false;
}

void StopRequests::request() {
    if (!startedUp_) {
        pending_ = true;
        return;
    }
    // A second request while the exit sequence still shows a message is the same request.
    if (exiting_)
        return;
    exiting_ = true;
    host_.runEvent(exitSequence_);
    exiting_ = false;
}

} // namespace tabbern
