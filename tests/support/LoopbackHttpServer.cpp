#include "support/LoopbackHttpServer.h"

#include <csignal>
#include <cstring>
#include <stdexcept>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#ifndef TESSALY_TEST_DATA_DIR
#error "TESSALY_TEST_DATA_DIR must name tests/data"
#endif

namespace tessaly::test {

namespace {

constexpr unsigned kWorkers = 48;
constexpr std::size_t kMaxRequest = 16 * 1024;

const char* Reason(int code)
{
    switch (code) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 410: return "Gone";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::string HeaderValue(const std::string& head, const std::string& name)
{
    std::size_t line = head.find("\r\n");
    while (line != std::string::npos && line + 2 < head.size()) {
        const std::size_t end = head.find("\r\n", line + 2);
        const std::string header = head.substr(line + 2, end - line - 2);
        const std::size_t colon = header.find(':');
        if (colon != std::string::npos && strncasecmp(header.c_str(), name.c_str(), name.size()) == 0
            && colon == name.size()) {
            const std::size_t value = header.find_first_not_of(' ', colon + 1);
            return value == std::string::npos ? std::string() : header.substr(value);
        }
        line = end;
    }
    return {};
}

} // namespace

struct LoopbackHttpServer::Tls {
    SSL_CTX* context = nullptr;
    ~Tls() { SSL_CTX_free(context); }
};

struct LoopbackHttpServer::Request {
    std::string method;
    std::string path;
    std::string host;
};

// One accepted connection, plain or TLS.
class Connection {
public:
    Connection(int fd, SSL_CTX* tls)
        : fd_(fd)
    {
        if (tls != nullptr) {
            ssl_ = SSL_new(tls);
            SSL_set_fd(ssl_, fd_);
            if (SSL_accept(ssl_) != 1) {
                SSL_free(ssl_);
                ssl_ = nullptr;
                failed_ = true;
            }
        }
    }
    ~Connection()
    {
        if (ssl_ != nullptr) {
            SSL_shutdown(ssl_);
            SSL_free(ssl_);
        }
        ::close(fd_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Failed() const { return failed_; }

    // True once the client has closed its end (it gave up waiting).
    bool PeerClosed() const
    {
        char byte = 0;
        return ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
    }

    // The request head; empty when the client sent none (or TLS to a plain
    // port, which is closed at once).
    std::string ReadHead()
    {
        std::string head;
        char buffer[2048];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequest) {
            const long got
                = ssl_ != nullptr ? SSL_read(ssl_, buffer, sizeof buffer) : ::recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) {
                return {};
            }
            head.append(buffer, static_cast<std::size_t>(got));
            if (ssl_ == nullptr && head.front() == '\x16') {
                return {};
            }
        }
        return head;
    }

    void Write(const std::string& data)
    {
        if (ssl_ != nullptr) {
            SSL_write(ssl_, data.data(), static_cast<int>(data.size()));
        } else {
            std::size_t sent = 0;
            while (sent < data.size()) {
                const long n = ::send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) {
                    return;
                }
                sent += static_cast<std::size_t>(n);
            }
        }
    }

private:
    int fd_;
    SSL* ssl_ = nullptr;
    bool failed_ = false;
};

LoopbackHttpServer::LoopbackHttpServer(bool tls, unsigned addresses)
{
    std::signal(SIGPIPE, SIG_IGN);
    if (tls) {
        tls_ = std::make_unique<Tls>();
        tls_->context = SSL_CTX_new(TLS_server_method());
        const std::string directory = TESSALY_TEST_DATA_DIR "/tls/";
        if (tls_->context == nullptr
            || SSL_CTX_use_certificate_chain_file(tls_->context, (directory + "server.pem").c_str()) != 1
            || SSL_CTX_use_PrivateKey_file(tls_->context, (directory + "server.key").c_str(), SSL_FILETYPE_PEM) != 1) {
            throw std::runtime_error("the test certificate cannot be loaded");
        }
    }
    // All addresses on one port: the first takes a free one, the others
    // follow it; on a clash everything starts again on a new port.
    for (int attempt = 0; attempt < 20 && listeners_.size() < addresses; ++attempt) {
        for (const int fd : listeners_) {
            ::close(fd);
        }
        listeners_.clear();
        port_ = 0;
        for (unsigned i = 1; i <= addresses; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const int yes = 1;
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(port_);
            address.sin_addr.s_addr = htonl(0x7F000000u | i);
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 256) != 0) {
                ::close(fd);
                break;
            }
            if (port_ == 0) {
                socklen_t length = sizeof address;
                ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
                port_ = ntohs(address.sin_port);
            }
            listeners_.push_back(fd);
        }
    }
    if (listeners_.size() < addresses || ::pipe2(wakePipe_, O_CLOEXEC) != 0) {
        throw std::runtime_error("the loopback server cannot listen");
    }
    acceptor_ = std::thread([this] { AcceptLoop(); });
    for (unsigned i = 0; i < kWorkers; ++i) {
        workers_.emplace_back([this] { WorkLoop(); });
    }
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    const char stop = 0;
    [[maybe_unused]] const auto written = ::write(wakePipe_[1], &stop, 1);
    acceptor_.join();
    for (std::thread& worker : workers_) {
        worker.join();
    }
    for (const int fd : accepted_) {
        ::close(fd);
    }
    for (const int fd : listeners_) {
        ::close(fd);
    }
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

std::string LoopbackHttpServer::CaFile()
{
    return TESSALY_TEST_DATA_DIR "/tls/ca.pem";
}

void LoopbackHttpServer::Answer(const std::string& path, HttpAnswer answer)
{
    std::lock_guard lock(mutex_);
    answers_[path] = std::move(answer);
}

void LoopbackHttpServer::SetDefault(HttpAnswer answer)
{
    std::lock_guard lock(mutex_);
    default_ = std::move(answer);
}

unsigned LoopbackHttpServer::MostConcurrent(const std::string& host) const
{
    std::lock_guard lock(mutex_);
    const auto found = mostInProgress_.find(host);
    return found == mostInProgress_.end() ? 0 : found->second;
}

unsigned LoopbackHttpServer::MostConcurrent() const
{
    std::lock_guard lock(mutex_);
    return mostAllInProgress_;
}

std::vector<std::string> LoopbackHttpServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string LoopbackHttpServer::LastUserAgent() const
{
    std::lock_guard lock(mutex_);
    return lastUserAgent_;
}

void LoopbackHttpServer::WaitForRequests(std::size_t count) const
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return requests_.size() >= count || stopping_; });
}

void LoopbackHttpServer::AcceptLoop()
{
    std::vector<pollfd> watched;
    for (const int fd : listeners_) {
        watched.push_back({fd, POLLIN, 0});
    }
    watched.push_back({wakePipe_[0], POLLIN, 0});
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            continue;
        }
        if (watched.back().revents != 0) {
            return;
        }
        for (std::size_t i = 0; i + 1 < watched.size(); ++i) {
            if ((watched[i].revents & POLLIN) == 0) {
                continue;
            }
            const int client = ::accept4(watched[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                // A client that connects and says nothing must not keep a
                // worker from stopping.
                const timeval wait{10, 0};
                ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
                std::lock_guard lock(mutex_);
                accepted_.push_back(client);
                changed_.notify_all();
            }
        }
    }
}

void LoopbackHttpServer::WorkLoop()
{
    for (;;) {
        int fd = -1;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !accepted_.empty(); });
            if (stopping_) {
                return;
            }
            fd = accepted_.front();
            accepted_.pop_front();
        }
        Serve(fd);
    }
}

HttpAnswer LoopbackHttpServer::AnswerFor(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    const auto found = answers_.find(path);
    return found == answers_.end() ? default_ : found->second;
}

void LoopbackHttpServer::Begin(const Request& request)
{
    std::lock_guard lock(mutex_);
    requests_.push_back(request.method + ' ' + request.path + ' ' + request.host);
    unsigned& host = inProgress_[request.host];
    ++host;
    ++allInProgress_;
    mostInProgress_[request.host] = std::max(mostInProgress_[request.host], host);
    mostAllInProgress_ = std::max(mostAllInProgress_, allInProgress_);
    changed_.notify_all();
}

void LoopbackHttpServer::End(const Request& request)
{
    std::lock_guard lock(mutex_);
    --inProgress_[request.host];
    --allInProgress_;
}

void LoopbackHttpServer::Serve(int fd)
{
    Connection connection(fd, tls_ ? tls_->context : nullptr);
    if (connection.Failed()) {
        return;
    }
    const std::string head = connection.ReadHead();
    const std::size_t methodEnd = head.find(' ');
    const std::size_t targetEnd = head.find(' ', methodEnd + 1);
    if (head.empty() || methodEnd == std::string::npos || targetEnd == std::string::npos) {
        return;
    }
    Request request;
    request.method = head.substr(0, methodEnd);
    const std::string target = head.substr(methodEnd + 1, targetEnd - methodEnd - 1);
    request.path = target.substr(0, target.find('?'));
    request.host = HeaderValue(head, "Host");
    request.host = request.host.substr(0, request.host.rfind(':'));
    {
        std::lock_guard lock(mutex_);
        lastUserAgent_ = HeaderValue(head, "User-Agent");
    }
    const HttpAnswer answer = AnswerFor(request.path);
    Begin(request);
    {
        std::unique_lock lock(mutex_);
        if (answer.hang) {
            // Until the client gives up, so that it holds no worker after.
            while (!stopping_ && !connection.PeerClosed()) {
                changed_.wait_for(lock, std::chrono::milliseconds(20));
            }
        } else if (answer.delay.count() > 0) {
            changed_.wait_for(lock, answer.delay, [this] { return stopping_; });
        }
    }
    const bool headRefused = answer.refuseHead && request.method == "HEAD";
    const int code = headRefused ? 405 : answer.code;
    const std::string body = "<html><body>" + std::to_string(code) + "</body></html>\n";
    std::string response = "HTTP/1.1 " + std::to_string(code) + ' ' + Reason(code) + "\r\n";
    response
        += "Content-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n";
    if (!answer.location.empty() && !headRefused) {
        response += "Location: " + answer.location + "\r\n";
    }
    if (headRefused) {
        response += "Allow: GET\r\n";
    }
    response += "\r\n";
    if (request.method != "HEAD") {
        response += body;
    }
    // The request ends as the answer goes out: a client may start its next
    // one as soon as it has the answer, before this thread gets further.
    End(request);
    connection.Write(response);
}

} // namespace tessaly::test
