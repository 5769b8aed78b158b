#include <gtest/gtest.h>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/output/Selection.h"
#include "core/site/SearchFold.h"
#include "core/site/SiteSearch.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

std::string Sjis(const std::string& utf8)
{
    return Utf8ToSjis(utf8).text;
}

TEST(SearchFold, KanaWidthAndCaseFoldTogether)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ﾋﾟｱﾉ", "ぴあの"},
        {"ピアノ", "ぴあの"},
        {"ＡＢＣ abc", "abc abc"},
        {"ヴァ ヵヶ ヽヾ", "ゔぁ ゕゖ ゝゞ"},
        {"ヷ ｰ", "ヷ ー"}, // no hiragana twin
        {"㌔①Ⅻ", "きろ1xii"},
        {"ΟΔΟΣ Σ", "οδος σ"}, // a final sigma
        {"全角　空白", "全角 空白"},
        {"〜−‖ ～－∥", "~-∥ ~-∥"}, // what Shift_JIS forms send for code page 932's letters
        {"a\r\nb\t\x7F", "a  b  "},
        {"\xFF", ""},
    };
    for (const auto& [text, folded] : cases) {
        EXPECT_EQ(FoldForSearch(text), folded) << text;
    }
}

TLinkItem Item(const char* title, const char* kana, const char* author, const char* url)
{
    TLinkItem item;
    item.Title = Sjis(title);
    item.TitleKana = Sjis(kana);
    item.Author = Sjis(author);
    item.AuthorKana = Sjis("さくしゃ");
    item.Url = url;
    return item;
}

// One user genre "曲" with two items, one item unfiled and one in the trash.
Project SmallProject()
{
    Project project;
    project.Title = Sjis("A&B <リンク集>");
    const std::size_t genre = project.AddGenre(Sjis("曲"));
    project.Attributes = {"A"};
    TLinkItem first = Item("Ｔｉｔｌｅ`${x}\\", "たいとる", "作者", "example.jp/a b");
    first.Attributes = "A/B";
    first.Comment = Sjis("<b>ﾎﾞｸ</b>&amp;\r\na < b");
    project.Genres[genre].Lines.push_back(ItemToLine(first));
    project.Genres[genre].Lines.push_back(ItemToLine(Item("作品", "たいとる", "作者", "javascript:alert(1)")));
    project.Genres[0].Lines.push_back(ItemToLine(Item("未整理", "みせいり", "作者", "unfiled.example/")));
    project.Genres.back().Lines.push_back(ItemToLine(Item("ごみ", "ごみ", "作者", "trash.example/")));
    return project;
}

TEST(SiteSearch, WritesThePageItsScriptAndTheIndexOfUserGenres)
{
    const Project project = SmallProject();
    const ItemCatalog catalog(project);
    const std::vector<SiteFile> files
        = SiteSearchFiles(project, catalog, {"genre000/index.html", Sjis("/曲/p 1.html")});
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "search.html");
    EXPECT_NE(files[0].bytes.find("<title>検索 | A&amp;B &lt;リンク集&gt;</title>"), std::string::npos);
    EXPECT_NE(files[0].bytes.find("<script src=\"search-index.js\"></script>\n<script src=\"search.js\"></script>"),
        std::string::npos);
    EXPECT_EQ(files[1].name, "search.js");
    EXPECT_EQ(files[1].bytes.find('\r'), std::string::npos);
    EXPECT_EQ(files[2].name, "search-index.js");
    EXPECT_EQ(files[2].bytes,
        "window.tessalySearchIndex = {\"version\":1,\"count\":2,\"genres\":[\"曲\"],\"genreFolds\":[\"曲\"],"
        "\"attributes\":[\"A\",\"B\"],\"attributeFolds\":[\"a\",\"b\"],\"attributesListed\":1,"
        "\"attributeSets\":[[0,1],[]],\"attributeSet\":\"101\","
        "\"contents\":[],\"contentFolds\":[],\"contentsListed\":0,\"contentSets\":[[]],\"contentSet\":\"100\","
        "\"pages\":[\"%E6%9B%B2/p%201.html\"],\"page\":\"110\",\"genre\":\"100\",\"fields\":{"
        "\"title\":{\"text\":\"Ｔｉｔｌｅ`${x}\\\\\\n作品\",\"fold\":\"title`${x}\\\\\\n\"},"
        "\"titleKana\":{\"text\":\"たいとる\",\"ids\":\"100\"},"
        "\"author\":{\"text\":\"作者\",\"ids\":\"100\"},"
        "\"authorKana\":{\"text\":\"さくしゃ\",\"ids\":\"100\"},"
        "\"comment\":{\"text\":\"ぼく&  a < b\\n\"},"
        "\"origin\":{\"text\":\"http://example.jp\\n\"},"
        "\"path\":{\"text\":\"/a%20b\\n\"}}};\n");
}

TEST(SiteSearch, NumbersPastOneDigitTakeTwo)
{
    Project project;
    const std::size_t genre = project.AddGenre("g");
    std::vector<std::string> pages;
    for (int i = 0; i < 70; ++i) {
        project.Genres[genre].Lines.push_back(ItemToLine(Item("t", "t", "a", "x.example/")));
        pages.push_back("p" + std::to_string(i) + ".html");
    }
    const ItemCatalog catalog(project);
    const std::string index = SiteSearchFiles(project, catalog, pages).back().bytes;
    // Pages 1 to 70: "01" ... "09", "0A" ... "0z", "0-", "0_", "10" ... "16".
    EXPECT_NE(index.find("\"page\":\"20102030405060708090A0B"), std::string::npos);
    EXPECT_NE(index.find("0y0z0-0_10111213141516\""), std::string::npos);
}

TEST(SiteSearch, TitlesCannotBreakOutOfThePage)
{
    Project project = SmallProject();
    project.Title = Sjis("</title><script>alert(1)</script>%index;");
    const ItemCatalog catalog(project);
    const std::string page = SiteSearchFiles(project, catalog, {}).front().bytes;
    EXPECT_EQ(page.find("<script>alert"), std::string::npos);
    EXPECT_NE(page.find("&lt;/title&gt;&lt;script&gt;alert(1)&lt;/script&gt;%index;</h1>"), std::string::npos);
}

} // namespace
