// A small HTTP server on 127.0.0.1 for tests of the fetching: it answers each request with
// what the test's handler returns, one connection at a time, and keeps the requests. An
// answer can also misbehave: trickle its bytes or send none at all; the server still stops
// at once when the test ends, whatever it is doing.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vd::test {

struct HttpRequest {
    std::string target;                          // path and query
    std::map<std::string, std::string> headers;  // names in lower case
};

struct HttpReply {
    int status = 200;
    std::string body;
    std::vector<std::string> headers;  // "Name: value"
    bool cutShort = false;             // announce more bytes than are sent, then close
    // Drip: `dripBytes` bytes of the answer every `dripGap`, until the client hangs up.
    // Stall: not one byte, not even the status line, until the client hangs up.
    enum class Pace { whole, drip, stall } pace = Pace::whole;
    std::size_t dripBytes = 1;
    std::chrono::milliseconds dripGap{100};
};

class LocalHttpServer {
  public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit LocalHttpServer(Handler handler) : handler_(std::move(handler)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (listener_ < 0) throw std::runtime_error("no socket");
        const int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        socklen_t len = sizeof addr;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(listener_, 16) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            ::close(listener_);
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    // Every wait of the serving thread is short, so it sees the stop within 50 ms.
    ~LocalHttpServer() {
        stopping_ = true;
        thread_.join();
        ::close(listener_);
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::vector<HttpRequest> requests() const {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

    // Connections accepted, whether or not a request came over them.
    int connections() const { return connections_; }

  private:
    void serve() {
        while (!stopping_) {
            if (!waitFor(listener_, POLLIN, std::chrono::milliseconds(50))) continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            ++connections_;
            answer(client);
            ::close(client);
        }
    }

    // True when `fd` is ready for `events` within `wait`; false on a timeout or a stop.
    bool waitFor(int fd, short events, std::chrono::milliseconds wait) const {
        if (stopping_) return false;
        pollfd p{fd, events, 0};
        return ::poll(&p, 1, static_cast<int>(wait.count())) > 0 && !stopping_;
    }

    // Waits `wait`; false as soon as the client hung up or the server stops.
    bool clientStays(int client, std::chrono::milliseconds wait) const {
        const auto until = std::chrono::steady_clock::now() + wait;
        do {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (waitFor(client, POLLIN,
                        std::clamp(left, std::chrono::milliseconds(0),
                                   std::chrono::milliseconds(50)))) {
                char byte;
                if (::recv(client, &byte, 1, MSG_PEEK | MSG_DONTWAIT) <= 0) return false;
            }
            if (stopping_) return false;
        } while (std::chrono::steady_clock::now() < until);
        return true;
    }

    bool sendAll(int client, const char* data, std::size_t size) const {
        for (std::size_t sent = 0; sent < size;) {
            if (!waitFor(client, POLLOUT, std::chrono::milliseconds(50))) {
                if (stopping_) return false;
                continue;
            }
            const ssize_t n = ::send(client, data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    void answer(int client) {
        std::string head;
        char buf[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            if (!waitFor(client, POLLIN, std::chrono::milliseconds(50))) {
                if (stopping_) return;
                continue;
            }
            const ssize_t n = ::recv(client, buf, sizeof buf, 0);
            if (n <= 0) return;
            head.append(buf, static_cast<std::size_t>(n));
        }
        const HttpRequest request = parse(head);
        {
            const std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        const HttpReply reply = handler_(request);
        std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " X\r\n";
        for (const std::string& h : reply.headers) out += h + "\r\n";
        const std::size_t announced = reply.body.size() + (reply.cutShort ? 1000 : 0);
        out += "Content-Length: " + std::to_string(announced) + "\r\nConnection: close\r\n\r\n";
        out += reply.body;
        switch (reply.pace) {
            case HttpReply::Pace::whole:
                sendAll(client, out.data(), out.size());
                return;
            case HttpReply::Pace::stall:
                while (clientStays(client, std::chrono::milliseconds(1000))) {
                }
                return;
            case HttpReply::Pace::drip:
                for (std::size_t at = 0; at < out.size(); at += reply.dripBytes) {
                    const std::size_t n = std::min(reply.dripBytes, out.size() - at);
                    if (!sendAll(client, out.data() + at, n) || !clientStays(client, reply.dripGap))
                        return;
                }
                return;
        }
    }

    static HttpRequest parse(const std::string& head) {
        HttpRequest r;
        const std::size_t lineEnd = head.find("\r\n");
        const std::string first = head.substr(0, lineEnd);
        const std::size_t a = first.find(' ');
        const std::size_t b = first.find(' ', a + 1);
        r.target = first.substr(a + 1, b - a - 1);
        std::size_t pos = lineEnd + 2;
        for (;;) {
            const std::size_t end = head.find("\r\n", pos);
            if (end == std::string::npos || end == pos) break;
            const std::string line = head.substr(pos, end - pos);
            const std::size_t colon = line.find(':');
            if (colon != std::string::npos) {
                std::string name = line.substr(0, colon);
                for (char& c : name)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                const std::size_t v = line.find_first_not_of(' ', colon + 1);
                r.headers[name] = v == std::string::npos ? "" : line.substr(v);
            }
            pos = end + 2;
        }
        return r;
    }

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
};

}  // namespace vd::test
