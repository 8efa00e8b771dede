#include "support/LocalHttpServer.h"

#include <algorithm>
#include <cctype>
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

using Socket = LocalHttpServer::Socket;
constexpr Socket kNoSocket = ~Socket{0}; // INVALID_SOCKET, and -1 on POSIX
#ifdef _WIN32
constexpr int kSendFlags = 0, kShutBoth = SD_BOTH;
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
// A client that hangs up while the body of /big is being sent must not end the test program.
constexpr int kSendFlags = MSG_NOSIGNAL, kShutBoth = SHUT_RDWR;
int closesocket(Socket s) {
    return close(s);
}
void StartSockets() {}
#endif

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket bound to 127.0.0.1 on a port the system chooses, and that port.
Socket BoundSocket(int& port) {
    StartSockets();
    const Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (s == kNoSocket || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a socket to 127.0.0.1");
    port = ntohs(address.sin_port);
    return s;
}

bool SendAll(Socket s, std::string_view data) {
    while (!data.empty()) {
        const int sent = static_cast<int>(
            send(s, data.data(), static_cast<int>(std::min<std::size_t>(data.size(), 1 << 16)),
                 kSendFlags));
        if (sent <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// The request line and headers of one request; false when the client went before sending them.
bool ReadRequest(Socket s, RecordedRequest& request) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const int got = static_cast<int>(recv(s, buffer, sizeof buffer, 0));
        if (got <= 0 || head.size() > 64 * 1024)
            return false;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    head.resize(head.find("\r\n\r\n") + 2);
    const std::size_t space1 = head.find(' '), space2 = head.find(' ', space1 + 1);
    if (space2 == std::string::npos)
        return false;
    request.method = head.substr(0, space1);
    request.path = head.substr(space1 + 1, space2 - space1 - 1);
    for (std::size_t at = head.find("\r\n") + 2, end; at < head.size(); at = end + 2) {
        end = head.find("\r\n", at);
        const std::size_t colon = head.find(':', at);
        if (colon >= end)
            continue;
        std::string name = head.substr(at, colon - at);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const std::size_t value = std::min(head.find_first_not_of(" \t", colon + 1), end);
        request.headers.emplace(name, head.substr(value, end - value));
    }
    return true;
}

std::string Response(std::string_view status, std::string_view extraHeaders, std::string_view body,
                     bool withBody) {
    return "HTTP/1.1 " + std::string(status) + "\r\n" + std::string(extraHeaders) +
           "Content-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + std::string(withBody ? body : "");
}

} // namespace

LocalHttpServer::LocalHttpServer() : listener_(BoundSocket(port_)) {
    if (listen(listener_, SOMAXCONN) != 0) {
        closesocket(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    acceptor_ = std::thread([this] {
        for (;;) {
            const Socket connection = accept(listener_, nullptr, nullptr);
            std::lock_guard lock(mutex_);
            if (stopping_) {
                if (connection != kNoSocket)
                    closesocket(connection);
                return;
            }
            if (connection == kNoSocket)
                continue;
            open_.push_back(connection);
            ++serving_;
            // Detached: the destructor waits for serving_ to drop to zero instead of joining,
            // so that a thousand finished connections leave nothing behind.
            std::thread([this, connection] { serve(connection); }).detach();
        }
    });
}

LocalHttpServer::~LocalHttpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const Socket s : open_)
            shutdown(s, kShutBoth);
    }
    changed_.notify_all();
    // The acceptor waits in accept(): one more connection wakes it to see that the server stops.
    const Socket wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = Loopback(port_);
    connect(wake, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    acceptor_.join();
    closesocket(wake);
    closesocket(listener_);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return serving_ == 0; });
}

std::string LocalHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<RecordedRequest> LocalHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int LocalHttpServer::ClosedPort() {
    int port = 0;
    closesocket(BoundSocket(port));
    return port;
}

void LocalHttpServer::serve(Socket connection) {
    if (RecordedRequest request; ReadRequest(connection, request)) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const bool body = request.method != "HEAD";
        const std::string& path = request.path;
        if (path == "/slow") {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_; });
        } else if (path == "/big") {
            // No length and no end: only the closing of the connection would end the body.
            bool open = SendAll(connection, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            while (open && body)
                open = SendAll(connection, std::string(1 << 16, 'x'));
        } else {
            // clang-format off
            SendAll(connection,
                path == "/ok" ? Response("200 OK", "Set-Cookie: visitor=1; Path=/\r\n", "ok", body)
                : path == "/found" ? Response("302 Found", "Location: /ok\r\n", "", body)
                : path == "/nohead" && body ? Response("200 OK", "", "get only", body)
                : path == "/nohead" ? Response("405 Method Not Allowed", "Allow: GET\r\n", "", body)
                : path == "/long" ? Response("200 OK", "", std::string(70000, 'x'), body)
                : Response("404 Not Found", "", "not found", body));
            // clang-format on
        }
    }
    std::lock_guard lock(mutex_);
    open_.erase(std::find(open_.begin(), open_.end(), connection));
    closesocket(connection);
    --serving_;
    changed_.notify_all();
}

} // namespace tabbern::test
