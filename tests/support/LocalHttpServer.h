// A small HTTP/1.1 server for the link check's tests: it listens on 127.0.0.1 only, answers a
// fixed set of pages on a thread per connection and records every request, so that a test sees
// what a fetcher sent without any other machine being contacted.
//
//   /ok      200 and a cookie (a second request shows whether it came back)
//   /found   302 to /ok    /nohead  405 to HEAD, 200 to GET
//   /slow    no answer until the server stops    /long    200 and a body of 70,000 bytes
//   /big     200 and a body without end          anything else 404
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tabbern::test {

struct RecordedRequest {
    std::string method, path;
    std::map<std::string, std::string> headers; // names in lower case, the first of each name
};

class LocalHttpServer {
public:
    using Socket = std::uintptr_t; // a SOCKET on Windows, an int on POSIX

    LocalHttpServer();
    ~LocalHttpServer(); // answers every waiting /slow, closes every connection, waits for all
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
    mutable std::mutex mutex_; // also makes the server impossible to copy
    std::condition_variable changed_;
    std::vector<RecordedRequest> requests_;
    std::vector<Socket> open_; // connections being served, shut down when the server stops
    int serving_ = 0;          // connection threads still running
    bool stopping_ = false;
};

} // namespace tabbern::test
