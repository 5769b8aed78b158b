#include <string>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "support/XmlLint.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/site/Feed.h"
#include "core/text/Codepage.h"

using namespace tessaly;
using tessaly::test::LocalPath;
using tessaly::test::XmlLint;

namespace {

std::string Line(int32_t serial, std::string title, std::string url, std::string_view date, std::string author = {},
    std::string comment = {})
{
    TLinkItem item;
    item.Serial = serial;
    item.Title = std::move(title);
    item.TitleKana = SJ("あ");
    item.AuthorKana = SJ("あ");
    item.Url = std::move(url);
    item.Author = std::move(author);
    item.Comment = std::move(comment);
    item.Date = *ParseDateTime(date);
    return ItemToLine(item);
}

// The collection's dates are local time; the feed gives them with the
// offset of the time zone the test sets.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* was = std::getenv("TZ")) {
            previous_ = was;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (previous_) {
            ::setenv("TZ", previous_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

// xmllint reads the feed, and finds what RFC 4287 requires of a feed once
// and of each of its entries.
void ExpectAtom(const std::string& feed)
{
    const XmlLint lint(feed);
    ASSERT_EQ(lint.Errors(), "");
    const std::string entries = lint.Value("count(" + LocalPath("feed/entry") + ")");
    std::string counts = "concat(count(/*[local-name()=\"feed\" and namespace-uri()=\"http://www.w3.org/2005/Atom\"])";
    std::string expected = "1";
    for (const char* once : {"feed/id", "feed/title", "feed/updated", "feed/author/name"}) {
        counts += ", \" \", count(" + LocalPath(once) + ")";
        expected += " 1";
    }
    for (const char* each : {"feed/entry/id", "feed/entry/title", "feed/entry/updated", "feed/entry/link"}) {
        counts += ", \" \", count(" + LocalPath(each) + ")";
        expected += " " + entries;
    }
    EXPECT_EQ(lint.Value(counts + ")"), expected);
}

TEST(Feed, NewestItemsOfTheUserGenres)
{
    const ScopedTimeZone utc("UTC0");
    Project project;
    project.Title = SJ("リンク集");
    project.AuthorName = "Hanako";
    const std::size_t g = project.AddGenre("G");
    const std::size_t h = project.AddGenre("H");
    project.Genres[0].Lines = {Line(9, "Unfiled", "u.jp/", "2027/01/01")};
    project.Genres[g].Lines = {Line(2, "Beta", "example.jp/b", "2026/12/09", "Ann", "two\r\nlines"),
        Line(3, "Gamma", "https://example.jp/g", "2026/12/09")};
    project.Genres[h].Lines = {Line(1, "Files", "ftp://files.example/", "2026/12/10 18:30"),
        Line(4, SJ("日本"), SJ("example.jp/日本/"), "2026/11/30"), Line(5, "Old", "old.jp/", "2000/01/01")};
    project.Genres.back().Lines = {Line(8, "Trash", "t.jp/", "2027/01/01")};
    const FixedClock clock(*ParseDateTime("2030/01/01"));

    const std::string feed = AtomFeed(project, "https://example.jp/links/", 3, clock);
    EXPECT_EQ(feed,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n"
        "  <id>https://example.jp/links/</id>\n"
        "  <title>リンク集</title>\n"
        "  <updated>2026-12-10T18:30:00Z</updated>\n"
        "  <link rel=\"alternate\" href=\"https://example.jp/links/\"/>\n"
        "  <link rel=\"self\" href=\"https://example.jp/links/feed.xml\"/>\n"
        "  <author>\n"
        "    <name>Hanako</name>\n"
        "  </author>\n"
        "  <generator>Tessaly</generator>\n"
        "  <entry>\n"
        "    <id>https://example.jp/links/#item-3</id>\n"
        "    <title>Gamma</title>\n"
        "    <updated>2026-12-09T00:00:00Z</updated>\n"
        "    <link rel=\"alternate\" href=\"https://example.jp/g\"/>\n"
        "  </entry>\n"
        "  <entry>\n"
        "    <id>https://example.jp/links/#item-2</id>\n"
        "    <title>Beta</title>\n"
        "    <updated>2026-12-09T00:00:00Z</updated>\n"
        "    <link rel=\"alternate\" href=\"http://example.jp/b\"/>\n"
        "    <author>\n"
        "      <name>Ann</name>\n"
        "    </author>\n"
        "    <summary>two\nlines</summary>\n"
        "  </entry>\n"
        "  <entry>\n"
        "    <id>https://example.jp/links/#item-4</id>\n"
        "    <title>日本</title>\n"
        "    <updated>2026-11-30T00:00:00Z</updated>\n"
        "    <link rel=\"alternate\" href=\"http://example.jp/日本/\"/>\n"
        "  </entry>\n"
        "</feed>\n");
    ExpectAtom(feed);
}

TEST(Feed, WithoutItemsTitleOrOwner)
{
    const ScopedTimeZone japan("JST-9");
    Project project;
    project.AddGenre("G");
    const FixedClock clock(*ParseDateTime("2026/12/24 15:00"));

    const std::string feed = AtomFeed(project, "http://example.jp/", 10, clock);
    EXPECT_EQ(feed,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n"
        "  <id>http://example.jp/</id>\n"
        "  <title>http://example.jp/</title>\n"
        "  <updated>2026-12-24T15:00:00+09:00</updated>\n"
        "  <link rel=\"alternate\" href=\"http://example.jp/\"/>\n"
        "  <link rel=\"self\" href=\"http://example.jp/feed.xml\"/>\n"
        "  <author>\n"
        "    <name>http://example.jp/</name>\n"
        "  </author>\n"
        "  <generator>Tessaly</generator>\n"
        "</feed>\n");
    ExpectAtom(feed);
}

// Markup, CDATA ends and control characters in every text of the
// collection come out of the parser as text, the characters XML cannot
// hold left out.
TEST(Feed, HostileTextsStayText)
{
    const std::string hostile = SJ("<b>&amp;]]>\x01\x1B\x7F表示\"'");
    const std::string asRead = "<b>&amp;]]>\x7F表示\"'";
    Project project;
    project.Title = hostile;
    const std::size_t g = project.AddGenre("G");
    project.Genres[g].Lines = {Line(1, hostile, "example.jp/\"><script>", "2026/12/09", hostile, hostile)};
    const FixedClock clock(*ParseDateTime("2030/01/01"));

    const std::string feed = AtomFeed(project, "https://example.jp/", 5, clock);
    ExpectAtom(feed);
    const XmlLint lint(feed);
    for (const char* text :
        {"feed/title", "feed/author/name", "feed/entry/title", "feed/entry/author/name", "feed/entry/summary"}) {
        EXPECT_EQ(lint.Value("string(" + LocalPath(text) + ")"), asRead) << text;
    }
    EXPECT_EQ(lint.Value("string(" + LocalPath("feed/entry/link") + "/@href)"), "http://example.jp/%22%3E%3Cscript%3E");
}

} // namespace
