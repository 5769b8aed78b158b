#pragma once

// The address the site is published at, which the feed and the sitemap put
// before the paths of its pages.

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// A typed address (UTF-8) as the base of the site's addresses: "http://" or
// "https://" (in any case), a host with an optional port, and a path, which
// gets a final "/". Blanks around it are dropped; the scheme and the host
// come back in small letters, a host in other letters than ASCII in its
// ASCII form ("xn--..."), and the path's other letters than ASCII
// percent-encoded, so that the address is plain ASCII. Nothing for anything
// else: another scheme, no host, a user name, a query or fragment, a port
// out of range, blanks, control characters, or " < > \ ^ ` { | } inside.
std::optional<std::string> SiteBaseUrl(std::string_view typed);

// The path of an address SiteBaseUrl gave: "/links/" of
// "https://example.jp/links/".
std::string_view BaseUrlPath(std::string_view baseUrl);

} // namespace tessaly
