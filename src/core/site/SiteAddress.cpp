#include "core/site/SiteAddress.h"

#include <algorithm>
#include <cctype>

#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

// Characters no part of a base address may hold: blanks and control
// characters, those that break out of an attribute or are no part of a URL,
// and the starts of a query and a fragment.
bool IsRefused(unsigned char c)
{
    return c <= 0x20 || c == 0x7F
        || std::string_view("\"<>\\^`{|}?#").find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsValidPort(std::string_view port)
{
    if (port.empty() || port.size() > 5
        || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const int number = std::stoi(std::string(port));
    return number >= 1 && number <= 65535;
}

// The host in small ASCII letters: an IPv6 address in brackets, or a name
// whose labels are not empty, a name in other letters in its ASCII form.
std::optional<std::string> AsciiHost(std::string_view host)
{
    if (host.starts_with('[')) {
        const bool valid = host.size() > 2 && host.ends_with(']')
            && std::all_of(
                host.begin() + 1, host.end() - 1, [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; });
        return valid ? std::optional(AsciiLower(host)) : std::nullopt;
    }
    constexpr std::string_view kScheme = "http://";
    const std::optional<std::string> converted = WithAsciiHost(std::string(kScheme) + std::string(host));
    if (!converted) {
        return std::nullopt;
    }
    std::string ascii = AsciiLower(std::string_view(*converted).substr(kScheme.size()));
    const bool valid = !ascii.empty() && !ascii.starts_with('.') && ascii.find("..") == std::string::npos
        && std::all_of(ascii.begin(), ascii.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
           });
    return valid ? std::optional(std::move(ascii)) : std::nullopt;
}

bool HasOnlyWholeEscapes(std::string_view path)
{
    for (std::size_t at = path.find('%'); at != std::string_view::npos; at = path.find('%', at + 1)) {
        if (at + 2 >= path.size() || !IsHexDigit(path[at + 1]) || !IsHexDigit(path[at + 2])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> SiteBaseUrl(std::string_view typed)
{
    const std::string_view text = Trim(typed);
    const std::string scheme = AsciiLower(text.substr(0, 8));
    const std::size_t schemeLength = scheme.starts_with("https://") ? 8 : scheme.starts_with("http://") ? 7 : 0;
    const std::string_view rest = text.substr(schemeLength);
    if (schemeLength == 0 || !Utf8ToUtf16(text)
        || std::any_of(rest.begin(), rest.end(), [](char c) { return IsRefused(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    const std::size_t slash = std::min(rest.find('/'), rest.size());
    const std::string_view authority = rest.substr(0, slash);
    std::string path(rest.substr(slash));
    std::string_view host = authority;
    std::string port;
    if (const std::size_t colon = authority.rfind(':');
        colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
        if (!IsValidPort(port)) {
            return std::nullopt;
        }
    }
    const std::optional<std::string> asciiHost
        = host.find('@') == std::string_view::npos ? AsciiHost(host) : std::nullopt;
    if (!asciiHost || !HasOnlyWholeEscapes(path)) {
        return std::nullopt;
    }
    if (!path.ends_with('/')) {
        path += '/';
    }
    return scheme.substr(0, schemeLength) + *asciiHost + (port.empty() ? "" : ":" + port)
        + PercentEncoded(path, [](unsigned char c) { return c >= 0x80; });
}

std::string_view BaseUrlPath(std::string_view baseUrl)
{
    const std::string_view rest = baseUrl.substr(UrlSchemeLength(baseUrl));
    const std::size_t slash = rest.find('/');
    return slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
}

} // namespace tessaly
