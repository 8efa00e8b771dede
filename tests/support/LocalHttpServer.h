// A small HTTP/1.1 server for the link check's tests and benchmark: it listens on 127.0.0.1
// only, so that no other machine is ever contacted, and serves every connection from one
// thread. A request that carries a cookie, or another user agent than the one it is given,
// is answered 400: a fetcher's test sees a wrong header as a wrong status.
//
//   /ok      200 and a cookie (a second request shows whether it came back)
//   /found   302 to /ok    /nohead  405 to HEAD, 200 to GET
//   /slow    no answer until the server stops    /long    200 and a body of 70,000 bytes
//   /big     200 and a body without end          anything else 404
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

namespace tabbern::test {

class LocalHttpServer {
public:
    using Socket = std::uintptr_t; // a SOCKET on Windows, an int on POSIX

    explicit LocalHttpServer(std::string userAgent = {});
    ~LocalHttpServer(); // closes every connection, /slow's too
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(std::string_view path) const;
    // A port on 127.0.0.1 that nothing listens on: taken from the system, then given back.
    static int ClosedPort();

private:
    void serve(const std::string& userAgent);

    int port_ = 0; // before the listener, whose making sets it
    Socket listener_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace tabbern::test
