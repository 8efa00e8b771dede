// The ways the desktop, not the user's window, asks the program to stop: the signals a session's
// end (SIGTERM), a closed terminal (SIGHUP) and Ctrl+C (SIGINT) send, and the session manager's
// last word, which Qt delivers as the application's quit. Each ends the program through its exit
// sequence, run as one event like the close box, so that no marker stays behind to make the next
// start ask whether the program is already running.
#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <iterator>

class QSocketNotifier;

namespace tabbern {

class ViewHost;

class StopRequests : public QObject {
public:
    // The signal handlers are the process's own: only one of these may exist at a time.
    StopRequests(ViewHost& host, std::function<void()> exitSequence);
    ~StopRequests() override;
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // A request that comes while the start-up runs waits for its end and is carried out then:
    // before the start-up has written this copy's marker, the one found may be another copy's.
    void startUpDone();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    void request();

    ViewHost& host_;
    std::function<void()> exitSequence_;
    QSocketNotifier* notifier_ = nullptr;
    // The handlers the signals had before, given back when this goes.
    struct sigaction previous_[std::size(kSignals)] = {};
    bool startedUp_ = false;
    bool pending_ = false;
    bool exiting_ = false;
};

} // namespace tabbern
