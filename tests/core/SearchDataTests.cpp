#include <gtest/gtest.h>

#include <algorithm>

#include "core/collection/Project.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/EucJp.h"
#include "core/text/Strings.h"
#include "core/tools/SearchData.h"

using namespace tessaly;

namespace {

struct EucCase {
    const char* name;
    std::string sjis;
    std::string euc;
};

class EucJpConversion : public testing::TestWithParam<EucCase> { };

std::string EucJp(std::string_view sjis)
{
    std::string euc;
    AppendEucJp(euc, sjis);
    return euc;
}

TEST_P(EucJpConversion, ConvertsByTheArithmetic)
{
    EXPECT_EQ(EucJp(GetParam().sjis), GetParam().euc);
}

INSTANTIATE_TEST_SUITE_P(EucJp, EucJpConversion,
    testing::Values(EucCase{"Ascii", "A\t/~", "A\t/~"}, EucCase{"HalfWidthKatakana", "\xB1\xDF", "\x8E\xB1\x8E\xDF"},
        EucCase{"Hiragana", "\x82\xA0", "\xA4\xA2"}, // あ
        EucCase{"LastOfRowThree", "\x82\x9E", "\xA3\xFE"}, // row 3 ends where ぁ's row 4 begins
        EucCase{"FirstOfRowFour", "\x82\x9F", "\xA4\xA1"}, // ぁ
        EucCase{"BeforeTrail7F", "\x81\x7E", "\xA1\xDF"}, // ×
        EucCase{"AfterTrail7F", "\x81\x80", "\xA1\xE0"}, // ÷
        EucCase{"LongVowelMark", "\x81\x5B", "\xA1\xBC"}, // ー
        EucCase{"Kanji", "\x8A\xBF", "\xB4\xC1"}, // 漢
        EucCase{"LeadE0", "\xE0\x40", "\xDF\xA1"}, // 漾
        EucCase{"EmptyRowByFormula", "\x87\x40", "\xAD\xA1"}, // ①, a vendor row
        EucCase{"LeadAtTheEnd", "a\x82", "a "}, EucCase{"LeadWithoutTrail", "\x82 x", "  x"},
        EucCase{"DroppedBytes", std::string("\x80\xA0", 2) + "b", "b"},
        EucCase{"UserDefinedLosesItsLead", "\xF0\x41", "A"}, EucCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<EucCase>& testCase) { return testCase.param.name; });

TDateTime Date(int year, int month, int day)
{
    return *EncodeDateTime({year, month, day});
}

std::string Line(int serial, const char* genre, int status, const char* title, const char* titleKana,
    const char* author, const char* authorKana, TDateTime date)
{
    TLinkItem item;
    item.Serial = serial;
    item.GenreName = SJ(genre);
    item.Status = status;
    item.Title = SJ(title);
    item.TitleKana = SJ(titleKana);
    item.Author = SJ(author);
    item.AuthorKana = SJ(authorKana);
    item.Url = std::to_string(serial) + ".jp/";
    item.Date = date;
    return ItemToLine(item);
}

// Two user genres with three items, one in the unfiled genre and one in the
// trash; a user template "T" with a tab, line breaks and an ampersand.
Project SmallProject()
{
    Project project;
    project.Title = "Links";
    project.AuthorName = "Hanako";
    project.AuthorKana = SJ("はなこ");
    project.AuthorMail = "h@x.jp";
    project.AddGenre(SJ("ゲーム"));
    project.AddGenre("A&B");
    project.Attributes = {"a", "x/y"};
    project.Contents = {"c"};
    project.Templates.push_back(
        StoredTemplateForm({"T", "<UL>\r\n", "\t<LI>%title; &amp; more\r\n", "</UL>", "[", "]", ","}));

    TLinkItem beta = LineToItem(Line(1, "ゲーム", 1, "Beta", "べた", "Zed", "ぜっと", Date(2003, 5, 17)));
    beta.BannerX = 88; // no banner: no size either
    beta.Attributes = "a/x&sl;y";
    beta.Contents = "c";
    beta.Comment = "&ln; text\r\nline\tTab";
    TLinkItem alpha = LineToItem(Line(2, "A&B", 0, "alpha ｱ", "あるふぁ", "Mia", "みあ", Date(2003, 5, 16)));
    alpha.Url = "https://alpha.example/";
    alpha.Banner = "b.gif";
    alpha.BannerX = 88;
    alpha.BannerY = 31;
    project.Genres[1].Lines
        = {ItemToLine(beta), Line(3, "ゲーム", 0, "Gamma", "がんま", "Abe", "あべ", Date(2003, 5, 18))};
    project.Genres[2].Lines = {ItemToLine(alpha)};
    project.Genres[0].Lines = {Line(9, "", 0, "Unfiled", "う", "U", "う", Date(2003, 5, 1))};
    project.Genres[3].Lines = {Line(8, "", 0, "Trashed", "と", "T", "と", Date(2003, 5, 1))};
    return project;
}

std::string EucLines(const std::vector<std::string>& utf8Lines)
{
    std::string text;
    for (const std::string& line : utf8Lines) {
        text += EucJp(Utf8ToSjis(line).text) + "\n";
    }
    return text;
}

const std::vector<std::string> kHead{"TSYOSSDATA\tLinks\tHanako\tはなこ\th@x.jp", "ゲーム\tA&B", "a\tx/y", "c"};
const std::string kTemplateLine = "<UL>&ln;\t&tb;<LI>%title; &amp;amp; more&ln;\t</UL>\t[\t]\t,";
const std::string kBeta = "1\tfavorite\tゲーム\tBeta\tべた\tZed\tぜっと\t\t1.jp/\t\t\t\ta\x1Fx/y\tc\t2003/05/17\t"
                          "&amp;ln; text&ln;line&tb;Tab";
const std::string kAlpha = "2\tnormal\tA&B\talpha ｱ\tあるふぁ\tMia\tみあ\t\thttps://alpha.example/\tb.gif\t88\t31\t\t\t"
                           "2003/05/16\t";
const std::string kGamma = "3\tnormal\tゲーム\tGamma\tがんま\tAbe\tあべ\t\t3.jp/\t\t\t\t\t\t2003/05/18\t";

std::string ExpectedFile(const std::string& templateLine, const std::vector<int>& order)
{
    std::vector<std::string> lines = kHead;
    lines.push_back(templateLine);
    lines.insert(lines.end(), 4, "");
    for (const int serial : order) {
        lines.push_back(serial == 1 ? kBeta : serial == 2 ? kAlpha : kGamma);
    }
    return EucLines(lines);
}

struct SortCase {
    const char* name;
    uint8_t sortBy;
    uint8_t sortDir;
    std::vector<int> order;
};

class DizSorts : public testing::TestWithParam<SortCase> { };

TEST_P(DizSorts, WritesTheUserGenresInOrder)
{
    const SortCase& c = GetParam();
    EXPECT_EQ(DizText(SmallProject(), {"T", false, c.sortBy, c.sortDir}), ExpectedFile(kTemplateLine, c.order));
}

INSTANTIATE_TEST_SUITE_P(SearchData, DizSorts,
    testing::Values(SortCase{"TitleKana", 0, 0, {2, 3, 1}}, SortCase{"TitleKanaDown", 0, 1, {1, 3, 2}},
        SortCase{"AuthorKana", 1, 0, {3, 1, 2}}, SortCase{"AuthorKanaDown", 1, 1, {2, 1, 3}},
        SortCase{"NewestFirst", 2, 0, {3, 1, 2}}, SortCase{"OldestFirst", 2, 1, {2, 1, 3}},
        SortCase{"Title", 3, 0, {2, 1, 3}}, SortCase{"TitleDown", 3, 1, {3, 1, 2}}, SortCase{"Author", 4, 0, {3, 2, 1}},
        SortCase{"AuthorDown", 4, 1, {1, 2, 3}}),
    [](const testing::TestParamInfo<SortCase>& testCase) { return testCase.param.name; });

TEST(SearchData, EraseTakesLineBreaksAndTabsOutOfTheTemplateOnly)
{
    const std::string text = DizText(SmallProject(), {"T", true, 0, 0});
    EXPECT_EQ(text, ExpectedFile("<UL>\t<LI>%title; &amp;amp; more\t</UL>\t[\t]\t,", {2, 3, 1}));
}

TEST(SearchData, HalfWidthKatakanaGainsItsPrefixByte)
{
    const std::string text = DizText(SmallProject(), {"T", false, 0, 0});
    EXPECT_NE(text.find("\talpha \x8E\xB1\t"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 0);
}

TEST(SearchData, UnknownTemplateIsTheStandardSimpleOne)
{
    const Project project = SmallProject();
    EXPECT_EQ(DizText(project, {"nope", false, 0, 0}), DizText(project, {SimpleTemplateName(), false, 0, 0}));
    EXPECT_NE(DizText(project, {DetailTemplateName(), false, 0, 0}), DizText(project, {"nope", false, 0, 0}));
}

TEST(SearchData, SameFileOnAnyNumberOfThreads)
{
    Project project = SmallProject();
    for (int i = 0; i < 500; ++i) {
        project.Genres[i % 2 == 0 ? 1 : 2].Lines.push_back(
            Line(100 + i, "", i % 7, "t", i % 3 == 0 ? "か" : "あ", "a", "あ", Date(2003, 1, 1 + i % 28)));
    }
    const std::string one = DizText(project, {"T", false, 2, 0}, 1);
    EXPECT_EQ(DizText(project, {"T", false, 2, 0}, 3), one);
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 9 + 3 + 500);
}

// Names and texts with line breaks and TABs (a title read from "&ln;", a
// replaced host) keep one line per record and sixteen fields in it.
TEST(SearchData, NoFieldBreaksItsRecord)
{
    Project project = SmallProject();
    project.Title = "a\r\nb";
    project.AuthorName = "x\ty";
    project.Genres[1].Name = "G\n";
    project.Attributes.push_back("c\rd");
    TLinkItem item = LineToItem(project.Genres[1].Lines[0]);
    item.Title = "t\r\nu";
    item.Author = "v\tw";
    item.Url = "p.jp/\r\n1";
    project.Genres[1].Lines[0] = ItemToLine(item);
    const std::string text = DizText(project, {"T", false, 0, 0});
    const std::vector<std::string_view> lines = SplitList(text, '\n');
    ASSERT_EQ(lines.size(), 9u + 3u);
    EXPECT_EQ(lines[0], "TSYOSSDATA\ta  b\tx y\t" + EucJp(SJ("はなこ")) + "\th@x.jp");
    EXPECT_TRUE(lines[1].starts_with("G \t"));
    for (std::size_t i = 9; i < 12; ++i) {
        EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), '\t'), 15) << lines[i];
    }
    EXPECT_NE(text.find("\tt  u\t"), std::string::npos);
}

TEST(SearchData, EmptyCollectionHasNineLines)
{
    const std::string text = DizText(Project(), {SimpleTemplateName(), false, 0, 0});
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
    EXPECT_TRUE(text.starts_with("TSYOSSDATA\t\t\t\t\n\n\n\n"));
    EXPECT_TRUE(text.ends_with("\n\n\n\n\n"));
}

TEST(TemplateNames, BuiltinsThenUserTemplatesByTheirFirstLine)
{
    Project project;
    project.Templates = {StoredTemplateForm({"card", "", "", "", "", "", ""}),
        StoredTemplateForm({"two\r\nlines", "", "", "", "", "", ""})};
    EXPECT_EQ(ItemTemplateNames(project),
        (std::vector<std::string>{SimpleTemplateName(), DetailTemplateName(), "card", "two"}));
}

} // namespace
