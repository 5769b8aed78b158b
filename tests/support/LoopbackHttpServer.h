#pragma once

// A small HTTP(S) server on loopback addresses that answers by path from a
// script, for the link check's tests and benchmark. It never talks to
// anything but this machine. Every connection gets one answer and is
// closed, so the requests in progress are the connections open.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tessaly::test {

struct HttpAnswer {
    int code = 200;
    std::string location; // the Location header, when not empty
    bool refuseHead = false; // HEAD gets 405, GET gets the answer
    bool hang = false; // never answers while the server runs
    std::chrono::milliseconds delay{0};
};

class LoopbackHttpServer {
public:
    // Listens on 127.0.0.1 and, when addresses > 1, also on 127.0.0.2 and
    // on up to 127.0.0.<addresses>, all on one port. With tls it speaks
    // TLS with the certificate of "secure.test" (tests/data/tls), issued by
    // the CA in CaFile().
    explicit LoopbackHttpServer(bool tls = false, unsigned addresses = 1);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t Port() const { return port_; }
    static std::string CaFile();

    // Answers requests for path (the query left out) so; paths without an
    // answer get the default, 404 unless set.
    void Answer(const std::string& path, HttpAnswer answer);
    void SetDefault(HttpAnswer answer);

    // The most requests in progress at once for the host named (the Host
    // header without the port), or for all hosts.
    unsigned MostConcurrent(const std::string& host) const;
    unsigned MostConcurrent() const;
    // "METHOD PATH HOST" of every request, in the order they came.
    std::vector<std::string> Requests() const;
    std::string LastUserAgent() const;
    // Blocks until so many requests have come.
    void WaitForRequests(std::size_t count) const;

private:
    struct Tls;
    struct Request;
    void AcceptLoop();
    void WorkLoop();
    void Serve(int fd);
    HttpAnswer AnswerFor(const std::string& path) const;
    void Begin(const Request& request);
    void End(const Request& request);

    std::unique_ptr<Tls> tls_;
    std::vector<int> listeners_;
    int wakePipe_[2] = {-1, -1};
    uint16_t port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    std::deque<int> accepted_;
    std::map<std::string, HttpAnswer> answers_;
    HttpAnswer default_{404, {}, false, false, {}};
    std::map<std::string, unsigned> inProgress_;
    std::map<std::string, unsigned> mostInProgress_;
    unsigned allInProgress_ = 0;
    unsigned mostAllInProgress_ = 0;
    std::vector<std::string> requests_;
    std::string lastUserAgent_;

    std::thread acceptor_;
    std::vector<std::thread> workers_;
};

} // namespace tessaly::test
