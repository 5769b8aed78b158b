#include <gtest/gtest.h>

#include <algorithm>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/search/SearchMode.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TLinkItem Item(int serial, std::string genre, std::string title, std::string url, std::string banner = {})
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = std::move(genre);
    item.Title = std::move(title);
    item.TitleKana = SJ("てっさり");
    item.Author = "Ann";
    item.AuthorKana = SJ("あん");
    item.Url = std::move(url);
    item.Banner = std::move(banner);
    item.Date = *EncodeDateTime({2003, 5, 17});
    return item;
}

// 1 and 6 unfiled, 2 and 3 in "Web", 5 in "Old", 4 in the trash.
struct Collection {
    Project project;
    ShownItems shown{project};

    Collection()
    {
        project.AddGenre("Web");
        project.AddGenre("Old");
        TLinkItem one = Item(1, "", "Tessaly", "www.tessaly.jp/");
        one.Comment = SJ("全角のＡＢＣ");
        // "表" ends in the byte of "\", "ア" in the byte of "A".
        TLinkItem two = Item(2, "Web", SJ("表示"), "nodomain", "img.banner.jp/b.gif");
        two.Author = SJ("ア");
        TLinkItem three = Item(3, "Web", "STAR", "https://secure.example.jp/x");
        three.TitleKana = SJ("すた");
        project.Genres[0].Lines = {ItemToLine(one), ItemToLine(Item(6, "", "Moon", "WWW.Tessaly.jp/moon.html"))};
        project.Genres[1].Lines = {ItemToLine(two), ItemToLine(three)};
        project.Genres[2].Lines = {ItemToLine(Item(5, "Old", "Old", "old.example/"))};
        project.Genres[3].Lines = {ItemToLine(Item(4, "", "Tessaly trash", "trash.example/"))};
    }

    std::vector<int> Found(const TSqueeze& criteria)
    {
        std::vector<int> serials;
        for (const std::string& line : ExtractMatchingItems(project, criteria)) {
            serials.push_back(LineToItem(line).Serial);
        }
        return serials;
    }

    std::vector<std::string> AllLinesSorted() const
    {
        std::vector<std::string> lines;
        for (const Genre& genre : project.Genres) {
            lines.insert(lines.end(), genre.Lines.begin(), genre.Lines.end());
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    std::vector<int> SerialsOf(std::size_t genre) const
    {
        std::vector<int> serials;
        for (const std::string& line : project.Genres[genre].Lines) {
            serials.push_back(LineToItem(line).Serial);
        }
        return serials;
    }
};

enum Fields : unsigned { kTitle = 1, kTitleKana = 2, kAuthor = 4, kAuthorKana = 8, kComment = 16, kAll = 31 };

struct KeywordCase {
    const char* keyword;
    bool ignoreCase;
    unsigned fields;
    std::vector<int> found;
};

class KeywordSearch : public testing::TestWithParam<KeywordCase> { };

TEST_P(KeywordSearch, FindsTheHandCheckedItems)
{
    const KeywordCase& c = GetParam();
    TSqueeze criteria = SearchCriteria();
    criteria.keyword = SJ(c.keyword);
    criteria.ignoreCase = c.ignoreCase;
    criteria.inTitle = (c.fields & kTitle) != 0;
    criteria.inTitleKana = (c.fields & kTitleKana) != 0;
    criteria.inAuthor = (c.fields & kAuthor) != 0;
    criteria.inAuthorKana = (c.fields & kAuthorKana) != 0;
    criteria.inComment = (c.fields & kComment) != 0;
    Collection collection;
    EXPECT_EQ(collection.Found(criteria), c.found);
}

INSTANTIATE_TEST_SUITE_P(SearchMode, KeywordSearch,
    testing::Values(KeywordCase{"", true, kAll, {1, 6, 2, 3, 5}}, // the trash is never searched
        KeywordCase{"tessaly", true, kAll, {1}}, KeywordCase{"tessaly", false, kAll, {}},
        KeywordCase{"Tessaly", false, kAll, {1}}, KeywordCase{"star", true, kAll, {3}},
        KeywordCase{"Star", false, kAll, {}}, KeywordCase{"STAR", false, kTitle, {3}},
        KeywordCase{"STAR", false, kAll & ~kTitle, {}},
        // The fields run together without separators.
        KeywordCase{"lyてっ", true, kTitle | kTitleKana, {1}}, KeywordCase{"lyてっ", true, kTitle | kAuthor, {}},
        KeywordCase{"すたAnn", false, kAll, {3}},
        // Only single-byte letters fold.
        KeywordCase{"ＡＢＣ", true, kComment, {1}}, KeywordCase{"ａｂｃ", true, kComment, {}},
        // Never inside a double-byte character.
        KeywordCase{"\\", true, kAll, {}}, KeywordCase{"A", false, kAuthor, {1, 6, 3, 5}},
        KeywordCase{"Ann", true, 0, {}}));

struct DomainCase {
    const char* domain;
    bool ignoreCase;
    std::vector<int> found;
};

class DomainSearch : public testing::TestWithParam<DomainCase> { };

TEST_P(DomainSearch, LooksAtThePageThenTheBannerHost)
{
    const DomainCase& c = GetParam();
    TSqueeze criteria = SearchCriteria();
    criteria.domain = c.domain;
    criteria.ignoreCase = c.ignoreCase;
    Collection collection;
    EXPECT_EQ(collection.Found(criteria), c.found);
}

INSTANTIATE_TEST_SUITE_P(SearchMode, DomainSearch,
    testing::Values(DomainCase{"banner", true, {2}}, // only in the banner address
        DomainCase{"nodomain", true, {}}, // an address without "/" has no host
        DomainCase{"tessaly.jp/", true, {1, 6}}, DomainCase{"tessaly.jp/", false, {1}}, DomainCase{"SECURE", true, {3}},
        DomainCase{"SECURE", false, {}}, DomainCase{"https", true, {}}, // the scheme is not part of the host
        DomainCase{"trash", true, {}}, DomainCase{"moon", true, {}}));

TEST(SearchMode, SearchThenEndLeavesEveryItemOnceAndAppendsTheFoundToTheirGenres)
{
    Collection c;
    const std::vector<std::string> before = c.AllLinesSorted();
    TSqueeze criteria = SearchCriteria();
    criteria.keyword = "t";
    const std::vector<std::string> found = ExtractMatchingItems(c.project, criteria);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(c.SerialsOf(0), std::vector<int>{6});
    EXPECT_EQ(c.SerialsOf(1), std::vector<int>{2});
    ShowSearchResult(c.shown, found);
    EXPECT_TRUE(c.shown.SearchMode());
    ASSERT_EQ(c.shown.Rows().size(), 2u);
    EXPECT_EQ(c.shown.Rows()[1].Serial, 3);
    EndSearchMode(c.project, c.shown);
    EXPECT_FALSE(c.shown.SearchMode());
    EXPECT_TRUE(c.shown.Rows().empty());
    EXPECT_EQ(c.AllLinesSorted(), before);
    EXPECT_EQ(c.SerialsOf(0), (std::vector<int>{6, 1}));
    EXPECT_EQ(c.SerialsOf(1), (std::vector<int>{2, 3}));
}

TEST(SearchMode, ListAllThenEndLeavesEveryItemOnce)
{
    Collection c;
    const std::vector<std::string> before = c.AllLinesSorted();
    const std::vector<std::string> trash = c.project.Genres.back().Lines;
    const std::vector<std::string> all = ExtractAllItems(c.project);
    EXPECT_EQ(all.size(), 5u);
    for (std::size_t g = 0; g < c.project.TrashIndex(); ++g) {
        EXPECT_TRUE(c.project.Genres[g].Lines.empty());
    }
    EXPECT_EQ(c.project.Genres.back().Lines, trash);
    ShowSearchResult(c.shown, all);
    EndSearchMode(c.project, c.shown);
    EXPECT_EQ(c.AllLinesSorted(), before);
    EXPECT_EQ(c.SerialsOf(2), std::vector<int>{5});
}

TEST(SearchMode, ASecondSearchFindsTheFirstResultAgain)
{
    Collection c;
    TSqueeze first = SearchCriteria();
    first.keyword = "Tessaly";
    ShowSearchResult(c.shown, ExtractMatchingItems(c.project, first));
    // Every search command first ends the mode it finds.
    EndSearchMode(c.project, c.shown);
    EXPECT_EQ(c.Found(SearchCriteria()), (std::vector<int>{6, 1, 2, 3, 5}));
}

TEST(SearchMode, EndingReturnsEachRowByItsGenreField)
{
    Collection c;
    ShowSearchResult(c.shown, ExtractAllItems(c.project));
    std::vector<TLinkItem>& rows = c.shown.Rows(); // 1 6 2 3 5
    rows[0].Title = "Edited";
    rows[1].GenreName = "WEB"; // dragged onto "Web", spelt otherwise
    rows[2].GenreName = std::string(kTrashGenreMark); // dragged onto the trash
    rows[3].GenreName = "Gone"; // its genre was erased
    EndSearchMode(c.project, c.shown);
    EXPECT_EQ(c.SerialsOf(0), (std::vector<int>{1, 3}));
    EXPECT_EQ(c.SerialsOf(1), std::vector<int>{6});
    EXPECT_EQ(c.SerialsOf(2), std::vector<int>{5});
    EXPECT_EQ(c.SerialsOf(3), (std::vector<int>{4, 2}));
    EXPECT_EQ(LineToItem(c.project.Genres[0].Lines[0]).Title, "Edited");
    EXPECT_EQ(LineToItem(c.project.Genres[0].Lines[1]).GenreName, "Gone");
}

TEST(SearchMode, EndingOutsideTheModeChangesNothing)
{
    Collection c;
    const Project before = c.project;
    c.shown.SelectGenre(1);
    c.shown.LoadGenreIntoList();
    EndSearchMode(c.project, c.shown);
    EXPECT_EQ(c.shown.Rows().size(), 2u);
    EXPECT_EQ(c.project.Genres[1].Lines, before.Genres[1].Lines);
}

TEST(SearchMode, PageRangesDoNotLimitASearch)
{
    Collection c;
    TSqueeze criteria = SearchCriteria();
    criteria.rangeMode = 1;
    criteria.rangeStart = 2;
    EXPECT_EQ(c.Found(criteria).size(), 5u);
}

TEST(SearchMode, RegisteredDomainsOnceEachSortedWithoutTheTrash)
{
    Collection c;
    EXPECT_EQ(RegisteredDomains(c.project),
        (std::vector<std::string>{"img.banner.jp", "old.example", "secure.example.jp", "www.tessaly.jp"}));
}

} // namespace
