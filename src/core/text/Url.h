#pragma once

// Page and banner addresses are stored without their "http://"; an address
// stored with a scheme of its own ("https://", "ftp://") keeps it, and every
// place that rebuilds or takes apart a stored address goes through here.

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// True when the text begins with a scheme and "://" ("https://...").
bool HasUrlScheme(std::string_view url);

// The length of that "scheme://", or 0.
std::size_t UrlSchemeLength(std::string_view url);

// The stored address as a browser takes it: as it is when it names its
// scheme, otherwise with "http://" in front.
std::string FullUrl(std::string_view stored);

// The host part of a stored address: after its scheme, up to and including
// the first "/"; empty when there is no "/" after the scheme.
std::string_view UrlHostPart(std::string_view stored);

// The stored form of a typed address: a leading "http://" or "mailto:" (in
// any case, at most one of them) is dropped; other schemes stay.
std::string StripUrlScheme(std::string_view text);

// What makes two stored addresses the same page: neither the scheme, the
// letter case of the host, a leading "www.", nor a final "/", "index.html"
// or "index.htm" tells them apart.
std::string UrlIdentity(std::string_view stored);

// Every byte for which encode is true as "%" and two hexadecimal digits.
std::string PercentEncoded(std::string_view text, bool (*encode)(unsigned char));

// An address from outside (a redirect target, a bookmark file, an RKM file)
// in the stored form, made harmless for the pages that write it into
// href="...": only http and https or no scheme at all pass ("host:80/" is
// a port, not a scheme); a user-info part ("name@" before the host, which
// hides the real host) is dropped; " < > ' ` blanks and control characters
// are percent-encoded. Nothing when the address is refused: another scheme,
// or no host.
std::optional<std::string> SafeStoredUrl(std::string_view url);

// A mail address from outside, harmless for the pages that write it into
// href="mailto:...": the characters SafeStoredUrl encodes percent-encoded.
std::string SafeMailAddress(std::string_view mail);

// A full URL in UTF-8 with a host in other letters than ASCII given in its
// ASCII form (UTS #46, "日本.example" as "xn--wgv71a.example"), whatever
// the locale; other URLs as they are. Nothing when the host is none IDNA
// takes.
std::optional<std::string> WithAsciiHost(std::string_view url);

// A full URL as a reader knows it: a host in its ASCII form ("xn--...")
// given in its own letters (UTF-8); anything else as it is.
std::string WithUnicodeHost(std::string_view url);

} // namespace tessaly
