// A small HTTP/1.1 server for the link check's tests: it listens on 127.0.0.1 only, answers a
// fixed set of pages on a thread per connection and records every request, so that a test sees
// what a fetcher sent without any other machine being contacted.
//
//   /ok      200 and a cookie (a second request shows whether it came back)
//   /moved   301 to /ok    /found  302 to /ok    /nohead  405 to HEAD, 200 to GET
//   /slow    no answer until the server stops    /long    200 and a body of 70,000 bytes
//   /big     200 and a body without end          anything else 404
#pragma once

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

    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(std::string_view path) const;
    // Every complete request received so far, in the order they came in.
    std::vector<RecordedRequest> requests() const;
    // A port on 127.0.0.1 that nothing listens on: taken from the system, then given back.
    static int ClosedPort();

private:
    void serve(Socket connection);

    int port_ = 0; // before the listener, whose making sets it
    Socket listener_;
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<RecordedRequest> requests_;
    std::vector<Socket> open_; // connections being served, shut down when the server stops
    int serving_ = 0;          // connection threads still running
    bool stopping_ = false;
};

} // namespace tabbern::test
