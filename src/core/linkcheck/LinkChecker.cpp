#include "core/linkcheck/LinkChecker.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <curl/curl.h>

#include "core/text/Codepage.h"
#include "core/text/Paths.h"
#include "core/text/Url.h"
#include "core/util/About.h"


namespace tessaly {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct ResultText {
    std::string_view name;
    const char* label; // UTF-8
};

constexpr std::array<ResultText, kLinkResultCount> kResultTexts{{
    {"ok", "正常"},
    {"moved", "移転"},
    {"client-error", "クライアントエラー"},
    {"server-error", "サーバーエラー"},
    {"dns-failure", "ホスト名不明"},
    {"refused", "接続拒否"},
    {"timeout", "タイムアウト"},
    {"tls-error", "TLSエラー"},
    {"too-many-redirects", "リダイレクト過多"},
    {"missing", "ファイルなし"},
    {"error", "エラー"},
}};

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string AsciiLowered(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

struct ParsedUrl {
    std::string scheme;
    std::string host; // lower case; IPv6 addresses in brackets
};

std::optional<ParsedUrl> ParseUrl(const std::string& url)
{
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    ParsedUrl parsed;
    for (const auto& [part, into] : {std::pair{CURLUPART_SCHEME, &parsed.scheme}, {CURLUPART_HOST, &parsed.host}}) {
        char* text = nullptr;
        if (curl_url_get(handle.get(), part, &text, 0) != CURLUE_OK || text == nullptr) {
            return std::nullopt;
        }
        *into = AsciiLowered(text);
        curl_free(text);
    }
    return parsed;
}

// One key for the spellings of a host, for the limit of requests to one
// host: lower case (as ParseUrl gives it), no final dot, an IP address in
// its standard form (one mapped into IPv6 as IPv4), a name in its ASCII
// form. libcurl writes IPv4 addresses in their dotted form already.
std::string CanonicalHost(std::string host)
{
    while (host.ends_with('.')) {
        host.pop_back();
    }
    if (host.starts_with('[') && host.ends_with(']')) {
        in6_addr v6{};
        if (inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &v6) != 1) {
            return host;
        }
        char text[INET6_ADDRSTRLEN] = {};
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            in_addr v4{};
            std::memcpy(&v4, &v6.s6_addr[12], sizeof v4);
            return inet_ntop(AF_INET, &v4, text, sizeof text) ? std::string(text) : host;
        }
        return inet_ntop(AF_INET6, &v6, text, sizeof text) ? "[" + std::string(text) + "]" : host;
    }
    constexpr std::string_view kScheme = "http://";
    const std::optional<std::string> ascii = WithAsciiHost(std::string(kScheme) + host);
    return ascii ? AsciiLowered(ascii->substr(kScheme.size())) : host;
}

bool IsAddressLiteral(const std::string& host)
{
    in_addr address{};
    return host.starts_with('[') || inet_pton(AF_INET, host.c_str(), &address) == 1;
}

// Every way a secure connection fails.
bool IsTlsFailure(CURLcode code)
{
    switch (code) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_USE_SSL_FAILED: return true;
    default: return false;
    }
}

LinkResult ResultOfTransferError(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return LinkResult::DnsFailure;
    case CURLE_COULDNT_CONNECT: return LinkResult::Refused;
    case CURLE_OPERATION_TIMEDOUT: return LinkResult::Timeout;
    case CURLE_TOO_MANY_REDIRECTS: return LinkResult::TooManyRedirects;
    default: return IsTlsFailure(code) ? LinkResult::TlsError : LinkResult::Error;
    }
}

// libcurl's own texts are English; the program says it in its words.
const std::string& TransferErrorLabel(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return SJ("ホスト名が見付かりません");
    case CURLE_COULDNT_RESOLVE_PROXY: return SJ("プロキシのホスト名が見付かりません");
    case CURLE_COULDNT_CONNECT: return SJ("接続できません (接続を拒否されたか、相手に届きません)");
    case CURLE_OPERATION_TIMEDOUT: return SJ("時間内に応答がありません");
    case CURLE_PEER_FAILED_VERIFICATION: return SJ("サーバーの証明書を確かめられません");
    case CURLE_SSL_CONNECT_ERROR: return SJ("安全な接続 (TLS) を確立できません");
    case CURLE_TOO_MANY_REDIRECTS: return SJ("リダイレクトが多すぎます");
    case CURLE_GOT_NOTHING: return SJ("サーバーが何も返しませんでした");
    case CURLE_SEND_ERROR: return SJ("データを送れません");
    case CURLE_RECV_ERROR: return SJ("データを受け取れません");
    case CURLE_PARTIAL_FILE: return SJ("応答が途中で切れました");
    case CURLE_WEIRD_SERVER_REPLY: return SJ("サーバーの応答が正しくありません");
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM: return SJ("HTTP/2 の通信でエラーが起きました");
    case CURLE_HTTP3: return SJ("HTTP/3 の通信でエラーが起きました");
    case CURLE_URL_MALFORMAT: return SJ("アドレスの形式が正しくありません");
    case CURLE_UNSUPPORTED_PROTOCOL: return SJ("扱えないプロトコルです");
    case CURLE_BAD_CONTENT_ENCODING: return SJ("応答の圧縮形式が正しくありません");
    // libcurl says "Out of memory" for a header line past its limit, too.
    case CURLE_OUT_OF_MEMORY: return SJ("応答のヘッダーが長すぎるか、メモリが足りません");
    case CURLE_PROXY: return SJ("プロキシとの通信でエラーが起きました");
    default: return IsTlsFailure(code) ? SJ("安全な接続 (TLS) でエラーが起きました") : SJ("通信でエラーが起きました");
    }
}

bool IsNotPrintableAscii(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F;
}

// Addresses in results are ASCII, whatever bytes a server sent.
std::string AsciiUrl(std::string_view url)
{
    return PercentEncoded(url, IsNotPrintableAscii);
}

bool IsPermanentRedirect(long code)
{
    return code == 301 || code == 308;
}

// One link on its way through HEAD, GET and redirects. The easy handle
// stays with the link, so cookies a site sets on the way are sent back.
struct Transfer {
    std::size_t index = 0;
    std::string url;
    std::string host;
    bool get = false;
    bool bodyStarted = false;
    std::vector<LinkHop> hops;
    SteadyClock::time_point started;
    SteadyClock::time_point requestStarted;
    SteadyClock::duration spent{0}; // in requests so far
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy{nullptr, curl_easy_cleanup};
    std::array<char, CURL_ERROR_SIZE> error{};
};

// The body is not needed: the status line has said it all.
std::size_t StopAtBody(char*, std::size_t, std::size_t, void* data)
{
    static_cast<Transfer*>(data)->bodyStarted = true;
    return 0;
}

// Names that the resolve list lacks fail here, before any name server is
// asked; address literals need no lookup and pass.
int RefuseUnlistedName(void*, void*, void* data)
{
    return IsAddressLiteral(static_cast<Transfer*>(data)->host) ? 0 : 1;
}

// Why a link failed, in plain words and in the program's.
struct Why {
    std::string detail;
    std::string label;
};

// With listedNamesOnly nothing outside this machine is connected to, not
// even an address a server's redirect names.
curl_socket_t OpenLoopbackOnly(void*, curlsocktype, curl_sockaddr* address)
{
    bool loopback = false;
    if (address->family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address->addr);
        loopback = (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
    } else if (address->family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address->addr);
        loopback = IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr) != 0;
    }
    return loopback ? ::socket(address->family, address->socktype, address->protocol) : CURL_SOCKET_BAD;
}

struct HostQueue {
    unsigned active = 0;
    std::deque<std::unique_ptr<Transfer>> waiting;
};

class Checker {
public:
    Checker(std::span<const LinkToCheck> links, const LinkCheckOptions& options,
        const std::function<void(const LinkCheckResult&)>& onResult)
        : links_(links)
        , options_(options)
        , onResult_(onResult)
        , userAgent_(LinkCheckUserAgent())
        , multi_(curl_multi_init(), curl_multi_cleanup)
    {
        for (const std::string& entry : options_.resolve) {
            resolve_.reset(curl_slist_append(resolve_.release(), entry.c_str()));
        }
        curl_multi_setopt(multi_.get(), CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(PerHost()));
    }
    ~Checker()
    {
        for (auto& [transfer, owned] : active_) {
            curl_multi_remove_handle(multi_.get(), transfer->easy.get());
        }
    }
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

    LinkCheckSummary Run(std::stop_token stop)
    {
        LinkCheckSummary summary;
        if (!multi_) {
            return summary;
        }
        std::stop_callback wake(stop, [this] { curl_multi_wakeup(multi_.get()); });
        const SteadyClock::time_point deadline = SteadyClock::now() + options_.deadline;
        for (;;) {
            if (stop.stop_requested()) {
                summary.cancelled = true;
                break;
            }
            const SteadyClock::time_point now = SteadyClock::now();
            if (now >= deadline) {
                summary.deadlinePassed = true;
                break;
            }
            FillSlots();
            if (active_.empty()) {
                break;
            }
            int running = 0;
            curl_multi_perform(multi_.get(), &running);
            if (TakeCompleted() == 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
                curl_multi_poll(
                    multi_.get(), nullptr, 0, static_cast<int>(std::clamp<long long>(left.count(), 1, 1000)), nullptr);
            }
        }
        summary.checked = checked_;
        return summary;
    }

private:
    unsigned Jobs() const { return std::max(1u, options_.jobs); }
    unsigned PerHost() const { return std::max(1u, options_.perHost); }

    // Starts waiting transfers while there is room: redirects and retries of
    // running links first, then new links in their order.
    void FillSlots()
    {
        while (active_.size() < Jobs()) {
            if (!readyHosts_.empty()) {
                const std::string host = std::move(readyHosts_.front());
                readyHosts_.pop_front();
                HostQueue& queue = hosts_[host];
                if (queue.waiting.empty() || queue.active >= PerHost()) {
                    continue;
                }
                std::unique_ptr<Transfer> transfer = std::move(queue.waiting.front());
                queue.waiting.pop_front();
                if (!queue.waiting.empty() && queue.active + 1 < PerHost()) {
                    readyHosts_.push_back(host);
                }
                Start(std::move(transfer));
            } else if (next_ < links_.size()) {
                Begin(next_++);
            } else {
                return;
            }
        }
    }

    void Begin(std::size_t index)
    {
        const LinkToCheck& link = links_[index];
        const SteadyClock::time_point started = SteadyClock::now();
        if (link.localFile) {
            CheckFile(index, link.address, started);
            return;
        }
        auto transfer = std::make_unique<Transfer>();
        transfer->index = index;
        transfer->started = started;
        transfer->url = link.address;
        Enqueue(std::move(transfer));
    }

    void CheckFile(std::size_t index, const std::string& path, SteadyClock::time_point started)
    {
        LinkCheckResult result;
        result.index = index;
        const std::optional<std::filesystem::path> file = ToFsPath(path);
        std::error_code error;
        if (path.empty()) {
            result.result = LinkResult::Error;
            result.detail = Utf8Text("the project has no banner directory");
            result.detailLabel = SjisText(SJ("プロジェクトにバナーディレクトリがありません"));
        } else if (!file) {
            result.result = LinkResult::Error;
            result.detail = Utf8Text("the path cannot be spelled on this file system");
            result.detailLabel = SjisText(SJ("このファイルシステムでは表せないパスです"));
        } else if (std::filesystem::is_regular_file(*file, error)) {
            result.result = LinkResult::Ok;
        } else {
            result.result = LinkResult::Missing;
            result.detail = Utf8Text("no such file");
            result.detailLabel = SjisText(SJ("ファイルがありません"));
        }
        Report(std::move(result), started);
    }

    // Queues a transfer on its URL's host, or ends it when the URL is none
    // the checker can ask.
    void Enqueue(std::unique_ptr<Transfer> transfer)
    {
        const std::optional<ParsedUrl> parsed = ParseUrl(transfer->url);
        if (!parsed || (parsed->scheme != "http" && parsed->scheme != "https")) {
            Finish(*transfer, LinkResult::Error,
                parsed ? Why{"not an http or https address", SJ("http や https のアドレスではありません")}
                       : Why{"malformed address", SJ("アドレスの形式が正しくありません")});
            return;
        }
        const std::string host = CanonicalHost(parsed->host);
        transfer->host = host;
        HostQueue& queue = hosts_[host];
        if (queue.waiting.empty() && queue.active < PerHost() && active_.size() < Jobs()) {
            Start(std::move(transfer));
            return;
        }
        queue.waiting.push_back(std::move(transfer));
        if (queue.active < PerHost()) {
            readyHosts_.push_back(host);
        }
    }

    void Start(std::unique_ptr<Transfer> transfer)
    {
        if (!transfer->easy) {
            transfer->easy.reset(curl_easy_init());
            if (!transfer->easy) {
                Finish(*transfer, LinkResult::Error, {"out of memory", SJ("メモリが足りません")});
                return;
            }
            Configure(*transfer);
        }
        // The time allowed is for the link's whole check, its redirects and
        // a second try with GET included; waiting for a free slot is not
        // counted.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(options_.timeout - transfer->spent);
        if (left <= std::chrono::milliseconds(0)) {
            Finish(*transfer, LinkResult::Timeout,
                {"the check of the link took longer than the time allowed",
                    SJ("リンクの確認が許された時間を超えました")});
            return;
        }
        CURL* easy = transfer->easy.get();
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(left.count()));
        transfer->requestStarted = SteadyClock::now();
        transfer->bodyStarted = false;
        transfer->error[0] = '\0';
        curl_easy_setopt(easy, CURLOPT_URL, transfer->url.c_str());
        if (transfer->get) {
            curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        } else {
            curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        }
        if (curl_multi_add_handle(multi_.get(), easy) != CURLM_OK) {
            Finish(*transfer, LinkResult::Error, {"the transfer could not be started", SJ("通信を始められません")});
            return;
        }
        ++hosts_[transfer->host].active;
        Transfer* key = transfer.get();
        active_.emplace(key, std::move(transfer));
    }

    void Configure(Transfer& transfer)
    {
        CURL* easy = transfer.easy.get();
        curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.error.data());
        curl_easy_setopt(easy, CURLOPT_USERAGENT, userAgent_.c_str());
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        // A stop must not wait for a name lookup still running in its thread.
        curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, StopAtBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
        if (!options_.caFile.empty()) {
            curl_easy_setopt(easy, CURLOPT_CAINFO, options_.caFile.c_str());
        }
        if (resolve_) {
            curl_easy_setopt(easy, CURLOPT_RESOLVE, resolve_.get());
        }
        if (options_.listedNamesOnly) {
            curl_easy_setopt(easy, CURLOPT_RESOLVER_START_FUNCTION, RefuseUnlistedName);
            curl_easy_setopt(easy, CURLOPT_RESOLVER_START_DATA, &transfer);
            curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, OpenLoopbackOnly);
        }
    }

    // Handles the transfers libcurl has finished; returns how many.
    std::size_t TakeCompleted()
    {
        std::size_t completed = 0;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
            if (message->msg != CURLMSG_DONE) {
                continue;
            }
            ++completed;
            CURL* easy = message->easy_handle;
            const CURLcode code = message->data.result;
            void* data = nullptr;
            curl_easy_getinfo(easy, CURLINFO_PRIVATE, &data);
            curl_multi_remove_handle(multi_.get(), easy);
            auto found = active_.find(static_cast<Transfer*>(data));
            std::unique_ptr<Transfer> transfer = std::move(found->second);
            active_.erase(found);
            transfer->spent += SteadyClock::now() - transfer->requestStarted;
            HostQueue& queue = hosts_[transfer->host];
            --queue.active;
            if (!queue.waiting.empty()) {
                readyHosts_.push_back(transfer->host);
            }
            Answered(std::move(transfer), code);
        }
        return completed;
    }

    void Answered(std::unique_ptr<Transfer> transfer, CURLcode code)
    {
        CURL* easy = transfer->easy.get();
        // A body that was cut off on purpose is no failure.
        if (code == CURLE_WRITE_ERROR && transfer->bodyStarted) {
            code = CURLE_OK;
        }
        if (code != CURLE_OK) {
            if (!transfer->get && code == CURLE_GOT_NOTHING) {
                RetryWithGet(std::move(transfer));
                return;
            }
            const std::string why = transfer->error[0] != '\0' ? transfer->error.data() : curl_easy_strerror(code);
            Finish(*transfer, ResultOfTransferError(code), {why, TransferErrorLabel(code)});
            return;
        }
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        char* location = nullptr;
        curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
        if (status >= 300 && status < 400 && location != nullptr) {
            transfer->hops.push_back({status, AsciiUrl(location)});
            if (transfer->hops.size() > options_.maxRedirects) {
                const std::string most = std::to_string(options_.maxRedirects);
                Finish(*transfer, LinkResult::TooManyRedirects,
                    {"more than " + most + " redirects", SJ("リダイレクトが ") + most + SJ(" 回を超えました")}, status);
                return;
            }
            // A host in other letters in its ASCII form, as for the links.
            transfer->url = WithAsciiHost(location).value_or(location);
            Enqueue(std::move(transfer));
            return;
        }
        if (status >= 400 && !transfer->get) {
            RetryWithGet(std::move(transfer));
            return;
        }
        if (status >= 200 && status < 300) {
            Finish(*transfer, LinkResult::Ok, {}, status);
        } else if (status >= 400 && status < 500) {
            Finish(*transfer, LinkResult::ClientError, {}, status);
        } else if (status >= 500 && status < 600) {
            Finish(*transfer, LinkResult::ServerError, {}, status);
        } else {
            Finish(*transfer, LinkResult::Error,
                {"unexpected status " + std::to_string(status), SJ("思いがけないステータス ") + std::to_string(status)},
                status);
        }
    }

    // Some servers refuse HEAD (405, 501, or any error at all) or drop the
    // connection; the page itself may still be there.
    void RetryWithGet(std::unique_ptr<Transfer> transfer)
    {
        transfer->get = true;
        Enqueue(std::move(transfer));
    }

    void Finish(const Transfer& transfer, LinkResult outcome, Why why, long status = 0)
    {
        LinkCheckResult result;
        result.index = transfer.index;
        result.result = outcome;
        result.code = status;
        result.finalUrl = AsciiUrl(transfer.url);
        result.redirects = transfer.hops;
        result.detail = Utf8Text(std::move(why.detail));
        result.detailLabel = SjisText(std::move(why.label));
        if (outcome == LinkResult::Ok) {
            std::size_t permanent = 0;
            while (permanent < transfer.hops.size() && IsPermanentRedirect(transfer.hops[permanent].code)) {
                ++permanent;
            }
            if (permanent > 0) {
                result.result = LinkResult::Moved;
                result.newUrl = transfer.hops[permanent - 1].location;
            }
        }
        Report(std::move(result), transfer.started);
    }

    void Report(LinkCheckResult result, SteadyClock::time_point started)
    {
        result.time = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - started);
        ++checked_;
        onResult_(result);
    }

    std::span<const LinkToCheck> links_;
    const LinkCheckOptions& options_;
    const std::function<void(const LinkCheckResult&)>& onResult_;
    std::string userAgent_;
    std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi_;
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> resolve_{nullptr, curl_slist_free_all};
    std::unordered_map<std::string, HostQueue> hosts_;
    std::deque<std::string> readyHosts_;
    std::unordered_map<Transfer*, std::unique_ptr<Transfer>> active_;
    std::size_t next_ = 0;
    std::size_t checked_ = 0;
};

} // namespace

bool IsAlive(LinkResult result)
{
    return result == LinkResult::Ok || result == LinkResult::Moved;
}

std::string_view LinkResultName(LinkResult result)
{
    return kResultTexts[static_cast<std::size_t>(result)].name;
}

SjisText LinkResultLabel(LinkResult result)
{
    return SjisText(SjisLiteral(kResultTexts[static_cast<std::size_t>(result)].label));
}

std::string LinkCheckUserAgent()
{
    return "Tessaly/" + std::string(ProgramVersion()) + " (link check)";
}

LinkCheckSummary RunLinkCheck(std::span<const LinkToCheck> links, const LinkCheckOptions& options,
    const std::function<void(const LinkCheckResult&)>& onResult, std::stop_token stop)
{
    InitCurlOnce();
    Checker checker(links, options, onResult);
    return checker.Run(std::move(stop));
}

} // namespace tessaly
