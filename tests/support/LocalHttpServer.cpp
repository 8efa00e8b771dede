#include "support/LocalHttpServer.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tabbern::test {
namespace {

using Socket = LocalHttpServer::Socket;
constexpr Socket kNoSocket = ~Socket{0}; // INVALID_SOCKET, and -1 on POSIX
#ifdef _WIN32
constexpr int kSendFlags = 0;
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
// A client that hangs up during a long body must not end the test program.
constexpr int kSendFlags = MSG_NOSIGNAL;
int closesocket(Socket s) {
    return close(static_cast<int>(s));
}
void StartSockets() {}
#endif

// A socket bound to 127.0.0.1 on a port the system chooses, and that port.
Socket BoundSocket(int& port) {
    StartSockets();
    const Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (s == kNoSocket || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a socket to 127.0.0.1");
    port = ntohs(address.sin_port);
    return s;
}

// The answer to a request's head; empty for /slow, which gets none.
std::string Answer(std::string_view head, const std::string& userAgent) {
    std::string lower(head);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t agent = lower.find("\r\nuser-agent: "), space = head.find(' ');
    const std::string_view path = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
    const bool body = !head.starts_with("HEAD ");
    const auto response = [body](std::string_view status, std::string_view headers,
                                 std::string_view text) {
        return "HTTP/1.1 " + std::string(status) + "\r\n" + std::string(headers) +
               "Content-Type: text/plain\r\nContent-Length: " + std::to_string(text.size()) +
               "\r\nConnection: close\r\n\r\n" + std::string(body ? text : "");
    };
    if (lower.find("\r\ncookie:") != std::string::npos ||
        (!userAgent.empty() &&
         (agent == std::string::npos ||
          head.substr(agent + 14, userAgent.size() + 2) != userAgent + "\r\n")))
        return response("400 Bad Request", "", "a cookie or another user agent");
    // clang-format off
    return path == "/slow" ? ""
        // No length, and the connection stays open: the body does not end.
        : path == "/big" ? "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(1000, 'x')
        : path == "/ok" ? response("200 OK", "Set-Cookie: visitor=1; Path=/\r\n", "ok")
        : path == "/found" ? response("302 Found", "Location: /ok\r\n", "")
        : path == "/nohead" && body ? response("200 OK", "", "get only")
        : path == "/nohead" ? response("405 Method Not Allowed", "Allow: GET\r\n", "")
        : path == "/long" ? response("200 OK", "", std::string(70000, 'x'))
        : response("404 Not Found", "", "not found");
    // clang-format on
}

} // namespace

LocalHttpServer::LocalHttpServer(std::string userAgent) : listener_(BoundSocket(port_)) {
    if (listen(listener_, SOMAXCONN) != 0) {
        closesocket(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    thread_ = std::thread([this, userAgent = std::move(userAgent)] { serve(userAgent); });
}

LocalHttpServer::~LocalHttpServer() {
    stopping_ = true;
    thread_.join();
}

std::string LocalHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

int LocalHttpServer::ClosedPort() {
    int port = 0;
    closesocket(BoundSocket(port));
    return port;
}

// One loop over every connection: a request is answered once its head is in.
void LocalHttpServer::serve(const std::string& userAgent) {
    struct Connection {
        Socket socket;
        std::string head;
        bool answered = false, open = true;
    };
    std::vector<Connection> connections;
    while (!stopping_) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        Socket highest = listener_;
        for (const Connection& c : connections) {
            FD_SET(c.socket, &readable);
            highest = std::max(highest, c.socket);
        }
        timeval wait{0, 20000}; // how soon the destructor is heard
        if (select(static_cast<int>(highest + 1), &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        if (FD_ISSET(listener_, &readable))
            if (const Socket s = accept(listener_, nullptr, nullptr); s != kNoSocket)
                connections.push_back({s, {}});
        for (Connection& c : connections) {
            char buffer[4096];
            if (!FD_ISSET(c.socket, &readable))
                continue;
            const int got = static_cast<int>(recv(c.socket, buffer, sizeof buffer, 0));
            if (got <= 0 || c.head.size() > 64 * 1024) {
                c.open = false;
            } else if (!c.answered) {
                c.head.append(buffer, static_cast<std::size_t>(got));
                if (const std::size_t end = c.head.find("\r\n\r\n"); end != std::string::npos) {
                    const std::string answer = Answer(c.head.substr(0, end + 2), userAgent);
                    // Blocking: the whole answer goes, or the client has gone.
                    send(c.socket, answer.data(), static_cast<int>(answer.size()), kSendFlags);
                    c.answered = true;
                    // No answer (/slow) or one without a length (/big) keeps the connection.
                    c.open = answer.find("Content-Length") == std::string::npos;
                }
            }
        }
        for (Connection& c : connections)
            if (!c.open)
                closesocket(c.socket);
        std::erase_if(connections, [](const Connection& c) { return !c.open; });
    }
    for (const Connection& c : connections)
        closesocket(c.socket);
    closesocket(listener_);
}

} // namespace tabbern::test
