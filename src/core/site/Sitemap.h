#pragma once

// The sitemap (sitemaps.org protocol 0.9) that tells search engines which
// pages the site has and when each last changed.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The name under the root at which the sitemap is published.
inline constexpr std::string_view kSitemapFileName = "sitemap.xml";

struct SitemapPage {
    std::string path; // from the root, "/"-separated, code page 932 ("genre001/index.html")
    std::string lastmod; // "YYYY-MM-DD"; empty (or anything else) for none
};

// What the protocol allows one sitemap file.
inline constexpr std::size_t kSitemapMaxUrls = 50'000;
inline constexpr std::size_t kSitemapMaxBytes = 50 * 1024 * 1024;
inline constexpr std::size_t kSitemapMaxUrlLength = 2'047; // "less than 2,048 characters"

struct Sitemap {
    std::string xml; // UTF-8
    // The pages left out: those past the protocol's limits of one file
    // (kSitemapMaxUrls addresses, kSitemapMaxBytes), with an address longer
    // than kSitemapMaxUrlLength, or with a path that is not code page 932.
    std::size_t leftOut = 0;
};

// Each page's address is baseUrl (as SiteBaseUrl gives it, ending in "/")
// followed by its path in UTF-8, percent-encoded but for letters, digits,
// "-._~" and "/". The pages are taken in their order until a limit is
// reached; the rest are counted as left out.
Sitemap SitemapXml(std::string_view baseUrl, const std::vector<SitemapPage>& pages);

// The pages at these paths under root (a file-system path), each dated by
// its file's last change (the local day); a page whose file cannot be asked
// has no date.
std::vector<SitemapPage> SitemapPagesOf(const std::filesystem::path& root, const std::vector<std::string>& paths);

} // namespace tessaly
