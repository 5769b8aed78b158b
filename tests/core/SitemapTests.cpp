#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/XmlLint.h"
#include "core/site/Sitemap.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"

using namespace tessaly;
using tessaly::test::LocalPath;
using tessaly::test::TempDir;
using tessaly::test::XmlLint;

namespace {

std::size_t Count(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(Sitemap, PagesAsEscapedAddresses)
{
    const std::vector<SitemapPage> pages = {
        // Paths from the root in code page 932, with or without a first "/".
        {"index.html", "2026-12-09"},
        {SJ("日本/a b&c<d>.html"), ""},
        // No W3C date, no lastmod; no code page 932, no page.
        {"/genre001/index.html", "2026-12-9"},
        {"\x82", "2026-12-09"},
    };
    const Sitemap sitemap = SitemapXml("https://example.jp/a&b/", pages);
    EXPECT_EQ(sitemap.xml,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- generator: Tessaly -->\n"
        "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
        "  <url>\n"
        "    <loc>https://example.jp/a&amp;b/index.html</loc>\n"
        "    <lastmod>2026-12-09</lastmod>\n"
        "  </url>\n"
        "  <url>\n"
        "    <loc>https://example.jp/a&amp;b/%E6%97%A5%E6%9C%AC/a%20b%26c%3Cd%3E.html</loc>\n"
        "  </url>\n"
        "  <url>\n"
        "    <loc>https://example.jp/a&amp;b/genre001/index.html</loc>\n"
        "  </url>\n"
        "</urlset>\n");
    EXPECT_EQ(sitemap.leftOut, 1u);

    const XmlLint lint(sitemap.xml);
    ASSERT_EQ(lint.Errors(), "");
    EXPECT_EQ(lint.Value("concat(count(/*[local-name()=\"urlset\" and "
                         "namespace-uri()=\"http://www.sitemaps.org/schemas/sitemap/0.9\"]), \" \", count("
                  + LocalPath("urlset/url/loc") + "), \" \", count(" + LocalPath("urlset/url/lastmod") + "))"),
        "1 3 1");
    EXPECT_EQ(lint.Value("string(" + LocalPath("urlset/url/loc") + ")"), "https://example.jp/a&b/index.html");
}

TEST(Sitemap, OneFileHoldsWhatTheProtocolAllows)
{
    const struct {
        std::size_t pages;
        std::size_t pathLength;
        std::size_t written;
    } cases[] = {
        {kSitemapMaxUrls, 10, kSitemapMaxUrls},
        {kSitemapMaxUrls + 2, 10, kSitemapMaxUrls},
        {1, kSitemapMaxUrlLength - 18, 1}, // "http://example.jp/" and the path
        {1, kSitemapMaxUrlLength - 17, 0},
    };
    for (const auto& c : cases) {
        const std::vector<SitemapPage> pages(c.pages, SitemapPage{std::string(c.pathLength, 'a'), "2026-12-09"});
        const Sitemap sitemap = SitemapXml("http://example.jp/", pages);
        EXPECT_EQ(Count(sitemap.xml, "<loc>"), c.written) << c.pages << ' ' << c.pathLength;
        EXPECT_EQ(sitemap.leftOut, c.pages - c.written) << c.pages << ' ' << c.pathLength;
        EXPECT_LE(sitemap.xml.size(), kSitemapMaxBytes);
    }
}

TEST(Sitemap, PagesAreDatedByTheirFiles)
{
    const TempDir root;
    test::WriteFile(root / "index.html", "");
    test::WriteFile(root / "日本.html", "");
    const int64_t noon = UnixTimeOfLocalDateTime(*EncodeDateTime({2020, 2, 29, 12}));
    for (const char* name : {"index.html", "日本.html"}) {
        const timespec times[2] = {{noon, 0}, {noon, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (root / name).c_str(), times, 0), 0);
    }

    const std::vector<SitemapPage> pages = SitemapPagesOf(root.Path(), {"index.html", SJ("日本.html"), "gone.html"});
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].path, "index.html");
    EXPECT_EQ(pages[0].lastmod, "2020-02-29");
    EXPECT_EQ(pages[1].path, SJ("日本.html"));
    EXPECT_EQ(pages[1].lastmod, "2020-02-29");
    EXPECT_EQ(pages[2].lastmod, "");
}

} // namespace
