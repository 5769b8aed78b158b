#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/collection/Project.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/Sjis.h"

using namespace tessaly;

namespace {

// Evaluator that knows "is author" and "is banner" of a fixed item.
ConditionEvaluator ItemWith(bool author, bool banner)
{
    return [=](std::string_view operation, std::string_view argument) -> int {
        TLinkItem item;
        item.Author = author ? "a" : "";
        item.Banner = banner ? "b" : "";
        return EvaluateItemCondition(item, operation, argument);
    };
}

struct BlockCase {
    const char* text;
    bool author;
    bool banner;
    const char* expected;
};

class ConditionalBlocks : public ::testing::TestWithParam<BlockCase> { };

TEST_P(ConditionalBlocks, Resolve)
{
    const BlockCase& c = GetParam();
    EXPECT_EQ(ExpandConditionalBlocks(c.text, ItemWith(c.author, c.banner)), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Grammar, ConditionalBlocks,
    ::testing::Values(BlockCase{"<!--if is author-->A<!--else-->N<!--end-->", true, false, "A"},
        BlockCase{"<!--if is author-->A<!--else-->N<!--end-->", false, false, "N"},
        BlockCase{"x<!--IF is author-->A<!--end-->y", true, false, "x<!--IF is author-->A<!--end-->y"},
        BlockCase{"x<!--if IS author-->A<!--end-->y", true, false, "xAy"},
        BlockCase{"x<!--if is Author-->A<!--else-->B<!--end-->y", true, false, "xy"},
        BlockCase{"x<!--if isbanner-->A<!--end-->y", true, true, "xy"},
        BlockCase{"<!--if is banner-->[<!--if is author-->a<!--else-->-<!--end-->]<!--end-->", false, true, "[-]"},
        BlockCase{"<!--if is banner-->[<!--if is author-->a<!--else-->-<!--end-->]<!--end-->", true, false, ""},
        BlockCase{"plain<!--end-->text", true, true, "plain<!--end-->text"},
        BlockCase{"a<!--if is author-->rest of text", true, false, "arest of text"},
        BlockCase{"a<!--if is author no close", true, false, "a"},
        BlockCase{"<!--if   is   author  -->A<!--end-->", true, false, "A"},
        BlockCase{"<!--if nis banner-->none<!--end-->", true, false, "none"}));

TEST(ItemConditions, StatusAndTags)
{
    TLinkItem item;
    item.Status = 6;
    item.Attributes = "new/a&amp;b";
    item.Contents = "CG";
    EXPECT_EQ(EvaluateItemCondition(item, "iss", "high"), 1);
    EXPECT_EQ(EvaluateItemCondition(item, "iss", "normal"), 2);
    EXPECT_EQ(EvaluateItemCondition(item, "niss", "normal"), 1);
    EXPECT_EQ(EvaluateItemCondition(item, "iss", "High"), 0);
    EXPECT_EQ(EvaluateItemCondition(item, "isa", "new"), 1);
    EXPECT_EQ(EvaluateItemCondition(item, "isa", "a&amp;b"), 1); // HTML-unescaped, then field-escaped
    EXPECT_EQ(EvaluateItemCondition(item, "isa", "ne"), 2);
    EXPECT_EQ(EvaluateItemCondition(item, "nisa", "new"), 2);
    EXPECT_EQ(EvaluateItemCondition(item, "isc", "CG"), 1);
    EXPECT_EQ(EvaluateItemCondition(item, "nisc", "cg"), 1);
    EXPECT_EQ(EvaluateItemCondition(item, "bogus", "x"), 0);
}

TEST(PageConditions, Flags)
{
    PageConditionFlags flags;
    flags.Root = true;
    flags.Hits = true;
    EXPECT_EQ(EvaluatePageCondition(flags, "at", "root"), 1);
    EXPECT_EQ(EvaluatePageCondition(flags, "nat", "root"), 2);
    EXPECT_EQ(EvaluatePageCondition(flags, "at", "default"), 2);
    EXPECT_EQ(EvaluatePageCondition(flags, "is", "hits"), 1);
    EXPECT_EQ(EvaluatePageCondition(flags, "nis", "dirs"), 1);
    EXPECT_EQ(EvaluatePageCondition(flags, "is", "root"), 0);
    EXPECT_EQ(EvaluatePageCondition(flags, "at", "hits"), 0);
}

TLinkItem SampleItem()
{
    TLinkItem item;
    item.Serial = 7;
    item.GenreName = "G&1";
    item.Title = "T<1> %genre;";
    item.TitleKana = SJ("てい");
    item.Author = "A";
    item.Url = "example.jp/";
    item.Banner = "%%b.gif";
    item.BannerX = 88;
    item.BannerY = 31;
    item.Attributes = "new/hot";
    item.Date = *EncodeDateTime({2003, 5, 7, 10, 0, 0});
    item.Comment = "one\r\n<B>two</B>";
    return item;
}

TEST(RenderItem, ReplacesKeywordsInOrder)
{
    TTemplateRec rec = BuiltinSimpleTemplate();
    rec.Body = "%title;|%url;|%banner;|%x;x%y;|%date;|%year;-%month;-%day;|%monthz;%dayz;|%comment;|%serial;|"
               "%attribute;|%content;|%mail;";
    EXPECT_EQ(RenderItem(SampleItem(), rec, "../../"),
        "T&lt;1&gt; G&amp;1|http://example.jp/|../../b.gif|88x31|2003/05/07|2003-5-7|0507|one<BR>\r\n"
        "<B>two</B>|0007|[new],[hot]||");
    TLinkItem plain = SampleItem();
    plain.Banner = "";
    plain.Serial = 12345;
    rec.Body = "%banner;|%serial;";
    EXPECT_EQ(RenderItem(plain, rec, "./"), "http://|12345");

    // Addresses stored with their own scheme are written as they are.
    TLinkItem secure = SampleItem();
    secure.Url = "https://example.jp/";
    secure.Banner = "https://img.example.jp/b.png";
    rec.Body = "%url;|%banner;";
    EXPECT_EQ(RenderItem(secure, rec, "./"), "https://example.jp/|https://img.example.jp/b.png");
}

TEST(RenderItem, ListMarksOfUserTemplates)
{
    TTemplateRec rec{"t", "", "%attribute;", "", "<", ">", " / "};
    TLinkItem item;
    item.Attributes = "a/b&amp;c//d";
    EXPECT_EQ(RenderItem(item, rec, ""), "<a> / <b&amp;c> / <d>");
}

// The list alone.
std::string RenderItemList(
    const TTemplateRec& rec, const std::vector<const LinkItemView*>& items, std::string_view bannerPrefix)
{
    std::string list;
    AppendItemList(list, rec, items, bannerPrefix);
    return list;
}

TEST(RenderItemList, DropsBlankLineEndsAndEmptyLines)
{
    const TTemplateRec rec{"t", "<UL>  \r\n\r\n", "<LI>%title; \r\n\r\n", "</UL>\r\n", "[", "]", ","};
    TLinkItem a;
    a.Title = "a";
    TLinkItem b;
    b.Title = "b";
    const LinkItemView first(a);
    const LinkItemView second(b);
    EXPECT_EQ(RenderItemList(rec, {&first, &second}, ""), "<UL>\r\n<LI>a\r\n<LI>b\r\n</UL>\r\n");
}

// The list as a whole, cleaned the long way: blanks before CR LF removed
// until none is left, then empty lines likewise.
std::string CleanedTheLongWay(std::string text)
{
    const auto replaceAll = [&text](std::string_view from, std::string_view to) {
        while (text.find(from) != std::string::npos) {
            text = sjis::ReplaceAll(text, from, to);
        }
    };
    replaceAll(" \r\n", "\r\n");
    replaceAll("\r\n\r\n", "\r\n");
    return text;
}

TEST(RenderItemList, CleansAcrossTheJoinsOfItsParts)
{
    // Header, body (one item "x") and footer; a CR LF, blanks or an empty
    // line may be split between two of them.
    const std::vector<std::array<std::string, 3>> cases{
        {"<UL>\r", "\n%title;\r\n", "</UL>"},
        {"<UL>  ", " \r\n%title;  ", "\r\n\r\n</UL>\r\n"},
        {"\r\n\r\n", "\r\n%title;\r", "\r\n\n"},
        {"a \rb", "%title; \r\r\n", " \n \r\n"},
        {"", "%title;", ""},
        {"\r", "\r%title;\r\n \r", "\n"},
        {"a\r\n  \r\n  \r\nb", "\r\n\r\n%title;\r\n", "\r\n"},
    };
    TLinkItem item;
    item.Title = "x";
    const LinkItemView view(item);
    for (const auto& [header, body, footer] : cases) {
        const TTemplateRec rec{"t", header, body, footer, "[", "]", ","};
        const std::string rendered = sjis::ReplaceAll(body, "%title;", "x");
        EXPECT_EQ(RenderItemList(rec, {&view, &view}, ""), CleanedTheLongWay(header + rendered + rendered + footer))
            << "header " << testing::PrintToString(header) << " body " << testing::PrintToString(body);
    }
}

TEST(RenderItemList, LeavesWhatStandsInFrontAsItIs)
{
    // The text in front ends in blanks and a CR; the list starts with LF
    // and an empty line: no CR LF forms across the two.
    const TTemplateRec rec{"t", "\n\r\n<UL>\r\n", "%title;\r\n", "</UL>\r\n", "[", "]", ","};
    TLinkItem item;
    item.Title = "a";
    const LinkItemView view(item);
    std::string out = "<P>\r\n \r";
    AppendItemList(out, rec, {&view}, "");
    EXPECT_EQ(out, "<P>\r\n \r" + RenderItemList(rec, {&view}, ""));
    EXPECT_EQ(RenderItemList(rec, {&view}, ""), "\n\r\n<UL>\r\na\r\n</UL>\r\n");
}

TEST(RenderItemList, SameAsEachItemRenderedOnItsOwn)
{
    // Lists render every expansion of a body once; what each item gives
    // must not change by that, whatever the template and the values hold.
    std::vector<TLinkItem> items;
    for (int i = 0; i < 8; ++i) {
        TLinkItem item = SampleItem();
        item.Serial = i;
        item.Author = i % 2 == 0 ? "" : "A" + std::to_string(i);
        item.Status = i % 7;
        item.Attributes = i % 3 == 0 ? "" : "new/x%y;";
        item.Title = i == 5 ? "50%off" : i == 6 ? "%author;" : "T" + std::to_string(i);
        item.Url = i == 7 ? "example.jp/%7Euser/" : "example.jp/" + std::to_string(i);
        item.Banner = i == 3 ? "" : "%%b.gif";
        items.push_back(std::move(item));
    }
    const std::vector<std::string> bodies{
        BuiltinSimpleTemplate().Body,
        BuiltinDetailTemplate().Body,
        "<!--if is author-->%author;<!--if iss high-->!<!--else-->.<!--end--><!--else-->-<!--end-->%title;\r\n",
        "<!--if nisa new-->%title;<!--end--> %attribute; 100% %url;\r\n",
        "%tit<!--if is banner-->le;<!--end-->|%banner;|%x;%y;\r\n",
        "%%%title;%;%comment;%serial;\r\n",
        "<!--if bogus x-->never<!--end--><!--if is comment-->%comment;\r\n",
    };
    std::vector<LinkItemView> views(items.begin(), items.end());
    std::vector<const LinkItemView*> list;
    for (const LinkItemView& view : views) {
        list.push_back(&view);
    }
    for (const std::string& body : bodies) {
        const TTemplateRec rec{"t", "<UL>\r\n", body, "</UL>\r\n", "[", "]", ","};
        std::string each = rec.Header;
        for (const LinkItemView& view : views) {
            each += RenderItem(view, rec, "../");
        }
        each += rec.Footer;
        EXPECT_EQ(RenderItemList(rec, list, "../"), CleanedTheLongWay(each)) << body;
    }
}

TEST(Templates, BuiltinsStoredFormAndLookup)
{
    const TTemplateRec simple = BuiltinSimpleTemplate();
    EXPECT_EQ(simple.Header, "<OL start=%begin;>\r\n");
    EXPECT_EQ(simple.Body,
        "\t<LI><A href=\"%url;\" target=\"_blank\"><B>%title;</B><!--if is author--> / %author;<!--end--></A>\r\n");
    EXPECT_EQ(simple.Footer, "</OL>\r\n");
    const TTemplateRec detail = BuiltinDetailTemplate();
    EXPECT_EQ(detail.Header, "<DIV align=center>\r\n<OL start=%begin;>\r\n");
    EXPECT_EQ(std::count(detail.Body.begin(), detail.Body.end(), '\n'), 29);

    Project project;
    const TTemplateRec user{"Mine/1", "h", "b&<>\"\r\n", "f", "", "", ","};
    project.Templates = {StoredTemplateForm(user)};
    EXPECT_EQ(ParseStoredTemplate(project.Templates[0]), user);
    EXPECT_EQ(FindItemTemplate(project, "Mine/1"), user);
    EXPECT_EQ(FindItemTemplate(project, "mine/1"), simple);
    EXPECT_EQ(FindItemTemplate(project, DetailTemplateName()), detail);
    EXPECT_FALSE(ParseStoredTemplate("a/b/c").has_value());
}

} // namespace
