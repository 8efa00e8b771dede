#include "support/LocalHttpServer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tabbern::test {
namespace {

#ifdef _WIN32
constexpr LocalHttpServer::Socket kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
void CloseSocket(LocalHttpServer::Socket s) {
    closesocket(static_cast<SOCKET>(s));
}
void ShutDown(LocalHttpServer::Socket s) {
    shutdown(static_cast<SOCKET>(s), SD_BOTH);
}
using Native = SOCKET;
// Winsock is started before the first socket and stays for the whole test program.
void StartSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        throw std::runtime_error("cannot start Winsock");
}
#else
constexpr LocalHttpServer::Socket kNoSocket = static_cast<LocalHttpServer::Socket>(-1);
// A client that hangs up while the body of /big is being sent must not end the test program.
constexpr int kSendFlags = MSG_NOSIGNAL;
void CloseSocket(LocalHttpServer::Socket s) {
    close(static_cast<int>(s));
}
void ShutDown(LocalHttpServer::Socket s) {
    shutdown(static_cast<int>(s), SHUT_RDWR);
}
using Native = int;
void StartSockets() {}
#endif

Native N(LocalHttpServer::Socket s) {
    return static_cast<Native>(s);
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket bound to 127.0.0.1 on a port the system chooses, and that port.
LocalHttpServer::Socket BoundSocket(int& port) {
    const Native s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (static_cast<LocalHttpServer::Socket>(s) == kNoSocket ||
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a socket to 127.0.0.1");
    port = ntohs(address.sin_port);
    return static_cast<LocalHttpServer::Socket>(s);
}

bool SendAll(LocalHttpServer::Socket s, std::string_view data) {
    while (!data.empty()) {
        const int sent = static_cast<int>(
            send(N(s), data.data(), static_cast<int>(std::min<std::size_t>(data.size(), 1 << 16)),
                 kSendFlags));
        if (sent <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return std::string(s);
}

// The request line and headers of one request; false when the client went before sending them.
bool ReadRequest(LocalHttpServer::Socket s, RecordedRequest& request) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const int got = static_cast<int>(recv(N(s), buffer, sizeof buffer, 0));
        if (got <= 0 || head.size() > 64 * 1024)
            return false;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    head.resize(head.find("\r\n\r\n"));
    std::size_t lineEnd = head.find("\r\n");
    const std::string line = head.substr(0, lineEnd);
    const std::size_t space1 = line.find(' ');
    const std::size_t space2 = line.find(' ', space1 + 1);
    if (space1 == std::string::npos || space2 == std::string::npos)
        return false;
    request.method = line.substr(0, space1);
    request.path = line.substr(space1 + 1, space2 - space1 - 1);
    while (lineEnd != std::string::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string header = head.substr(start, lineEnd - start);
        const std::size_t colon = header.find(':');
        if (colon != std::string::npos)
            request.headers.emplace_back(header.substr(0, colon),
                                         Trimmed(std::string_view(header).substr(colon + 1)));
    }
    return true;
}

std::string Response(int status, std::string_view reason, std::string_view extraHeaders,
                     std::string_view body, bool withBody) {
    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) + "\r\n";
    out += extraHeaders;
    out += "Content-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n";
    if (withBody)
        out += body;
    return out;
}

} // namespace

const std::string* RecordedRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (SameName(key, name))
            return &value;
    return nullptr;
}

LocalHttpServer::LocalHttpServer() {
    StartSockets();
    listener_ = BoundSocket(port_);
    if (listen(N(listener_), SOMAXCONN) != 0) {
        CloseSocket(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    acceptor_ = std::thread([this] { acceptLoop(); });
}

LocalHttpServer::~LocalHttpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const Socket s : open_)
            ShutDown(s);
    }
    changed_.notify_all();
    // The acceptor waits in accept(): one more connection wakes it to see that the server stops.
    const Native wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = Loopback(port_);
    connect(wake, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    acceptor_.join();
    CloseSocket(static_cast<Socket>(wake));
    CloseSocket(listener_);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return serving_ == 0; });
}

std::string LocalHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void LocalHttpServer::setSlowDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    slowDelay_ = delay;
}

std::vector<RecordedRequest> LocalHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int LocalHttpServer::ClosedPort() {
    StartSockets();
    int port = 0;
    CloseSocket(BoundSocket(port));
    return port;
}

void LocalHttpServer::acceptLoop() {
    for (;;) {
        const Native accepted = accept(N(listener_), nullptr, nullptr);
        const auto connection = static_cast<Socket>(accepted);
        std::lock_guard lock(mutex_);
        if (stopping_) {
            if (connection != kNoSocket)
                CloseSocket(connection);
            return;
        }
        if (connection == kNoSocket)
            continue;
        open_.push_back(connection);
        ++serving_;
        // Detached: the destructor waits for serving_ to drop to zero instead of joining, so
        // that a thousand finished connections leave nothing behind.
        std::thread([this, connection] { serve(connection); }).detach();
    }
}

bool LocalHttpServer::waitForSlow() {
    std::unique_lock lock(mutex_);
    if (slowDelay_.count() < 0)
        changed_.wait(lock, [this] { return stopping_; });
    else
        changed_.wait_for(lock, slowDelay_, [this] { return stopping_; });
    return !stopping_;
}

void LocalHttpServer::serve(Socket connection) {
    RecordedRequest request;
    if (ReadRequest(connection, request)) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const bool body = request.method != "HEAD";
        const std::string& path = request.path;
        if (path == "/ok") {
            SendAll(connection,
                    Response(200, "OK", "Set-Cookie: visitor=1; Path=/\r\n", "ok", body));
        } else if (path == "/moved" || path == "/found") {
            const bool moved = path == "/moved";
            SendAll(connection, Response(moved ? 301 : 302, moved ? "Moved Permanently" : "Found",
                                         "Location: /ok\r\n", "", body));
        } else if (path == "/nohead") {
            SendAll(connection,
                    body ? Response(200, "OK", "", "get only", true)
                         : Response(405, "Method Not Allowed", "Allow: GET\r\n", "", false));
        } else if (path == "/slow") {
            if (waitForSlow())
                SendAll(connection, Response(200, "OK", "", "late", body));
        } else if (path == "/long") {
            SendAll(connection, Response(200, "OK", "", std::string(70000, 'x'), body));
        } else if (path == "/big") {
            // No length and no end: only the closing of the connection would end the body.
            if (SendAll(connection, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                                    "Connection: close\r\n\r\n") &&
                body) {
                const std::string chunk(1 << 16, 'x');
                while (SendAll(connection, chunk)) {
                }
            }
        } else {
            SendAll(connection, Response(404, "Not Found", "", "not found", body));
        }
    }
    std::lock_guard lock(mutex_);
    open_.erase(std::find(open_.begin(), open_.end(), connection));
    CloseSocket(connection);
    --serving_;
    changed_.notify_all();
}

} // namespace tabbern::test
