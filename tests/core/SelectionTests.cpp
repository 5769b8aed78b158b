#include <gtest/gtest.h>

#include "core/collection/Project.h"
#include "core/output/Selection.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"

using namespace tessaly;

namespace {

TLinkItem Item(int serial, const std::string& genre, const char* kana, int status = 0, int day = 1)
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = genre;
    item.Status = status;
    item.Title = "t" + std::to_string(serial);
    item.TitleKana = SJ(kana);
    item.Author = "a";
    item.AuthorKana = SJ("あ");
    item.Url = "host" + std::to_string(serial) + ".jp/page";
    item.Date = *EncodeDateTime({2003, 5, day});
    return item;
}

struct Fixture {
    Project project;
    Fixture()
    {
        const std::size_t a = project.AddGenre("A");
        const std::size_t b = project.AddGenre("B");
        project.Genres[0].Lines = {ItemToLine(Item(1, "", "う"))};
        project.Genres[a].Lines
            = {ItemToLine(Item(2, "A", "い")), ItemToLine(Item(3, "A", "あ", 6)), ItemToLine(Item(4, "A", "え", 0, 3))};
        project.Genres[b].Lines = {ItemToLine(Item(5, "B", "お", 4, 2))};
        project.Genres.back().Lines = {ItemToLine(Item(6, "", "か"))};
    }

    std::vector<int> Serials(const TSqueeze& criteria, SelectOptions options = {})
    {
        std::vector<std::string> lines;
        SelectItems(project, criteria, lines, options);
        std::vector<int> serials;
        for (const std::string& line : lines) {
            serials.push_back(LineToItem(line).Serial);
        }
        return serials;
    }
};

TSqueeze Reset()
{
    TSqueeze criteria;
    ResetSqueeze(criteria, *EncodeDateTime({2003, 5, 1}));
    return criteria;
}

TEST(Selection, ResetCriteriaSelectFiledItemsInStoredOrder)
{
    Fixture f;
    EXPECT_EQ(f.Serials(Reset()), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(f.Serials(Reset(), {false, true, false}), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(Selection, ImportanceFirstWhateverTheDirection)
{
    Fixture f;
    TSqueeze criteria = Reset();
    EXPECT_EQ(f.Serials(criteria, {false, false, true}), (std::vector<int>{3, 5, 2, 4}));
    criteria.sortDir = 1;
    EXPECT_EQ(f.Serials(criteria, {false, false, true}), (std::vector<int>{3, 5, 4, 2}));
    criteria.sortBy = 2; // newest first, then by reading; reversed
    criteria.sortDir = 0;
    EXPECT_EQ(f.Serials(criteria, {false, false, true}), (std::vector<int>{3, 5, 4, 2}));
    criteria.sortDir = 1;
    EXPECT_EQ(f.Serials(criteria, {false, false, true}), (std::vector<int>{3, 5, 2, 4}));
}

TEST(Selection, EqualKeysKeepCollectionOrder)
{
    Project project;
    const std::size_t g = project.AddGenre("G");
    for (int i = 1; i <= 30; ++i) {
        project.Genres[g].Lines.push_back(ItemToLine(Item(i, "G", "あ")));
    }
    std::vector<std::string> lines;
    SelectItems(project, Reset(), lines, {false, false, true});
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(LineToItem(lines[static_cast<std::size_t>(i)]).Serial, i + 1);
    }
}

TEST(Selection, Criteria)
{
    Fixture f;
    TSqueeze genre = Reset();
    genre.genre = "B";
    EXPECT_EQ(f.Serials(genre), std::vector<int>{5});
    genre.genre = "b"; // exact match only
    EXPECT_TRUE(f.Serials(genre).empty());

    TSqueeze date = Reset();
    date.dateMode = 1;
    date.date1 = *EncodeDateTime({2003, 5, 3, 23, 59, 0});
    EXPECT_EQ(f.Serials(date), std::vector<int>{4});
    date.dateMode = 3;
    date.date1 = *EncodeDateTime({2003, 5, 2});
    EXPECT_EQ(f.Serials(date), (std::vector<int>{4, 5}));

    TSqueeze status = Reset();
    status.status = 7; // high
    EXPECT_EQ(f.Serials(status), std::vector<int>{3});

    TSqueeze range = Reset();
    range.titleRange.set();
    EXPECT_EQ(f.Serials(range).size(), 4u); // all flags set: no narrowing
    range.titleRange.reset();
    TextToKanaRange(SJ("あ-う"), range.titleRange);
    EXPECT_EQ(f.Serials(range), (std::vector<int>{2, 3}));
}

TEST(Selection, TagsKeywordAndDomain)
{
    Project project;
    const std::size_t g = project.AddGenre("G");
    TLinkItem a = Item(1, "G", "あ");
    a.Attributes = "New/" + EscapeField("a/b");
    a.Comment = "Hello World";
    TLinkItem b = Item(2, "G", "い");
    b.Attributes = "old";
    b.Url = "nohost";
    b.Banner = "banner.example.jp/x.gif";
    project.Genres[g].Lines = {ItemToLine(a), ItemToLine(b)};
    const auto serials = [&](const TSqueeze& criteria) {
        std::vector<std::string> lines;
        SelectItems(project, criteria, lines, {});
        std::vector<int> result;
        for (const std::string& line : lines) {
            result.push_back(LineToItem(line).Serial);
        }
        return result;
    };
    TSqueeze tags = Reset();
    tags.attrAnd = {"new", "a/b"};
    EXPECT_EQ(serials(tags), std::vector<int>{1});
    tags = Reset();
    tags.attrOr = {"x", "OLD"};
    EXPECT_EQ(serials(tags), std::vector<int>{2});
    tags = Reset();
    tags.attrNot = {"new"};
    EXPECT_EQ(serials(tags), std::vector<int>{2});

    TSqueeze keyword = Reset();
    keyword.keyword = "world";
    EXPECT_EQ(serials(keyword), std::vector<int>{1});
    keyword.ignoreCase = false;
    EXPECT_TRUE(serials(keyword).empty());
    keyword.ignoreCase = true;
    keyword.inComment = false;
    EXPECT_TRUE(serials(keyword).empty());

    TSqueeze domain = Reset();
    domain.domain = "BANNER.example";
    EXPECT_EQ(serials(domain), std::vector<int>{2}); // page URL without "/" has no host part
    domain.domain = "host1.jp/";
    EXPECT_EQ(serials(domain), std::vector<int>{1});

    // The host of an address stored with its scheme begins after it.
    b.Url = "https://secure.example/";
    b.Banner.clear();
    project.Genres[g].Lines = {ItemToLine(a), ItemToLine(b)};
    domain.domain = "https";
    EXPECT_TRUE(serials(domain).empty());
    domain.domain = "secure.example/";
    EXPECT_EQ(serials(domain), std::vector<int>{2});
}

struct RangeCase {
    uint8_t mode;
    int32_t start;
    int32_t end;
    std::size_t first;
    std::size_t last;
};

class Ranges : public ::testing::TestWithParam<RangeCase> { };

TEST_P(Ranges, KeepThePartAsked)
{
    TSqueeze criteria;
    criteria.rangeMode = GetParam().mode;
    criteria.rangeStart = GetParam().start;
    criteria.rangeEnd = GetParam().end;
    EXPECT_EQ(RangeBounds(35, criteria), std::make_pair(GetParam().first, GetParam().last));
}

INSTANTIATE_TEST_SUITE_P(Modes, Ranges,
    ::testing::Values(RangeCase{0, 5, 6, 0, 35}, RangeCase{1, 3, 0, 2, 3}, RangeCase{2, 21, 40, 20, 35},
        RangeCase{2, 0, 10, 0, 10}, RangeCase{3, 30, 0, 29, 35}, RangeCase{4, 0, 5, 0, 5}, RangeCase{2, 40, 50, 35, 35},
        RangeCase{2, 10, 5, 5, 5}, RangeCase{4, 0, -3, 0, 0}));

TEST(Selection, ExtractPutsCutItemsBackAtTheEndOfTheirGenres)
{
    Fixture f;
    TSqueeze criteria = Reset();
    criteria.rangeMode = 1;
    criteria.rangeStart = 2; // after sorting: 3, 5, 2, 4 -> keeps 5
    EXPECT_EQ(f.Serials(criteria, {true, false, true}), std::vector<int>{5});
    const std::size_t a = *f.project.FindGenre("A");
    std::vector<int> left;
    for (const std::string& line : f.project.Genres[a].Lines) {
        left.push_back(LineToItem(line).Serial);
    }
    EXPECT_EQ(left, (std::vector<int>{3, 2, 4}));
    EXPECT_TRUE(f.project.Genres[*f.project.FindGenre("B")].Lines.empty());
    EXPECT_EQ(f.project.Genres[0].Lines.size(), 1u);
}

TEST(Selection, ExtractLeavesTheOtherLinesAsTheyWere)
{
    Fixture f;
    const Project before = f.project;
    TSqueeze criteria = Reset();
    criteria.genre = "B";
    EXPECT_EQ(f.Serials(criteria, {true, true, false}), std::vector<int>{5});
    const std::size_t b = *f.project.FindGenre("B");
    for (std::size_t g = 0; g < f.project.Genres.size(); ++g) {
        if (g != b) {
            EXPECT_EQ(f.project.Genres[g].Lines, before.Genres[g].Lines) << g;
        }
    }
    EXPECT_TRUE(f.project.Genres[b].Lines.empty());
}

} // namespace
