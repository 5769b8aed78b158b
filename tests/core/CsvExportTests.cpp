#include <gtest/gtest.h>

#include "core/text/Codepage.h"
#include "core/text/Csv.h"
#include "core/tools/CsvExport.h"

using namespace tessaly;

namespace {

TDateTime Date(int year, int month, int day)
{
    return *EncodeDateTime({year, month, day});
}

// Unfiled, favourite, a title with a comma and a blank, two attributes, and
// a comment of two lines with a quote and "ソ", whose trail byte is a
// backslash.
TLinkItem FirstItem()
{
    TLinkItem item;
    item.Serial = 7;
    item.Status = 1;
    item.Title = "A, B";
    item.TitleKana = SJ("あ");
    item.Author = "Ann";
    item.AuthorKana = SJ("あん");
    item.Mail = "ann@example.jp";
    item.Url = "www.example.jp/";
    item.Banner = "b.gif";
    item.BannerX = 88;
    item.BannerY = 31;
    item.Attributes = "a/b";
    item.Date = Date(2003, 5, 16);
    item.Comment = SJ("first\r\nsecond \"q\" ソフト\\");
    return item;
}

// In the trash by dragging, highest importance, nothing to quote, no
// attributes, no comment.
TLinkItem SecondItem()
{
    TLinkItem item;
    item.Serial = 12345;
    item.GenreName = std::string(kTrashGenreMark);
    item.Status = 6;
    item.Title = "Plain";
    item.TitleKana = SJ("ぷ");
    item.AuthorKana = SJ("ぷ");
    item.Url = "https://plain.example/";
    item.Contents = "c";
    item.Date = Date(1999, 12, 31);
    return item;
}

const char* const kHeader = "シリアル,状態,ジャンル,タイトル,タイトル仮名,作者名,作者名仮名,メールアドレス,ページURL,"
                            "バナーURL,バナーXサイズ,バナーYサイズ,登録日付,アトリビュート,コンテンツ";

struct ModeCase {
    const char* name;
    CsvCommentMode mode;
    std::string expected; // UTF-8
};

class CsvModes : public testing::TestWithParam<ModeCase> { };

TEST_P(CsvModes, WritesTheExactFile)
{
    const ModeCase& c = GetParam();
    EXPECT_EQ(CsvText({FirstItem(), SecondItem()}, c.mode), Utf8ToSjis(c.expected).text);
}

const std::string kFirstColumns
    = "0007,お気に入り,【未整理】,\"A, B\",あ,Ann,あん,ann@example.jp,www.example.jp/,b.gif,88,"
      "31,2003/05/16,[a][b],";
const std::string kSecondColumns
    = "12345,重要度最高,【ゴミ箱】,Plain,ぷ,,ぷ,,https://plain.example/,,200,40,1999/12/31,,[c]";

const std::string kCommentHeader = std::string(kHeader) + ",コメント\r\n";

INSTANTIATE_TEST_SUITE_P(CsvExport, CsvModes,
    testing::Values(
        ModeCase{"Erase", CsvCommentMode::Erase,
            kCommentHeader + kFirstColumns + ",\"firstsecond \"\"q\"\" ソフト\\\"\r\n" + kSecondColumns + ",\r\n"},
        ModeCase{"Top", CsvCommentMode::Top, kCommentHeader + kFirstColumns + ",first\r\n" + kSecondColumns + ",\r\n"},
        ModeCase{"Literal", CsvCommentMode::Literal,
            kCommentHeader + kFirstColumns + ",\"first\\nsecond \\\"\"q\\\"\" ソフト\\\\\"\r\n" + kSecondColumns
                + ",\r\n"},
        ModeCase{"None", CsvCommentMode::None,
            std::string(kHeader) + "\r\n" + kFirstColumns + "\r\n" + kSecondColumns + "\r\n"}),
    [](const testing::TestParamInfo<ModeCase>& testCase) { return testCase.param.name; });

TEST(CsvExport, CommentModesWorkOnCharacters)
{
    const std::string comment = SJ("ソ\r\n\"x\"");
    EXPECT_EQ(CsvComment(comment, CsvCommentMode::Literal), SJ("ソ\\n\\\"x\\\""));
    EXPECT_EQ(CsvComment(comment, CsvCommentMode::Top), SJ("ソ"));
    // Lone CR and LF are no line break of the program and stay.
    EXPECT_EQ(CsvComment("a\rb\nc\r\nd", CsvCommentMode::Erase), "a\rb\ncd");
    EXPECT_EQ(CsvComment("a\rb", CsvCommentMode::Top), "a\rb");
    EXPECT_EQ(CsvComment("a\r\nb", CsvCommentMode::None), "");
}

TEST(CsvExport, QuotesOnlyValuesThatNeedIt)
{
    EXPECT_EQ(CsvLine({"plain", "", "tab\there", "a\"b", "x,y", SJ("全角　空白"), "end"}),
        "plain,,\"tab\there\",\"a\"\"b\",\"x,y\"," + SJ("全角　空白") + ",end\r\n");
    EXPECT_EQ(CsvLine({}), "\r\n");
}

// Text cells that a spreadsheet would run; negative numbers of the program's
// own columns are numbers.
TEST(CsvExport, FormulaCellsAreCountedAndDefusedOnRequest)
{
    TLinkItem item = SecondItem();
    item.Serial = -5;
    item.Title = "=HYPERLINK(\"http://x/\",\"y\")";
    item.Author = "@SUM(1)";
    item.Mail = "+1";
    item.Url = "-x";
    item.Banner = "\tb";
    item.Contents = "";
    item.Comment = "\rc";
    const std::vector<TLinkItem> items{item, FirstItem()};
    EXPECT_EQ(CsvFormulaCells(items, CsvCommentMode::Top), 6u);
    EXPECT_EQ(CsvFormulaCells(items, CsvCommentMode::None), 5u);
    EXPECT_EQ(CsvText(items, CsvCommentMode::Top, CsvFormulas::AsStored), CsvText(items, CsvCommentMode::Top));
    const std::string defused = CsvText({item}, CsvCommentMode::Top, CsvFormulas::Defused);
    EXPECT_EQ(defused.substr(defused.find("\r\n") + 2),
        Utf8ToSjis("-0005,重要度最高,【ゴミ箱】,\"'=HYPERLINK(\"\"http://x/\"\",\"\"y\"\")\",ぷ,'@SUM(1),ぷ,'+1,'-x,"
                   "\"'\tb\",200,40,1999/12/31,,,\"'\rc\"\r\n")
            .text);
}

TEST(CsvExport, SerialHasAtLeastFourDigits)
{
    TLinkItem item = SecondItem();
    item.Serial = 0;
    const std::string text = CsvText({item}, CsvCommentMode::None);
    EXPECT_NE(text.find("\r\n0000,"), std::string::npos);
}

} // namespace
