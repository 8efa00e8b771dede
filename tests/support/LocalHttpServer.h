// A small HTTP/1.1 server for the tests of the link check: it listens on 127.0.0.1 only, on a
// port of its own, answers a fixed set of pages on a thread per connection and records every
// request, so that a test sees what a fetcher sent without any other machine being contacted.
//
//   /ok       200 and a cookie (so that a second request shows whether the cookie came back)
//   /missing  404
//   /moved    301 to /ok        /found  302 to /ok
//   /nohead   405 to HEAD, 200 to GET
//   /slow     no answer until the server stops, or until the delay given has passed
//   /big      200 and a body without end: a fetcher that waits for the body never answers
//   /long     200 and a body of 70,000 bytes
//   anything else 404
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace tabbern::test {

struct RecordedRequest {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers; // as sent, in order
    // The value of the first header of that name (any case), or nullptr when none was sent.
    const std::string* header(std::string_view name) const;
};

class LocalHttpServer {
public:
    using Socket = std::uintptr_t; // an int on POSIX, a SOCKET on Windows

    LocalHttpServer();
    ~LocalHttpServer(); // answers every waiting /slow, closes every connection, joins all
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(std::string_view path) const;
    // How long /slow waits before it answers; by default it waits until the server stops.
    void setSlowDelay(std::chrono::milliseconds delay);
    // Every complete request received so far, in the order they came in.
    std::vector<RecordedRequest> requests() const;

    // A port on 127.0.0.1 that nothing listens on: taken from the system, then given back.
    static int ClosedPort();

private:
    void acceptLoop();
    void serve(Socket connection);
    bool waitForSlow();

    Socket listener_;
    int port_ = 0;
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<RecordedRequest> requests_;
    std::vector<Socket> open_; // connections being served, shut down when the server stops
    int serving_ = 0;          // connection threads still running
    bool stopping_ = false;
    std::chrono::milliseconds slowDelay_{-1};
};

} // namespace tabbern::test
