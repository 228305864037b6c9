// A small HTTP server on 127.0.0.1 for tests of the fetching: it answers each request with
// what the test's handler returns, one connection at a time, and keeps the requests.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
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

    ~LocalHttpServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::vector<HttpRequest> requests() const {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    void serve() {
        while (!stopping_) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            answer(client);
            ::close(client);
        }
    }

    void answer(int client) {
        std::string head;
        char buf[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
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
        for (std::size_t sent = 0; sent < out.size();) {
            const ssize_t n = ::send(client, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
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
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
};

}  // namespace vd::test
