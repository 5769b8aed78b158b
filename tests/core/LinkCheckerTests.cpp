// The link checker against a loopback server: every result it can give,
// the limits on requests in flight, and how it stops.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"

using namespace tessaly;
using tessaly::test::HttpAnswer;
using tessaly::test::LoopbackHttpServer;

namespace {

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class ClosedPort {
public:
    ClosedPort()
        : fd_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~ClosedPort() { ::close(fd_); }
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    uint16_t Port() const { return port_; }

private:
    int fd_;
    uint16_t port_ = 0;
};

class LinkCheckerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Requests to the test server go straight to it.
        for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
    }

    LinkCheckerTest()
    {
        const std::string plain = std::to_string(server_.Port());
        const std::string secure = std::to_string(tlsServer_.Port());
        options_.resolve = {"site.test:" + plain + ":127.0.0.1", "other.test:" + plain + ":127.0.0.1",
            "busy.test:" + plain + ":127.0.0.1", "secure.test:" + secure + ":127.0.0.1",
            "wrong.test:" + secure + ":127.0.0.1"};
        options_.listedNamesOnly = true;
        options_.caFile = LoopbackHttpServer::CaFile();
        options_.timeout = std::chrono::milliseconds(500);
        for (LoopbackHttpServer* server : {&server_, &tlsServer_}) {
            server->Answer("/ok", {});
            server->Answer("/temporary", {302, "/ok"});
        }
        server_.Answer("/moved", {301, Site("/ok")});
        server_.Answer("/moved308", {308, "/ok"});
        server_.Answer("/moved-https", {301, Secure("/ok")});
        server_.Answer("/moved-then-temporary", {301, Site("/temporary")});
        server_.Answer("/temporary-then-moved", {302, "/moved"});
        server_.Answer("/moved-to-missing", {301, "/missing"});
        server_.Answer("/loop", {301, "/loop"});
        server_.Answer("/gone", {410, {}});
        server_.Answer("/error", {500, {}});
        server_.Answer("/no-head", {200, {}, true});
        server_.Answer("/slow", {200, {}, false, true});
    }

    std::string Site(const std::string& path) const
    {
        return "http://site.test:" + std::to_string(server_.Port()) + path;
    }
    std::string Secure(const std::string& path, const std::string& host = "secure.test") const
    {
        return "https://" + host + ":" + std::to_string(tlsServer_.Port()) + path;
    }

    // Checks the links; the results in the order of the links.
    std::vector<LinkCheckResult> Check(const std::vector<LinkToCheck>& links, LinkCheckSummary* summary = nullptr)
    {
        std::vector<LinkCheckResult> results(links.size());
        std::set<std::size_t> reported;
        const LinkCheckSummary done = RunLinkCheck(links, options_, [&](const LinkCheckResult& result) {
            EXPECT_TRUE(reported.insert(result.index).second) << "reported twice: " << result.index;
            results.at(result.index) = result;
        });
        EXPECT_EQ(done.checked, reported.size());
        if (summary != nullptr) {
            *summary = done;
        }
        return results;
    }

    LoopbackHttpServer server_;
    LoopbackHttpServer tlsServer_{true};
    LinkCheckOptions options_;
};

TEST_F(LinkCheckerTest, EveryResultFromTheServer)
{
    ClosedPort closed;
    struct Case {
        std::string url;
        LinkResult result;
        long code;
        std::string finalUrl; // empty: the url itself
        std::string newUrl;
        std::size_t hops;
    };
    const std::vector<Case> cases = {
        {Site("/ok"), LinkResult::Ok, 200, {}, {}, 0},
        {Site("/moved"), LinkResult::Moved, 200, Site("/ok"), Site("/ok"), 1},
        {Site("/moved308"), LinkResult::Moved, 200, Site("/ok"), Site("/ok"), 1},
        {Site("/moved-https"), LinkResult::Moved, 200, Secure("/ok"), Secure("/ok"), 1},
        {Site("/temporary"), LinkResult::Ok, 200, Site("/ok"), {}, 1},
        // Only the permanent steps at the start count as the new address.
        {Site("/moved-then-temporary"), LinkResult::Moved, 200, Site("/ok"), Site("/temporary"), 2},
        {Site("/temporary-then-moved"), LinkResult::Ok, 200, Site("/ok"), {}, 2},
        {Site("/moved-to-missing"), LinkResult::ClientError, 404, Site("/missing"), {}, 1},
        {Site("/loop"), LinkResult::TooManyRedirects, 301, Site("/loop"), {}, 11},
        {Site("/missing"), LinkResult::ClientError, 404, {}, {}, 0},
        {Site("/gone"), LinkResult::ClientError, 410, {}, {}, 0},
        {Site("/error"), LinkResult::ServerError, 500, {}, {}, 0},
        {Site("/no-head"), LinkResult::Ok, 200, {}, {}, 0},
        {Site("/slow"), LinkResult::Timeout, 0, {}, {}, 0},
        {"http://127.0.0.1:" + std::to_string(closed.Port()) + "/", LinkResult::Refused, 0, {}, {}, 0},
        {"http://nowhere.test/", LinkResult::DnsFailure, 0, {}, {}, 0},
        // An address outside this machine is never connected to in tests.
        {"http://192.0.2.1/", LinkResult::Refused, 0, {}, {}, 0},
        {Secure("/ok"), LinkResult::Ok, 200, {}, {}, 0},
        {Secure("/temporary"), LinkResult::Ok, 200, Secure("/ok"), {}, 1},
        // A certificate for another name, and TLS to a plain HTTP port.
        {Secure("/ok", "wrong.test"), LinkResult::TlsError, 0, {}, {}, 0},
        {"https://site.test:" + std::to_string(server_.Port()) + "/ok", LinkResult::TlsError, 0, {}, {}, 0},
        {"http://bad host/", LinkResult::Error, 0, {}, {}, 0},
        {"ftp://site.test/", LinkResult::Error, 0, {}, {}, 0},
    };
    std::vector<LinkToCheck> links;
    for (const Case& c : cases) {
        links.push_back({c.url, false});
    }
    const std::vector<LinkCheckResult> results = Check(links);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const LinkCheckResult& result = results[i];
        SCOPED_TRACE(c.url);
        EXPECT_EQ(result.result, c.result) << LinkResultName(result.result) << ": " << result.detail;
        EXPECT_EQ(result.code, c.code);
        if (c.result != LinkResult::Error) {
            EXPECT_EQ(result.finalUrl, c.finalUrl.empty() ? c.url : c.finalUrl);
        }
        EXPECT_EQ(result.newUrl, c.newUrl);
        EXPECT_EQ(result.redirects.size(), c.hops);
        EXPECT_EQ(IsAlive(result.result), c.result == LinkResult::Ok || c.result == LinkResult::Moved);
        if (!IsAlive(result.result) && result.code == 0) {
            EXPECT_FALSE(result.detail.empty());
            // The program's words, not libcurl's English.
            EXPECT_TRUE(std::any_of(result.detailLabel.view().begin(), result.detailLabel.view().end(), [](char byte) {
                return static_cast<unsigned char>(byte) >= 0x80;
            })) << result.detailLabel.bytes();
        }
    }
}

TEST_F(LinkCheckerTest, FailuresInTheProgramsWords)
{
    ClosedPort closed;
    const std::vector<LinkCheckResult> results
        = Check({{"http://127.0.0.1:" + std::to_string(closed.Port()) + "/", false}, {"http://nowhere.test/", false},
            {Site("/slow"), false}, {Secure("/ok", "wrong.test"), false}, {Site("/loop"), false}});
    const std::vector<std::string> expected = {SJ("接続できません (接続を拒否されたか、相手に届きません)"),
        SJ("ホスト名が見付かりません"), SJ("時間内に応答がありません"), SJ("サーバーの証明書を確かめられません"),
        SJ("リダイレクトが 10 回を超えました")};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(results[i].detailLabel.bytes(), expected[i]) << results[i].detail;
    }
}

// The host goes in its ASCII form whatever the locale (tests run in "C").
TEST_F(LinkCheckerTest, HostsInOtherLetters)
{
    options_.resolve.push_back("xn--wgv71a.test:" + std::to_string(server_.Port()) + ":127.0.0.1");
    const std::vector<LinkCheckResult> results
        = Check({{RequestUrl(SJ("日本.test:") + std::to_string(server_.Port()) + "/ok"), false}});
    EXPECT_EQ(results[0].result, LinkResult::Ok) << results[0].detail;
    EXPECT_EQ(server_.Requests(), std::vector<std::string>{"HEAD /ok xn--wgv71a.test"});
}

TEST_F(LinkCheckerTest, TheRedirectChainIsKept)
{
    const std::vector<LinkCheckResult> results = Check({{Site("/moved-then-temporary"), false}});
    ASSERT_EQ(results[0].redirects.size(), 2u);
    EXPECT_EQ(results[0].redirects[0].code, 301);
    EXPECT_EQ(results[0].redirects[0].location, Site("/temporary"));
    EXPECT_EQ(results[0].redirects[1].code, 302);
    EXPECT_EQ(results[0].redirects[1].location, Site("/ok"));
}

TEST_F(LinkCheckerTest, HeadFirstAndGetOnlyWhenHeadIsRefused)
{
    Check({{Site("/ok"), false}});
    Check({{Site("/no-head"), false}});
    Check({{Site("/missing"), false}});
    const std::vector<std::string> expected = {"HEAD /ok site.test", "HEAD /no-head site.test",
        "GET /no-head site.test", "HEAD /missing site.test", "GET /missing site.test"};
    EXPECT_EQ(server_.Requests(), expected);
}

TEST_F(LinkCheckerTest, NamesTheProgramAsUserAgent)
{
    Check({{Site("/ok"), false}});
    EXPECT_TRUE(server_.LastUserAgent().starts_with("Tessaly/")) << server_.LastUserAgent();
    EXPECT_EQ(server_.LastUserAgent(), LinkCheckUserAgent());
}

TEST_F(LinkCheckerTest, WithoutTheCaTheTestCertificateIsRefused)
{
    options_.caFile.clear();
    const std::vector<LinkCheckResult> results = Check({{Secure("/ok"), false}});
    EXPECT_EQ(results[0].result, LinkResult::TlsError);
}

TEST_F(LinkCheckerTest, LocalBannerFiles)
{
    test::TempDir directory;
    test::WriteFile(directory / "here.gif", "GIF89a");
    std::filesystem::create_directory(directory / "folder.gif");
    const std::vector<LinkCheckResult> results = Check({{(directory / "here.gif").string(), true},
        {(directory / "gone.gif").string(), true}, {(directory / "folder.gif").string(), true}, {"", true}});
    EXPECT_EQ(results[0].result, LinkResult::Ok);
    EXPECT_EQ(results[1].result, LinkResult::Missing);
    EXPECT_EQ(results[2].result, LinkResult::Missing);
    EXPECT_EQ(results[3].result, LinkResult::Error);
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(LinkCheckerTest, AtMostFourRequestsToOneHost)
{
    server_.Answer("/busy", {200, {}, false, false, std::chrono::milliseconds(100)});
    std::vector<LinkToCheck> links;
    for (int i = 0; i < 24; ++i) {
        links.push_back({"http://busy.test:" + std::to_string(server_.Port()) + "/busy?" + std::to_string(i), false});
        links.push_back({Site("/busy?") + std::to_string(i), false});
    }
    const std::vector<LinkCheckResult> results = Check(links);
    for (const LinkCheckResult& result : results) {
        EXPECT_EQ(result.result, LinkResult::Ok) << result.detail;
    }
    EXPECT_LE(server_.MostConcurrent("busy.test"), 4u);
    EXPECT_LE(server_.MostConcurrent("site.test"), 4u);
    EXPECT_GE(server_.MostConcurrent("busy.test"), 2u) << "the links of one host were asked one by one";
    EXPECT_GE(server_.MostConcurrent(), 5u) << "the hosts were not asked side by side";
}

// Spellings of one host are one host.
TEST_F(LinkCheckerTest, AtMostTwoRequestsToOneHostHoweverSpelt)
{
    options_.perHost = 2;
    server_.Answer("/busy", {200, {}, false, false, std::chrono::milliseconds(100)});
    options_.resolve.push_back("site.test.:" + std::to_string(server_.Port()) + ":127.0.0.1");
    const std::string port = ":" + std::to_string(server_.Port());
    std::vector<LinkToCheck> links;
    for (const std::string host : {"127.0.0.1", "127.0.0.1.", "127.1", "[::ffff:127.0.0.1]", "[::FFFF:7f00:1]"}) {
        for (int i = 0; i < 4; ++i) {
            links.push_back({"http://" + host + port + "/busy?" + std::to_string(i), false});
        }
    }
    for (const std::string host : {"site.test", "SITE.test.", "site.test."}) {
        for (int i = 0; i < 4; ++i) {
            links.push_back({"http://" + host + port + "/busy?" + std::to_string(i), false});
        }
    }
    Check(links);
    // One name and one address: two hosts of two requests each.
    EXPECT_LE(server_.MostConcurrent(), 4u);
}

// --timeout is for the whole check of a link, however many redirects.
TEST_F(LinkCheckerTest, TheTimeoutBoundsTheWholeCheckOfALink)
{
    server_.Answer("/slow-step", {302, "/slow-step", false, false, std::chrono::milliseconds(150)});
    const auto started = std::chrono::steady_clock::now();
    const std::vector<LinkCheckResult> results = Check({{Site("/slow-step"), false}});
    EXPECT_EQ(results[0].result, LinkResult::Timeout) << LinkResultName(results[0].result);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1200));
}

TEST_F(LinkCheckerTest, AtMostJobsRequestsInFlight)
{
    options_.jobs = 3;
    options_.perHost = 8;
    server_.Answer("/busy", {200, {}, false, false, std::chrono::milliseconds(50)});
    std::vector<LinkToCheck> links(12, LinkToCheck{Site("/busy"), false});
    Check(links);
    EXPECT_LE(server_.MostConcurrent(), 3u);
    EXPECT_EQ(server_.Requests().size(), 12u);
}

TEST_F(LinkCheckerTest, StopsWithinASecondWhenCancelled)
{
    options_.timeout = std::chrono::minutes(5);
    std::vector<LinkToCheck> links(40, LinkToCheck{Site("/slow"), false});
    links.push_back({"http://other.test:" + std::to_string(server_.Port()) + "/slow", false});
    std::stop_source stop;
    std::size_t reported = 0;
    LinkCheckSummary summary;
    std::chrono::steady_clock::time_point returned;
    std::thread run([&] {
        summary = RunLinkCheck(
            links, options_, [&](const LinkCheckResult&) { ++reported; }, stop.get_token());
        returned = std::chrono::steady_clock::now();
    });
    server_.WaitForRequests(5);
    const auto cancelled = std::chrono::steady_clock::now();
    stop.request_stop();
    run.join();
    EXPECT_LT(returned - cancelled, std::chrono::seconds(1));
    EXPECT_TRUE(summary.cancelled);
    EXPECT_FALSE(summary.deadlinePassed);
    EXPECT_EQ(reported, 0u);
    EXPECT_EQ(summary.checked, 0u);
}

TEST_F(LinkCheckerTest, TheDeadlineEndsTheRun)
{
    options_.timeout = std::chrono::minutes(5);
    options_.deadline = std::chrono::milliseconds(300);
    std::vector<LinkToCheck> links = {{Site("/ok"), false}};
    links.insert(links.end(), 30, LinkToCheck{Site("/slow"), false});
    LinkCheckSummary summary;
    std::size_t reported = 0;
    summary = RunLinkCheck(links, options_, [&](const LinkCheckResult&) { ++reported; });
    EXPECT_TRUE(summary.deadlinePassed);
    EXPECT_FALSE(summary.cancelled);
    EXPECT_EQ(summary.checked, reported);
    EXPECT_LT(reported, links.size());
}

TEST_F(LinkCheckerTest, NoLinksNoRequests)
{
    LinkCheckSummary summary;
    Check({}, &summary);
    EXPECT_EQ(summary.checked, 0u);
    EXPECT_FALSE(summary.cancelled);
}

TEST(LinkResultTexts, NamesAndLabels)
{
    const std::vector<std::pair<LinkResult, std::string_view>> names
        = {{LinkResult::Ok, "ok"}, {LinkResult::Moved, "moved"}, {LinkResult::ClientError, "client-error"},
            {LinkResult::ServerError, "server-error"}, {LinkResult::DnsFailure, "dns-failure"},
            {LinkResult::Refused, "refused"}, {LinkResult::Timeout, "timeout"}, {LinkResult::TlsError, "tls-error"},
            {LinkResult::TooManyRedirects, "too-many-redirects"}, {LinkResult::Missing, "missing"},
            {LinkResult::Error, "error"}};
    ASSERT_EQ(names.size(), kLinkResultCount);
    std::set<std::string> labels;
    for (const auto& [result, name] : names) {
        EXPECT_EQ(LinkResultName(result), name);
        EXPECT_TRUE(labels.insert(LinkResultLabel(result).bytes()).second) << name;
    }
}

} // namespace
