#include "core/text/Url.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>

#include <unicode/uidna.h>

#include "core/text/Collation.h"

namespace tessaly {

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeCharacter(char c)
{
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The length of the scheme name the text begins with, if it could begin
// with one (a letter, then letters, digits, "+", "-" and ".").
std::size_t SchemeNameLength(std::string_view url)
{
    if (url.empty() || !IsAsciiLetter(url.front())) {
        return 0;
    }
    std::size_t end = 1;
    while (end < url.size() && IsSchemeCharacter(url[end])) {
        ++end;
    }
    return end;
}

// The length of "scheme:" when the text begins with one; "host:8080" and
// "host:" followed by a path begin with a host and a port instead.
std::size_t SchemeColonLength(std::string_view url)
{
    const std::size_t end = SchemeNameLength(url);
    if (end == 0 || end == url.size() || url[end] != ':') {
        return 0;
    }
    const std::string_view after = url.substr(end + 1);
    const std::string_view port = after.substr(0, std::min(after.find_first_of("/?#\\"), after.size()));
    const bool isPort = !after.starts_with("//") && port.find_first_not_of("0123456789") == std::string_view::npos;
    return isPort ? 0 : end + 1;
}

// Characters that would end or break out of an attribute value or tag.
bool IsUnsafeInPage(unsigned char c)
{
    return c < 0x20 || c == 0x7F || std::string_view("\"<>'` ").find(static_cast<char>(c)) != std::string_view::npos;
}

// Where the host of a full URL lies: after "scheme://" and any user-info,
// before the port and the path.
std::pair<std::size_t, std::size_t> HostSpan(std::string_view url)
{
    const std::size_t start = UrlSchemeLength(url);
    std::string_view authority = url.substr(start);
    authority = authority.substr(0, std::min(authority.find_first_of("/?#\\"), authority.size()));
    const std::size_t at = authority.rfind('@');
    const std::size_t hostStart = at == std::string_view::npos ? 0 : at + 1;
    std::string_view host = authority.substr(hostStart);
    if (!host.starts_with('[')) {
        host = host.substr(0, std::min(host.rfind(':'), host.size()));
    }
    return {start + hostStart, host.size()};
}

const UIDNA* Uts46()
{
    static const std::unique_ptr<UIDNA, decltype(&uidna_close)> idna = [] {
        UErrorCode error = U_ZERO_ERROR;
        UIDNA* opened = uidna_openUTS46(UIDNA_NONTRANSITIONAL_TO_ASCII | UIDNA_NONTRANSITIONAL_TO_UNICODE
                | UIDNA_CHECK_BIDI | UIDNA_CHECK_CONTEXTJ,
            &error);
        return std::unique_ptr<UIDNA, decltype(&uidna_close)>(U_SUCCESS(error) ? opened : nullptr, uidna_close);
    }();
    return idna.get();
}

using IdnaConversion = int32_t (*)(const UIDNA*, const char*, int32_t, char*, int32_t, UIDNAInfo*, UErrorCode*);

// A host name through one of ICU's UTS #46 conversions.
std::optional<std::string> ConvertHost(std::string_view host, IdnaConversion convert)
{
    constexpr std::size_t kLongestHost = 1024; // DNS allows 253
    const UIDNA* idna = Uts46();
    if (idna == nullptr || host.size() > kLongestHost) {
        return std::nullopt;
    }
    std::string converted(kLongestHost * 4, '\0');
    UErrorCode error = U_ZERO_ERROR;
    UIDNAInfo info = UIDNA_INFO_INITIALIZER;
    const int32_t length = convert(idna, host.data(), static_cast<int32_t>(host.size()), converted.data(),
        static_cast<int32_t>(converted.size()), &info, &error);
    if (U_FAILURE(error) || info.errors != 0) {
        return std::nullopt;
    }
    converted.resize(static_cast<std::size_t>(length));
    return converted;
}

} // namespace

std::size_t UrlSchemeLength(std::string_view url)
{
    const std::size_t end = SchemeNameLength(url);
    return end > 0 && url.substr(end).starts_with("://") ? end + 3 : 0;
}

bool HasUrlScheme(std::string_view url)
{
    return UrlSchemeLength(url) > 0;
}

std::string FullUrl(std::string_view stored)
{
    return HasUrlScheme(stored) ? std::string(stored) : "http://" + std::string(stored);
}

std::string_view UrlHostPart(std::string_view stored)
{
    const std::string_view rest = stored.substr(UrlSchemeLength(stored));
    const std::size_t slash = rest.find('/');
    return slash == std::string_view::npos ? std::string_view() : rest.substr(0, slash + 1);
}

std::string StripUrlScheme(std::string_view text)
{
    const std::string prefix = AsciiLower(text.substr(0, 7));
    if (prefix == "http://" || prefix == "mailto:") {
        return std::string(text.substr(7));
    }
    return std::string(text);
}

std::string PercentEncoded(std::string_view text, bool (*encode)(unsigned char))
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (encode(byte)) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

namespace {

// A "%" that starts no escape of two hex digits is no part of an address,
// and pages would take "%comment;" in one for a keyword of the templates.
std::string BarePercentsEncoded(std::string text)
{
    const auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        if (at + 2 >= text.size() || !isHex(text[at + 1]) || !isHex(text[at + 2])) {
            text.insert(at + 1, "25");
        }
    }
    return text;
}

} // namespace

std::optional<std::string> SafeStoredUrl(std::string_view url)
{
    const std::size_t schemeLength = SchemeColonLength(url);
    const std::string scheme = AsciiLower(url.substr(0, schemeLength));
    std::string_view rest = url.substr(schemeLength);
    if (schemeLength > 0) {
        if ((scheme != "http:" && scheme != "https:") || !rest.starts_with("//")) {
            return std::nullopt;
        }
        rest.remove_prefix(2);
    }
    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#\\"), rest.size());
    if (const std::size_t at = rest.substr(0, authorityEnd).rfind('@'); at != std::string_view::npos) {
        rest.remove_prefix(at + 1);
    }
    if (rest.empty() || rest.find_first_of("/?#\\") == 0) {
        return std::nullopt;
    }
    return (scheme == "https:" ? "https://" : "") + BarePercentsEncoded(PercentEncoded(rest, IsUnsafeInPage));
}

std::string SafeMailAddress(std::string_view mail)
{
    return BarePercentsEncoded(PercentEncoded(mail, IsUnsafeInPage));
}

std::optional<std::string> WithAsciiHost(std::string_view url)
{
    const auto [start, length] = HostSpan(url);
    const std::string_view host = url.substr(start, length);
    if (std::all_of(host.begin(), host.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(url);
    }
    const std::optional<std::string> ascii = ConvertHost(host, uidna_nameToASCII_UTF8);
    if (!ascii) {
        return std::nullopt;
    }
    return std::string(url.substr(0, start)) + *ascii + std::string(url.substr(start + length));
}

std::string WithUnicodeHost(std::string_view url)
{
    const auto [start, length] = HostSpan(url);
    const std::string_view host = url.substr(start, length);
    if (AsciiLower(host).find("xn--") == std::string::npos) {
        return std::string(url);
    }
    const std::optional<std::string> unicode = ConvertHost(host, uidna_nameToUnicodeUTF8);
    return unicode ? std::string(url.substr(0, start)) + *unicode + std::string(url.substr(start + length))
                   : std::string(url);
}

std::string UrlIdentity(std::string_view stored)
{
    std::string_view rest = stored.substr(UrlSchemeLength(stored));
    const std::size_t hostEnd = std::min(rest.find_first_of("/?#"), rest.size());
    std::string identity = AsciiLower(rest.substr(0, hostEnd));
    if (identity.starts_with("www.")) {
        identity.erase(0, 4);
    }
    rest.remove_prefix(hostEnd);
    const std::size_t pathEnd = std::min(rest.find_first_of("?#"), rest.size());
    std::string_view path = rest.substr(0, pathEnd);
    for (const std::string_view page : {"/index.html", "/index.htm"}) {
        if (path.ends_with(page)) {
            path.remove_suffix(page.size() - 1);
            break;
        }
    }
    if (path.ends_with('/')) {
        path.remove_suffix(1);
    }
    identity += path;
    identity += rest.substr(pathEnd);
    return identity;
}

} // namespace tessaly
