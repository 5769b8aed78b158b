#include "core/site/Sitemap.h"

#include <cctype>
#include <optional>

#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "core/text/Paths.h"
#include "core/text/Url.h"
#include "core/text/Xml.h"
#include "core/util/FileStamp.h"

namespace tessaly {

namespace {

constexpr std::string_view kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!-- generator: Tessaly -->\n"
                                   "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
constexpr std::string_view kTail = "</urlset>\n";

// Every byte of a path but the unreserved characters of RFC 3986 and "/".
bool NeedsEscapeInPath(unsigned char c)
{
    return std::isalnum(c) == 0 && std::string_view("-._~/").find(static_cast<char>(c)) == std::string_view::npos;
}

bool IsW3cDate(std::string_view date)
{
    if (date.size() != 10) {
        return false;
    }
    for (std::size_t i = 0; i < date.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? date[i] != '-' : std::isdigit(static_cast<unsigned char>(date[i])) == 0) {
            return false;
        }
    }
    return true;
}

std::string_view FromRoot(std::string_view path)
{
    while (path.starts_with('/')) {
        path.remove_prefix(1);
    }
    return path;
}

// The <url> element of a page, or nothing when its path is not code page
// 932 or its address is too long.
std::optional<std::string> UrlElement(std::string_view baseUrl, const SitemapPage& page)
{
    const ConversionResult utf8 = SjisToUtf8(FromRoot(page.path));
    const std::string loc = std::string(baseUrl) + PercentEncoded(utf8.text, NeedsEscapeInPath);
    if (!utf8.ok || loc.size() > kSitemapMaxUrlLength) {
        return std::nullopt;
    }
    std::string element = "  <url>\n    <loc>" + XmlEscape(loc) + "</loc>\n";
    if (IsW3cDate(page.lastmod)) {
        element += "    <lastmod>" + page.lastmod + "</lastmod>\n";
    }
    element += "  </url>\n";
    return element;
}

} // namespace

Sitemap SitemapXml(std::string_view baseUrl, const std::vector<SitemapPage>& pages)
{
    Sitemap sitemap;
    sitemap.xml = kHead;
    std::size_t written = 0;
    for (const SitemapPage& page : pages) {
        const std::optional<std::string> element = UrlElement(baseUrl, page);
        if (!element || written == kSitemapMaxUrls
            || sitemap.xml.size() + element->size() + kTail.size() > kSitemapMaxBytes) {
            ++sitemap.leftOut;
            continue;
        }
        sitemap.xml += *element;
        ++written;
    }
    sitemap.xml += kTail;
    return sitemap;
}

std::vector<SitemapPage> SitemapPagesOf(const std::filesystem::path& root, const std::vector<std::string>& paths)
{
    constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;
    std::vector<SitemapPage> pages;
    pages.reserve(paths.size());
    for (const std::string& path : paths) {
        SitemapPage& page = pages.emplace_back(SitemapPage{path, {}});
        const std::optional<std::filesystem::path> relative = ToFsPath(FromRoot(path));
        const std::optional<FileStamp> stamp = relative ? StampOf(root / *relative) : std::nullopt;
        if (!stamp) {
            continue;
        }
        // Whole seconds towards the past, also before 1970.
        const int64_t seconds
            = stamp->modifiedNs / kNanosecondsPerSecond - (stamp->modifiedNs % kNanosecondsPerSecond < 0 ? 1 : 0);
        if (const std::optional<TDateTime> day = LocalDateOfUnixTime(seconds)) {
            page.lastmod = IsoDateText(*day);
        }
    }
    return pages;
}

} // namespace tessaly
