#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "core/site/PageTargets.h"
#include "core/site/SiteCheck.h"
#include "core/text/Codepage.h"

namespace tessaly {

void PrintTo(const PageTarget& target, std::ostream* out)
{
    *out << (target.kind == TargetKind::Image ? "image " : "link ") << target.address;
}

void PrintTo(const BrokenTarget& broken, std::ostream* out)
{
    *out << broken.page << ' ' << (broken.kind == TargetKind::Image ? "image " : "link ") << broken.target;
}

} // namespace tessaly

using namespace tessaly;
using namespace std::string_literals;
using tessaly::test::TempDir;
using tessaly::test::WriteFile;

namespace {

constexpr TargetKind kLink = TargetKind::Link;
constexpr TargetKind kImage = TargetKind::Image;

TEST(PageTargets, ReadAsBrowsersTokenizeThem)
{
    const struct {
        std::string html;
        std::vector<PageTarget> targets;
    } cases[] = {
        {"<a href=x.html><A HREF='y.html' href=\"z.html\">", {{"x.html", kLink}, {"y.html", kLink}}},
        {"<a title=\">\" href=\"v.html\"><p/><a/href=w.html/>", {{"v.html", kLink}, {"w.html/", kLink}}},
        {"<!-- <a href=\"c.html\"> --><!--><a href=\"d.html\"><!-- -- --!><a href=e.html>",
            {{"d.html", kLink}, {"e.html", kLink}}},
        {"<script>document.write('<a href=\"s.html\">')</script ><a href=t.html>"
         "<textarea><img src=u.gif></TEXTAREA><style></stylex><a href=v.html></style>",
            {{"t.html", kLink}}},
        {"</a href=\"end.html\"><? <a href=pi.html> ><a href=\"open.html\"", {}},
        {"<img src=i.gif srcset=\"a.gif 1x, b,c.gif 2x,d.gif\" alt=x><source srcset=\"e.gif (x, y) 100w\">",
            {{"i.gif", kImage}, {"a.gif", kImage}, {"b,c.gif", kImage}, {"d.gif", kImage}, {"e.gif", kImage}}},
        {"<input type=IMAGE src=go.gif><input src=text.gif><td background=bg.gif><video poster=p.jpg src=v.mp4>"
         "<frame src=f.html><iframe src=i.html></iframe><object data=o.swf><link rel=stylesheet href=s.css>",
            {{"go.gif", kImage}, {"bg.gif", kImage}, {"p.jpg", kImage}, {"v.mp4", kLink}, {"f.html", kLink},
                {"i.html", kLink}, {"o.swf", kLink}, {"s.css", kLink}}},
        // References: the common ones here, the others as the standard has
        // them (a name without ";" before "=" stays in a value).
        {"<a href=\"a&amp;b&#x41;&#66;&eacute;.html\"><a href='q?x=1&copy=2&lt=3'><a href=&#0;>",
            {{"a&bABé.html", kLink}, {"q?x=1&copy=2&lt=3", kLink}, {"\uFFFD", kLink}}},
        {"<a\0 href=no.html><a href=\"x\0y.html\">\xFF\xFE<img src=\x82\xA0.gif>"s,
            {{"x\0y.html"s, kLink}, {"\xE3\x81\x82.gif", kImage}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindPageTargets(c.html).targets, c.targets) << c.html;
    }
}

TEST(PageTargets, AddressesInThePagesEncoding)
{
    const std::string shiftJis = SJ("<a href=\"表示.html\">");
    const std::string utf8 = "<a href=\"表示.html\">";
    const struct {
        std::string html;
        std::string address;
    } cases[] = {
        {shiftJis, "表示.html"},
        {"<meta http-equiv=Content-Type content=\"text/html; charset=Shift_JIS\">" + shiftJis, "表示.html"},
        {"<meta charset=\" UTF-8 \">" + utf8, "表示.html"},
        {"<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html;charset='utf8'\">" + utf8, "表示.html"},
        {"\xEF\xBB\xBF" + utf8 + "<meta charset=shift_jis>", "表示.html"},
        {"<meta charset=euc-jp><meta charset=utf-8>" + shiftJis, "表示.html"},
    };
    for (const auto& c : cases) {
        const PageTargets found = FindPageTargets(c.html);
        ASSERT_EQ(found.targets.size(), 1u) << c.html;
        EXPECT_EQ(found.targets.front().address, c.address) << c.html;
    }
}

void WriteFiles(const TempDir& root, const std::vector<std::pair<std::string, std::string>>& files)
{
    for (const auto& [name, text] : files) {
        std::filesystem::create_directories((root / name).parent_path());
        WriteFile(root / name, text);
    }
}

// One link from sub/page.html at a time, with and without the site's
// address path.
TEST(SiteCheck, AddressesResolveAsInABrowser)
{
    const TempDir root;
    WriteFiles(root,
        {{"index.html", ""}, {"sub/a.html", ""}, {"dir/index.html", ""}, {"nodefault/x.txt", ""}, {"a&b.html", ""}});
    const struct {
        std::string href;
        bool broken;
        std::optional<std::string> basePath = std::nullopt;
        std::string defaultFile = "index.html";
    } cases[] = {
        {"a.html", false},
        {"./a.html?x=1#y", false},
        {"../index.html", false},
        {"../../index.html", false}, // above the root: not the site's
        {"?page=2", false},
        {"#top", false},
        {"", false},
        {" a\n.html\t", false},
        {"..\\index.html", false},
        {"%61.html", false},
        {"%2e%2E/index.html", false},
        {"../a&amp;b.html", false},
        {"b.html", true},
        {"a.html/", true},
        {"A.html", true},
        {"../dir", false},
        {"../dir/.", false},
        {"../nodefault/", true},
        {"../nodefault/", false, std::nullopt, "x.txt"},
        {"../", false},
        {"a%2Fb.html", true},
        {"a.html%00", true},
        {"/nowhere.html", false}, // not checked without the site's address
        {"/links/sub/a.html", false, "/links/"},
        {"/links/../links/dir/", false, "/links/"},
        {"/other/sub/a.html", false, "/links/"},
        {"../../links/index.html", false, "/links/"},
        {"../../index.html", false, "/links/"},
        {"../../../../index.html", false, "/"}, // a server's root is its own parent
        {"//example.jp/x.html", false},
        {"HTTP://example.jp/x.html", false},
        {"mailto:a@example.jp", false},
        {"javascript:void(0)", false},
        {"data:text/html,x", false},
        {"tel:0123", false},
    };
    for (const auto& c : cases) {
        WriteFile(root / "sub/page.html", "<a href=\"" + c.href + "\">");
        const SiteCheckResult result = CheckSite(root.Path(), {"sub/page.html"}, {c.defaultFile, c.basePath});
        EXPECT_EQ(result.broken.size(), c.broken ? 1u : 0u) << c.href << ' ' << c.basePath.value_or("");
        EXPECT_EQ(result.pages, 1u);
    }
}

TEST(SiteCheck, SmallSite)
{
    const TempDir root;
    WriteFiles(root,
        {
            {"index.html",
                SJ("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                   "<a href=\"genre/\">genre</a> <a href=\"genre/index.html?page=2#top\">2</a>"
                   "<a href=\"missing.html\">x</a><img src=\"images/gone.gif\"><img src=\"images/banner.gif\">"
                   "<a href=\"http://example.jp/x.html\">out</a><a href=\"表示.html\">sjis</a>"
                   "<a href=\"empty/\">empty</a><a href=\"../outside.html\">up</a>")},
            {"genre/index.html",
                "<meta charset=\"utf-8\"><a href=\"../表示.html\"></a><a href=\"../%E8%A1%A8%E7%A4%BA.html\"></a>"
                "<a href=\"../存在しない.html\"></a><img srcset=\"../images/banner.gif 1x, ../images/none.gif 2x\">"},
            {"表示.html", SJ("<a href=\"genre/\">up</a><a href=\"表示2.html\">")},
            {"images/banner.gif", "GIF89a"},
            {"empty/.keep", ""},
            {"notes.txt", "<a href=\"nowhere.html\">"},
        });
    const SitePages found = FindSitePages(root.Path());
    EXPECT_EQ(found.pages, (std::vector<std::string>{"genre/index.html", "index.html", "表示.html"}));
    EXPECT_TRUE(found.unread.empty());

    const SiteCheckResult result = CheckSite(root.Path(), found.pages);
    EXPECT_EQ(result.broken,
        (std::vector<BrokenTarget>{
            {"genre/index.html", "../存在しない.html", kLink},
            {"genre/index.html", "../images/none.gif", kImage},
            {"index.html", "missing.html", kLink},
            {"index.html", "images/gone.gif", kImage},
            {"index.html", "empty/", kLink},
            {"表示.html", "表示2.html", kLink},
        }));
    EXPECT_EQ(result.pages, 3u);
    EXPECT_TRUE(result.unread.empty());
}

TEST(SiteCheck, PagesThatCannotBeReadAreNamed)
{
    const TempDir root;
    WriteFiles(
        root, {{"a.html", "<a href=\"b.html\">"}, {"base.html", "<base href=\"http://example.jp/\"><a href=b.html>"}});
    std::filesystem::create_directory(root / "dir.html");
    const SiteCheckResult result = CheckSite(root.Path(), {"gone.html", "a.html", "dir.html", "base.html"});
    EXPECT_EQ(result.broken, (std::vector<BrokenTarget>{{"a.html", "b.html", kLink}}));
    ASSERT_EQ(result.unread.size(), 2u);
    EXPECT_EQ(result.unread[0].path, "dir.html");
    EXPECT_EQ(result.unread[1].path, "gone.html");
    EXPECT_EQ(result.pages, 2u);
}

} // namespace
