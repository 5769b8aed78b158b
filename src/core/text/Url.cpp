#include "text/Url.h"

#include <algorithm>

#include "text/Collation.h"

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

} // namespace

std::size_t UrlSchemeLength(std::string_view url)
{
    if (url.empty() || !IsAsciiLetter(url.front())) {
        return 0;
    }
    std::size_t end = 1;
    while (end < url.size() && IsSchemeCharacter(url[end])) {
        ++end;
    }
    return url.substr(end).starts_with("://") ? end + 3 : 0;
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
