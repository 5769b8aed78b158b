// The link checker on any answer a server may give: the input is sent back
// as the whole answer (status line, headers, body) to every request of one
// link, so redirects lead back to it. It must not crash or hang, must give
// the link one result, and whatever it offers as a new address must be one
// the pages can carry once stored.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/collection/Project.h"
#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"

namespace {

// Answers every connection on a loopback port with the current bytes.
class RawServer {
public:
    RawServer()
        : listener_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        ::listen(listener_, 64);
        std::thread([this] { Serve(); }).detach(); // lives as long as the process
    }

    uint16_t Port() const { return port_; }

    void SetAnswer(std::string answer)
    {
        const std::lock_guard lock(mutex_);
        answer_ = std::move(answer);
    }

private:
    void Serve()
    {
        for (;;) {
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection < 0) {
                continue;
            }
            // The request is read up to its blank line, or what comes at once.
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(got));
            }
            std::string answer;
            {
                const std::lock_guard lock(mutex_);
                answer = answer_;
            }
            for (std::size_t sent = 0; sent < answer.size();) {
                const ssize_t wrote = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (wrote <= 0) {
                    break;
                }
                sent += static_cast<std::size_t>(wrote);
            }
            ::close(connection);
        }
    }

    int listener_;
    uint16_t port_ = 0;
    std::mutex mutex_;
    std::string answer_;
};

bool HasMarkup(std::string_view text)
{
    return text.find_first_of("\"<>'` \t\r\n") != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static RawServer server;
    server.SetAnswer(std::string(reinterpret_cast<const char*>(data), size));
    tessaly::LinkCheckOptions options;
    options.jobs = 2;
    options.maxRedirects = 3;
    options.timeout = std::chrono::milliseconds(300);
    options.listedNamesOnly = true; // nothing but this machine
    const std::vector<tessaly::LinkToCheck> links = {
        {"http://127.0.0.1:" + std::to_string(server.Port()) + "/page", false}};
    std::vector<tessaly::LinkCheckResult> results;
    tessaly::RunLinkCheck(links, options, [&](const tessaly::LinkCheckResult& result) { results.push_back(result); });
    if (results.size() != 1 || results[0].index != 0) {
        __builtin_trap();
    }
    const tessaly::LinkCheckResult& result = results[0];
    for (const std::string& url : {result.finalUrl, result.newUrl}) {
        for (const char c : url) {
            if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
                __builtin_trap();
            }
        }
    }
    if (result.result == tessaly::LinkResult::Moved && tessaly::CanTakeNewUrl(result.newUrl)) {
        tessaly::Project project;
        std::vector<tessaly::TLinkItem> rows(1);
        tessaly::UpdateAddresses(project, rows, {{{tessaly::ItemPlace::In::Row, 0, 0}, tessaly::LinkField::Page, result.newUrl}});
        if (HasMarkup(rows[0].Url) || rows[0].Url.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
