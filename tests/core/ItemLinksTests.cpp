// Which links of which items a check asks about, the marks and new
// addresses it leads to, and its CSV report.

#include <gtest/gtest.h>

#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/collection/ShownItems.h"
#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkReport.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Csv.h"

using namespace tessaly;

namespace {

TLinkItem Item(int32_t serial, std::string url, std::string banner = {}, int32_t status = 0)
{
    TLinkItem item;
    item.Serial = serial;
    item.Title = "T" + std::to_string(serial);
    item.TitleKana = SJ("て");
    item.AuthorKana = SJ("あ");
    item.Url = std::move(url);
    item.Banner = std::move(banner);
    item.Status = status;
    return item;
}

ItemPlace Row(std::size_t row)
{
    return {ItemPlace::In::Row, 0, row};
}

ItemPlace Line(std::size_t genre, std::size_t line)
{
    return {ItemPlace::In::Line, genre, line};
}

TEST(ItemLinks, PageAndBannerAddressesByTheHttpsRule)
{
    std::vector<TLinkItem> rows = {Item(1, "www.alpha.jp/", "%%alpha.gif"), Item(2, "https://secure.example/x"),
        Item(3, "", "img.example/b.gif"), Item(4, "mailto:someone@example.jp"), Item(5, "ftp://files.example/"),
        Item(6, " www.blank.jp/ ", " ")};
    const ItemLinks links = LinksOfItems(ItemsOfRows(rows, {0, 1, 2, 3, 4, 5}), "/site/banner");
    struct Expected {
        ItemPlace place;
        LinkField field;
        std::string shown;
        LinkToCheck check;
    };
    const std::vector<Expected> expected = {
        {Row(0), LinkField::Page, "http://www.alpha.jp/", {"http://www.alpha.jp/", false}},
        {Row(0), LinkField::Banner, "/site/banner/alpha.gif", {"/site/banner/alpha.gif", true}},
        {Row(1), LinkField::Page, "https://secure.example/x", {"https://secure.example/x", false}},
        {Row(2), LinkField::Banner, "http://img.example/b.gif", {"http://img.example/b.gif", false}},
        {Row(5), LinkField::Page, "http://www.blank.jp/", {"http://www.blank.jp/", false}},
    };
    ASSERT_EQ(links.links.size(), expected.size());
    ASSERT_EQ(links.toCheck.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(links.links[i].place, expected[i].place);
        EXPECT_EQ(links.links[i].field, expected[i].field);
        EXPECT_EQ(links.links[i].shown, expected[i].shown);
        EXPECT_EQ(links.toCheck[i].address, expected[i].check.address);
        EXPECT_EQ(links.toCheck[i].localFile, expected[i].check.localFile);
    }
    EXPECT_EQ(links.links[0].title, "T1");
    EXPECT_EQ(links.links[0].serial, 1);
    EXPECT_EQ(links.skipped, 2u);
}

TEST(ItemLinks, BannerInTheBannerDirectoryWithoutOne)
{
    std::vector<TLinkItem> rows = {Item(1, "", "%%alpha.gif")};
    const ItemLinks links = LinksOfItems(ItemsOfRows(rows, {0}), "");
    ASSERT_EQ(links.toCheck.size(), 1u);
    EXPECT_TRUE(links.toCheck[0].localFile);
    EXPECT_EQ(links.toCheck[0].address, "");
    EXPECT_EQ(links.links[0].shown, "%%alpha.gif");
}

TEST(ItemLinks, RequestUrls)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"www.alpha.jp/", "http://www.alpha.jp/"},
        {"www.alpha.jp", "http://www.alpha.jp"},
        {"HTTPS://A.example/x?q=1#top", "HTTPS://A.example/x?q=1#top"},
        {"www.alpha.jp/a b", "http://www.alpha.jp/a%20b"},
        {"www.alpha.jp/%41{x}", "http://www.alpha.jp/%41%7Bx%7D"},
        // "日本" in code page 932 goes as UTF-8, percent-encoded after the host.
        {"www.alpha.jp/" + SJ("日本"), "http://www.alpha.jp/%E6%97%A5%E6%9C%AC"},
        // A host in other letters in its ASCII form, whatever the locale.
        {SJ("日本.jp") + "/", "http://xn--wgv71a.jp/"},
        {"https://user@" + SJ("ＥＸＡＭＰＬＥ.日本:8080") + "?q", "https://user@example.xn--wgv71a:8080?q"},
        // Bytes that are not code page 932 are sent as they are, encoded.
        {"www.alpha.jp/\x81", "http://www.alpha.jp/%81"},
    };
    for (const auto& [stored, url] : cases) {
        EXPECT_EQ(RequestUrl(stored), url) << stored;
    }
}

TEST(ItemLinks, NewAddressesOnlyOnHttpAndHttps)
{
    const std::vector<std::pair<std::string, bool>> cases = {{"http://a.jp/", true}, {"https://a.jp/x", true},
        {"HTTPS://A.JP/", true}, {"ftp://a.jp/", false}, {"javascript:alert(1)", false}, {"/relative", false},
        {"http://a.jp/\xE6\x97\xA5", false}, {"http://a.jp/a b", true}, {"http://@/", false}, {"", false}};
    for (const auto& [url, takes] : cases) {
        EXPECT_EQ(CanTakeNewUrl(url), takes) << url;
    }
}

class CollectionOfLinks : public ::testing::Test {
protected:
    CollectionOfLinks()
    {
        project_.AddGenre("A");
        project_.Genres[0].Lines = {ItemToLine(Item(1, "one.jp/")), ItemToLine(Item(2, "two.jp/", "", 2))};
        project_.Genres[1].Lines = {ItemToLine(Item(3, "three.jp/")), ItemToLine(Item(4, "four.jp/", "b.jp/b.gif"))};
        project_.Genres.back().Lines = {ItemToLine(Item(9, "trash.jp/"))};
    }

    std::vector<int32_t> Serials(const std::vector<PlacedItem>& items) const
    {
        std::vector<int32_t> serials;
        for (const PlacedItem& placed : items) {
            serials.push_back(placed.item.Serial);
        }
        return serials;
    }

    Project project_;
};

TEST_F(CollectionOfLinks, TheWholeCollectionButTheTrash)
{
    const std::vector<PlacedItem> items = ItemsOfCollection(project_);
    EXPECT_EQ(Serials(items), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(items[2].place, Line(1, 0));
    EXPECT_EQ(Serials(ItemsOfGenre(project_, 1)), (std::vector<int32_t>{3, 4}));
    EXPECT_TRUE(ItemsOfGenre(project_, project_.TrashIndex()).empty());
}

TEST_F(CollectionOfLinks, TheShownRowsStandForTheirGenre)
{
    ShownItems shown(project_);
    shown.SelectGenre(1);
    shown.LoadGenreIntoList();
    shown.Rows()[0].Url = "edited.jp/";
    const std::vector<PlacedItem> items = ItemsOfCollection(project_, &shown);
    EXPECT_EQ(Serials(items), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(items[2].place, Row(0));
    EXPECT_EQ(items[2].item.Url, "edited.jp/");
}

TEST_F(CollectionOfLinks, InASearchModeTheFoundRowsComeFirst)
{
    ShownItems shown(project_);
    shown.SetSearchMode(true);
    shown.Rows().push_back(Item(7, "found.jp/"));
    EXPECT_EQ(Serials(ItemsOfCollection(project_, &shown)), (std::vector<int32_t>{7, 1, 2, 3, 4}));
}

TEST_F(CollectionOfLinks, MarkingSetsTheWarningOnceOnRowsAndLines)
{
    std::vector<TLinkItem> rows = {Item(5, "five.jp/"), Item(6, "six.jp/", "", 2)};
    const std::vector<ItemPlace> places = {Row(0), Row(0), Row(1), Row(7), Line(0, 0), Line(0, 1), Line(1, 1),
        Line(1, 1), Line(1, 5), Line(project_.TrashIndex(), 0)};
    EXPECT_EQ(MarkItemsFailed(project_, rows, places), 3u);
    EXPECT_EQ(rows[0].Status, 2);
    EXPECT_EQ(LineToItem(project_.Genres[0].Lines[0]).Status, 2);
    EXPECT_EQ(LineToItem(project_.Genres[1].Lines[0]).Status, 0);
    EXPECT_EQ(LineToItem(project_.Genres[1].Lines[1]).Status, 2);
    EXPECT_EQ(LineToItem(project_.Genres.back().Lines[0]).Status, 0);
    EXPECT_EQ(MarkItemsFailed(project_, rows, places), 0u);
}

// The status field also holds the user's own marks; the warning replaces
// none of them.
TEST_F(CollectionOfLinks, MarkingKeepsTheUsersMarks)
{
    std::vector<TLinkItem> rows;
    std::vector<ItemPlace> places;
    for (int32_t status = 0; status < kStatusCount; ++status) {
        rows.push_back(Item(10 + status, "x.jp/", "", status));
        places.push_back(Row(static_cast<std::size_t>(status)));
    }
    project_.Genres[1].Lines[0] = ItemToLine(Item(3, "three.jp/", "", 6));
    places.push_back(Line(1, 0));
    std::vector<UnmarkedItem> notMarked;
    EXPECT_EQ(MarkItemsFailed(project_, rows, places, &notMarked), 1u);
    const std::vector<int32_t> expected = {2, 1, 2, 3, 4, 5, 6};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Status, expected[i]) << i;
    }
    EXPECT_EQ(LineToItem(project_.Genres[1].Lines[0]).Status, 6);
    std::vector<std::pair<std::size_t, int32_t>> listed;
    for (const UnmarkedItem& item : notMarked) {
        EXPECT_EQ(item.place, places[item.which]);
        listed.emplace_back(item.which, item.status);
    }
    EXPECT_EQ(listed, (std::vector<std::pair<std::size_t, int32_t>>{{1, 1}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 6}}));
}

TEST_F(CollectionOfLinks, UpdatingStoresTheNewAddressLikeATypedOne)
{
    std::vector<TLinkItem> rows = {Item(5, "five.jp/")};
    const std::vector<AddressUpdate> updates
        = {{Row(0), LinkField::Page, "http://new.five.jp/"}, {Line(0, 0), LinkField::Page, "https://one.jp/"},
            {Line(1, 1), LinkField::Banner, "HTTP://b.jp/new.gif"}, {Line(1, 0), LinkField::Page, "ftp://three.jp/"},
            {Line(1, 9), LinkField::Page, "http://x.jp/"}, {Line(0, 1), LinkField::Page, "http://two.jp/"}};
    EXPECT_EQ(UpdateAddresses(project_, rows, updates), 3u);
    EXPECT_EQ(rows[0].Url, "new.five.jp/");
    EXPECT_EQ(LineToItem(project_.Genres[0].Lines[0]).Url, "https://one.jp/");
    EXPECT_EQ(LineToItem(project_.Genres[1].Lines[1]).Banner, "b.jp/new.gif");
    EXPECT_EQ(LineToItem(project_.Genres[1].Lines[1]).Url, "four.jp/");
    EXPECT_EQ(LineToItem(project_.Genres[1].Lines[0]).Url, "three.jp/");
}

// A server's redirect target becomes the stored address, which pages write
// into href="...".
TEST_F(CollectionOfLinks, UpdatesTakeNoMarkupAndNoUserInfo)
{
    std::vector<TLinkItem> rows = {Item(5, "five.jp/"), Item(6, "six.jp/")};
    const std::vector<AddressUpdate> updates = {{Row(0), LinkField::Page, "http://x.jp/\"onmouseover=alert(1)"},
        {Row(1), LinkField::Page, "http://mailto:x@host.example/"}};
    EXPECT_EQ(UpdateAddresses(project_, rows, updates), 2u);
    EXPECT_EQ(rows[0].Url, "x.jp/%22onmouseover=alert(1)");
    EXPECT_EQ(rows[1].Url, "host.example/");
}

// A whole run: the links of a collection checked against the loopback
// server, the failed items marked, the moved addresses taken, the project
// saved and read again.
TEST_F(CollectionOfLinks, CheckMarkUpdateAndSave)
{
    test::LoopbackHttpServer server;
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    server.Answer("/ok", {});
    server.Answer("/old", {301, "/new"});
    server.Answer("/new", {});
    project_.Genres[0].Lines = {ItemToLine(Item(1, host + "/ok")), ItemToLine(Item(2, host + "/old"))};
    project_.Genres[1].Lines = {ItemToLine(Item(3, host + "/dead")), ItemToLine(Item(4, host + "/ok", host + "/gone"))};

    const ItemLinks links = LinksOfItems(ItemsOfCollection(project_), "");
    ASSERT_EQ(links.links.size(), 5u);
    std::vector<LinkCheckResult> results;
    RunLinkCheck(links.toCheck, {}, [&](const LinkCheckResult& result) { results.push_back(result); });
    ASSERT_EQ(results.size(), 5u);
    std::vector<ItemPlace> failed;
    std::vector<AddressUpdate> moved;
    for (const LinkCheckResult& result : results) {
        const ItemLink& link = links.links[result.index];
        if (!IsAlive(result.result)) {
            failed.push_back(link.place);
        } else if (result.result == LinkResult::Moved) {
            moved.push_back({link.place, link.field, result.newUrl});
        }
    }
    std::vector<TLinkItem> noRows;
    EXPECT_EQ(MarkItemsFailed(project_, noRows, failed), 2u);
    EXPECT_EQ(UpdateAddresses(project_, noRows, moved), 1u);

    test::TempDir directory;
    ASSERT_TRUE(SaveProjectFile(project_, directory / "links.TSP").ok);
    Project again;
    ASSERT_EQ(LoadProjectFile(again, directory / "links.TSP").result, LoadOutcome::Result::Loaded);
    const std::vector<PlacedItem> items = ItemsOfCollection(again);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].item.Status, 0);
    EXPECT_EQ(items[1].item.Status, 0);
    EXPECT_EQ(items[1].item.Url, host + "/new");
    EXPECT_EQ(items[2].item.Status, 2);
    EXPECT_EQ(items[3].item.Status, 2);
    EXPECT_EQ(items[3].item.Url, host + "/ok");
}

TEST(Csv, ValuesQuotedOnlyWhenTheyMustBe)
{
    const std::vector<std::pair<std::string, std::string>> cases = {{"plain", "plain"}, {"", ""}, {"A, B", "\"A, B\""},
        {"a\"b", "\"a\"\"b\""}, {"two\r\nlines", "\"two\r\nlines\""}, {"a b", "\"a b\""}, {SJ("ソフト"), SJ("ソフト")},
        {SJ("表示"), SJ("表示")}};
    for (const auto& [value, written] : cases) {
        EXPECT_EQ(CsvValue(value), written) << value;
    }
    EXPECT_EQ(CsvLine({"a", "", "b,c"}), "a,,\"b,c\"\r\n");
}

TEST(LinkReport, OneLineForEachResult)
{
    std::vector<TLinkItem> rows = {Item(7, "a.jp/", "%%a.gif")};
    rows[0].Title = "A, B";
    const ItemLinks links = LinksOfItems(ItemsOfRows(rows, {0}), "/b");
    LinkCheckResult moved;
    moved.index = 0;
    moved.result = LinkResult::Moved;
    moved.code = 200;
    moved.newUrl = "https://a.jp/";
    moved.finalUrl = "https://a.jp/";
    moved.time = std::chrono::milliseconds(1250);
    LinkCheckResult missing;
    missing.index = 1;
    missing.result = LinkResult::Missing;
    missing.detail = Utf8Text("no such file");
    missing.detailLabel = SjisText(SJ("ファイルがありません"));
    missing.time = std::chrono::milliseconds(3);
    const std::string expected = SJ("シリアル,タイトル,種類,URL,結果,コード,新しいURL,最終URL,時間(秒),詳細\r\n")
        + "0007,\"A, B\"," + SJ("ページ") + ",http://a.jp/," + SJ("移転")
        + ",200,https://a.jp/,https://a.jp/,1.250,\r\n" + "0007,\"A, B\"," + SJ("バナー") + ",/b/a.gif,"
        + SJ("ファイルなし") + ",,,,0.003," + SJ("ファイルがありません") + "\r\n";
    EXPECT_EQ(LinkReportText(links.links, {moved, missing}).bytes(), expected);
}

} // namespace
