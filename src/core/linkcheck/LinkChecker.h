#pragma once

// The link check: many addresses asked at once over HTTP(S), each answer
// sorted into what a site owner does about it (nothing, take the new
// address, mark the item). Local banner files are looked at on disk.

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/EncodedText.h"

namespace tessaly {

// What became of one link; the order is the order of the summaries.
enum class LinkResult {
    Ok, // answered 2xx, maybe after temporary redirects
    Moved, // redirected permanently to an address that answers
    ClientError, // 4xx
    ServerError, // 5xx
    DnsFailure, // the host name is unknown
    Refused, // nothing listens there
    Timeout, // no full answer within the time allowed
    TlsError, // the secure connection failed (certificate, handshake)
    TooManyRedirects, // more redirects than allowed, usually a loop
    Missing, // a local banner file that does not exist
    Error, // any other failure: a malformed address, a broken answer
};
inline constexpr std::size_t kLinkResultCount = 11;

// Ok and Moved: the link leads somewhere; every other result is dead.
bool IsAlive(LinkResult result);

// The name in the command line tool's summary ("ok", "client-error", ...).
std::string_view LinkResultName(LinkResult result);
// The program's label: "正常", "移転", ...
SjisText LinkResultLabel(LinkResult result);

// One address to check: a URL as it goes on the wire, or a local file path
// (code page 932; empty when the project has no banner directory).
struct LinkToCheck {
    std::string address;
    bool localFile = false;
};

// One redirect on the way: its status code and where it pointed.
struct LinkHop {
    long code = 0;
    std::string location;
};

// Addresses in results are ASCII: other bytes a server sent are
// percent-encoded.
struct LinkCheckResult {
    std::size_t index = 0; // of the link in the list checked
    LinkResult result = LinkResult::Error;
    long code = 0; // the last HTTP status, 0 when there was none
    std::string finalUrl; // where the redirects ended
    std::string newUrl; // Moved: the address the permanent redirects lead to
    std::vector<LinkHop> redirects;
    Utf8Text detail; // why a failure failed, in plain words (ASCII)
    SjisText detailLabel; // the same in the program's words
    std::chrono::milliseconds time{0};
};

struct LinkCheckOptions {
    unsigned jobs = 16; // requests in flight at once
    unsigned perHost = 4; // of them at most so many to one host (however spelt)
    unsigned maxRedirects = 10;
    std::chrono::milliseconds timeout{15000}; // for each link, its redirects included
    std::chrono::milliseconds deadline{3600000}; // for the whole run
    // Files of trusted certificates beside the system's ("" for none).
    std::string caFile;
    // "HOST:PORT:ADDRESS" entries that name the address of a host; with
    // listedNamesOnly every other host name fails as unknown without asking
    // any name server, and no address outside this machine is connected to
    // (tests, benchmarks and fuzzing stay on this machine).
    std::vector<std::string> resolve;
    bool listedNamesOnly = false;
};

struct LinkCheckSummary {
    std::size_t checked = 0; // results reported
    bool cancelled = false;
    bool deadlinePassed = false;
};

// The User-Agent the checker sends: "Tessaly/<version> (link check; ...)".
std::string LinkCheckUserAgent();

// Checks the links, each through HEAD first and through GET when a server
// refuses HEAD (any status of 400 or more), following redirects itself so
// that the chain is kept. Proxies come from the usual environment variables
// (http_proxy, https_proxy, no_proxy); certificates are verified. Each
// result goes to onResult on the calling thread as soon as it is known, in
// no particular order. A stop request ends the run promptly: links still in
// flight are dropped without a result.
LinkCheckSummary RunLinkCheck(std::span<const LinkToCheck> links, const LinkCheckOptions& options,
    const std::function<void(const LinkCheckResult&)>& onResult, std::stop_token stop = {});

} // namespace tessaly
