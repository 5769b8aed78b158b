#include <gtest/gtest.h>

#include <functional>

#include "core/collection/LinkItem.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"

using namespace tessaly;

namespace {

TLinkItem ExampleItem()
{
    TLinkItem item;
    item.Serial = 12;
    item.GenreName = "Games";
    item.Status = 1;
    item.Title = "Title";
    item.TitleKana = SJ("たいとる");
    item.Author = "Name";
    item.AuthorKana = SJ("なまえ");
    item.Url = "site/page/";
    item.Attributes = "new";
    item.Date = *EncodeDateTime({2003, 5, 17});
    item.Comment = "see the\r\ntop page";
    return item;
}

TEST(ItemLine, WritesTheDocumentedLine)
{
    const std::string line = ItemToLine(ExampleItem());
    EXPECT_EQ(line,
        "12/Games/1/Title/" + SJ("たいとる") + "/Name/" + SJ("なまえ")
            + "//site&sl;page&sl;//200/40/new//2003&sl;05&sl;17/see the&amp;ln;top page");
    EXPECT_TRUE(IsValidItemLine(line));
    EXPECT_EQ(LineToItem(line), ExampleItem());
}

TEST(ItemLine, RoundTripsAwkwardText)
{
    TLinkItem item = ExampleItem();
    item.Title = "A/B & <C> \"q\"";
    item.Comment = "literal &ln; and &amp;\r\nnext/line";
    item.Attributes = "a&sl;b/c&amp;d"; // a "/" list of escaped names
    item.Date = *EncodeDateTime({2003, 5, 17, 8, 9, 10});
    item.Banner = "img/b.gif";
    item.BannerX = 88;
    item.BannerY = 31;
    item.GenreName = std::string(kTrashGenreMark);
    const std::string line = ItemToLine(item);
    EXPECT_TRUE(IsValidItemLine(line));
    EXPECT_EQ(LineToItem(line), item);
}

TEST(ItemLine, TrimsTextFieldsButNotTheComment)
{
    TLinkItem item = ExampleItem();
    item.Title = "  padded\t";
    item.Comment = "  keep  ";
    const TLinkItem back = LineToItem(ItemToLine(item));
    EXPECT_EQ(back.Title, "padded");
    EXPECT_EQ(back.Comment, "  keep  ");
}

TEST(ItemLine, ValidityRules)
{
    const std::string kana = SJ("たいとる");
    const auto line = [&](const std::string& serial, const std::string& title, const std::string& titleKana,
                          const std::string& authorKana, const std::string& url, const std::string& date) {
        return serial + "//0/" + title + "/" + titleKana + "/a/" + authorKana + "//" + url + "//200/40///" + date + "/";
    };
    EXPECT_TRUE(IsValidItemLine(line("1", "t", kana, kana, "u", "2003&sl;05&sl;17")));
    EXPECT_TRUE(IsValidItemLine(line(" 1 ", "t", kana, kana, "u", "2003&sl;05&sl;17 10:00:00")));
    EXPECT_FALSE(IsValidItemLine(line("-1", "t", kana, kana, "u", "2003&sl;05&sl;17")));
    EXPECT_FALSE(IsValidItemLine(line("x", "t", kana, kana, "u", "2003&sl;05&sl;17")));
    EXPECT_FALSE(IsValidItemLine(line("1", " ", kana, kana, "u", "2003&sl;05&sl;17")));
    EXPECT_FALSE(IsValidItemLine(line("1", "t", kana, kana, "", "2003&sl;05&sl;17")));
    EXPECT_FALSE(IsValidItemLine(line("1", "t", SJ("タイトル"), kana, "u", "2003&sl;05&sl;17")));
    EXPECT_FALSE(IsValidItemLine(line("1", "t", kana, "", "u", "2003&sl;05&sl;17")));
    EXPECT_FALSE(IsValidItemLine(line("1", "t", kana, kana, "u", "2003/05/17"))); // raw slashes: 18 fields
    EXPECT_FALSE(IsValidItemLine(line("1", "t", kana, kana, "u", "yesterday")));
    const std::string good = line("1", "t", kana, kana, "u", "2003&sl;05&sl;17");
    EXPECT_FALSE(IsValidItemLine(good.substr(0, good.rfind('/')))); // 15 fields
    EXPECT_FALSE(IsValidItemLine(good + "/x")); // 17 fields
}

// The editor's checks and the reader's check agree: whatever the editor
// lets through is read back, and whatever it refuses would be dropped.
TEST(ItemProblems, AgreeWithTheReadersCheck)
{
    const struct {
        const char* what;
        std::function<void(TLinkItem&)> change;
        ItemProblem problem;
    } cases[] = {
        {"complete", [](TLinkItem&) {}, ItemProblem::None},
        {"blank title", [](TLinkItem& i) { i.Title = "  \t"; }, ItemProblem::TitleMissing},
        {"no reading", [](TLinkItem& i) { i.TitleKana.clear(); }, ItemProblem::TitleKanaMissing},
        {"katakana reading", [](TLinkItem& i) { i.TitleKana = SJ("カナ"); }, ItemProblem::TitleKanaNotHiragana},
        {"long vowel", [](TLinkItem& i) { i.TitleKana = SJ("らーめん"); }, ItemProblem::TitleKanaNotHiragana},
        {"reading with blanks", [](TLinkItem& i) { i.TitleKana = SJ(" たいとる "); }, ItemProblem::None},
        {"inner blank", [](TLinkItem& i) { i.TitleKana = SJ("たい とる"); }, ItemProblem::TitleKanaNotHiragana},
        {"blank author reading", [](TLinkItem& i) { i.AuthorKana = " "; }, ItemProblem::AuthorKanaMissing},
        {"latin author reading", [](TLinkItem& i) { i.AuthorKana = "name"; }, ItemProblem::AuthorKanaNotHiragana},
        {"blank url", [](TLinkItem& i) { i.Url = " "; }, ItemProblem::UrlMissing},
        {"year zero", [](TLinkItem& i) { i.Date = TDateTime{-700000.0}; }, ItemProblem::DateInvalid},
        {"slashes everywhere",
            [](TLinkItem& i) {
                i.Title = "a/b";
                i.GenreName = "g/&amp;/h";
                i.Attributes = EscapeField("x/y") + "/z";
            },
            ItemProblem::None},
    };
    for (const auto& c : cases) {
        TLinkItem item = ExampleItem();
        c.change(item);
        EXPECT_EQ(FindItemProblem(item), c.problem) << c.what;
        EXPECT_EQ(IsValidItemLine(ItemToLine(item)), c.problem == ItemProblem::None) << c.what;
    }
}

TEST(ItemLine, NumbersFallBackToTheirDefaults)
{
    const TLinkItem item = LineToItem("5//x/t/" + SJ("あ") + "/a/" + SJ("あ") + "//u//wide/high///2003&sl;05&sl;17/");
    EXPECT_EQ(item.Status, 0);
    EXPECT_EQ(item.BannerX, 200);
    EXPECT_EQ(item.BannerY, 40);
    EXPECT_EQ(LineToItem("5//9/t/x/a/x//u//1/2///2003&sl;05&sl;17/").Status, 0);
}

TEST(ItemLine, ViewsReadWhatTheRecordHolds)
{
    // Fields of every length, so that the separators fall on every place of
    // an eight-byte step; fields with entities are decoded apart.
    TextArena decoded;
    for (std::size_t length = 0; length < 20; ++length) {
        TLinkItem item = ExampleItem();
        item.Title = std::string(length + 1, 't');
        item.Author = std::string(length, 'a') + "/&";
        item.Mail = std::string(length, 'm');
        item.Comment = length % 2 == 0 ? "plain" : "a&b\r\n<c>";
        const std::string line = ItemToLine(item);
        const LinkItemView view = ViewItemLine(line, decoded);
        const TLinkItem read = LineToItem(line);
        EXPECT_EQ(view.Title, read.Title);
        EXPECT_EQ(view.Author, read.Author);
        EXPECT_EQ(view.Mail, read.Mail);
        EXPECT_EQ(view.Url, read.Url);
        EXPECT_EQ(view.Comment, read.Comment);
        EXPECT_EQ(view.Date, read.Date);
        EXPECT_EQ(view.Serial, read.Serial);
        EXPECT_EQ(read.Author, item.Author);
        EXPECT_EQ(read.Comment, item.Comment);
    }
    // Too few and too many fields, whatever their lengths.
    for (std::size_t fields : {15u, 17u, 40u}) {
        std::string line = "1";
        for (std::size_t i = 1; i < fields; ++i) {
            line += "/" + std::string(i % 9, 'x');
        }
        EXPECT_FALSE(IsValidItemLine(line)) << fields;
    }
}

TEST(ItemLine, LineBreakEntityInsideAFieldDoesNotShiftFields)
{
    const TLinkItem item = LineToItem("5//0/a&ln;b/" + SJ("あ") + "/a/" + SJ("あ") + "//u//1/2///2003&sl;05&sl;17/c");
    EXPECT_EQ(item.Title, "a\r\nb");
    EXPECT_EQ(item.TitleKana, SJ("あ"));
    EXPECT_EQ(item.Comment, "c");
}

TEST(ItemLine, ListMembership)
{
    EXPECT_TRUE(ListContainsName("new/a&sl;b", "a/b"));
    EXPECT_TRUE(ListContainsName("new", "new"));
    EXPECT_FALSE(ListContainsName("newer", "new"));
    EXPECT_FALSE(ListContainsName("", "new"));
}

TEST(ReadableText, LabelsEveryFieldAndIndentsTheComment)
{
    TLinkItem item = ExampleItem();
    item.Serial = 7;
    item.Attributes = "new/hot";
    item.Comment = "line one\r\nline two";
    const std::string expected = SJ("シリアル       = 0007\r\n"
                                    "タイトル       = Title\r\n"
                                    "タイトル(仮名) = たいとる\r\n"
                                    "作者名         = Name\r\n"
                                    "作者名(仮名)   = なまえ\r\n"
                                    "メールアドレス = \r\n"
                                    "ページ URL     = http://site/page/\r\n"
                                    "バナー URL     = \r\n"
                                    "バナーサイズ   = \r\n"
                                    "アトリビュート = [new][hot]\r\n"
                                    "コンテンツ     = \r\n"
                                    "登録日付       = 2003/05/17\r\n"
                                    "コメント       = line one\r\n"
                                    "                 line two\r\n"
                                    "\r\n");
    EXPECT_EQ(ItemToReadableText(item), expected);

    item.Banner = "b.gif";
    item.Comment.clear();
    const std::string text = ItemToReadableText(item);
    EXPECT_NE(text.find(SJ("バナー URL     = http://b.gif\r\n")), std::string::npos);
    EXPECT_NE(text.find(SJ("バナーサイズ   = width=200, height=40\r\n")), std::string::npos);
    EXPECT_NE(text.find(SJ("コメント       = \r\n\r\n")), std::string::npos);

    item.Url = "https://secure.example/";
    item.Banner = "HTTPS://secure.example/b.png";
    const std::string secure = ItemToReadableText(item);
    EXPECT_NE(secure.find(SJ("ページ URL     = https://secure.example/\r\n")), std::string::npos);
    EXPECT_NE(secure.find(SJ("バナー URL     = HTTPS://secure.example/b.png\r\n")), std::string::npos);
}

TEST(ReadableText, LabelsAreSeventeenBytes)
{
    const std::string text = ItemToReadableText(ExampleItem());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        if (!line.empty() && line.front() != ' ') {
            EXPECT_GE(line.size(), 17u);
            EXPECT_EQ(line.substr(15, 2), "= ") << line;
        }
        start = end + 2;
    }
}

} // namespace
