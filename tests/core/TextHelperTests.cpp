#include <gtest/gtest.h>

#include "support/ScriptedMessages.h"
#include "core/text/Codepage.h"
#include "core/text/Html.h"
#include "core/text/Kana.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/TagField.h"
#include "core/text/Xml.h"

using namespace tessaly;

namespace {

TEST(Sjis, SearchesNeverMatchTrailBytes)
{
    const std::string text = SJ("表示|"); // 表 is 0x95 0x5C
    EXPECT_EQ(sjis::FindChar(text, '\\'), sjis::npos);
    EXPECT_EQ(sjis::FindChar(text, '|'), 4u);
    EXPECT_EQ(sjis::ReplaceAll(SJ("ソフト"), "\\", "/"), SJ("ソフト")); // ソ is 0x83 0x5C
    EXPECT_EQ(sjis::Split(SJ("表/示"), '/').size(), 2u);
    EXPECT_EQ(sjis::FindText("\x83\x41\x41", "\x41"), 2u);
    EXPECT_EQ(sjis::Characters(SJ("aあb")).size(), 3u);
    EXPECT_EQ(sjis::CharLength("\x82", 0), 1u); // lone lead byte at the end
}

TEST(Strings, TrimAndLines)
{
    EXPECT_EQ(Trim(" \t\r\nab c\x01 "), "ab c");
    EXPECT_EQ(Trim(SJ("　あ")), SJ("　あ")); // ideographic blank is not a control byte
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\n").size(), 4u);
    EXPECT_EQ(SplitLines("a\r\r\nb").size(), 3u);
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitList("a/b/", '/').size(), 2u);
    EXPECT_EQ(SplitList("a/b//", '/').size(), 3u);
}

TEST(Strings, Numbers)
{
    EXPECT_EQ(ParseInt32("42"), 42);
    EXPECT_EQ(ParseInt32("  -7"), -7);
    EXPECT_EQ(ParseInt32("+7"), 7);
    EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
    for (const char* bad : {"", "x", "1x", "2147483648", "+-1", "1 ", "1.5"}) {
        EXPECT_FALSE(ParseInt32(bad).has_value()) << bad;
    }
    EXPECT_EQ(FormatSerial(7), "0007");
    EXPECT_EQ(FormatSerial(12345), "12345");
    EXPECT_EQ(RepeatText("ab", 3), "ababab");
    EXPECT_EQ(RepeatText("ab", 0), "");
    EXPECT_EQ(FirstOfSet("/;", "ab;c/"), 3u);
    EXPECT_EQ(FirstOfSet("\\", SJ("表")), 0u);
    EXPECT_EQ(ReplaceDelimiters(SJ("a,b表c"), ",\\", '_'), SJ("a_b表c"));
}

TEST(Kana, IsHiragana)
{
    EXPECT_TRUE(IsHiragana(""));
    EXPECT_TRUE(IsHiragana(SJ("ぁあいうん")));
    EXPECT_FALSE(IsHiragana(SJ("あー"))); // long vowel mark
    EXPECT_FALSE(IsHiragana(SJ("ア")));
    EXPECT_FALSE(IsHiragana(SJ("あ　")));
    EXPECT_FALSE(IsHiragana("a"));
    EXPECT_FALSE(IsHiragana(SJ("あ") + "\x82"));
}

struct KanaRangeCase {
    const char* text;
    const char* normalised;
};

class KanaRangeText : public ::testing::TestWithParam<KanaRangeCase> { };

TEST_P(KanaRangeText, ReadsAndWritesBack)
{
    KanaRange flags;
    TextToKanaRange(SJ(GetParam().text), flags);
    EXPECT_EQ(KanaRangeToText(flags), SJ(GetParam().normalised));
}

INSTANTIATE_TEST_SUITE_P(Ranges, KanaRangeText,
    ::testing::Values(KanaRangeCase{"ぁあぃ", "ぁ-ぃ"}, KanaRangeCase{"ぃあ", "あぃ"}, KanaRangeCase{"か-こ", "か-こ"},
        KanaRangeCase{"か--こ", "か-こ"}, KanaRangeCase{"こ-か", ""}, KanaRangeCase{"ん-", "ん"},
        KanaRangeCase{"を-", "をん"}, KanaRangeCase{"-ぃ", "ぁ-ぃ"}, KanaRangeCase{"あ-う", "あ-う"},
        KanaRangeCase{"さ", "さ"}, KanaRangeCase{"あa", ""}, KanaRangeCase{"-ん", "ぁ-ん"}));

TEST(Kana, RangeOnlySetsAndPartialness)
{
    KanaRange flags;
    flags.set(0);
    TextToKanaRange(SJ("ん"), flags);
    EXPECT_TRUE(flags.test(0));
    EXPECT_TRUE(flags.test(kKanaCount - 1));
    EXPECT_TRUE(KanaRangeIsPartial(flags));
    EXPECT_FALSE(KanaRangeIsPartial(KanaRange()));
    EXPECT_FALSE(KanaRangeIsPartial(KanaRange().set()));
}

TEST(Html, EscapeUnescapeAndBooleans)
{
    EXPECT_EQ(HtmlEscape("<a & \"b\">"), "&lt;a &amp; &quot;b&quot;&gt;");
    EXPECT_EQ(HtmlUnescape("&LT;a &Amp; &quot;b&QUOT;&gt;"), "<a & \"b\">");
    EXPECT_EQ(HtmlUnescape("&amp;lt;"), "&lt;");
    EXPECT_EQ(BoolToText(true), "TRUE");
    EXPECT_TRUE(TextToBool("true", false));
    EXPECT_FALSE(TextToBool("False", true));
    EXPECT_TRUE(TextToBool("yes", true));
    EXPECT_FALSE(TextToBool("", false));
}

TEST(Xml, EscapesAndLeavesOutWhatXmlCannotHold)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<a & \"b\">]]>", "&lt;a &amp; &quot;b&quot;&gt;]]&gt;"}, // "]]>" ends no section
        {"tab\tline\ncr\r'", "tab\tline\ncr\r'"}, // the blanks XML keeps
        {std::string_view("a\0b\x01\x1F\x7F", 6), "ab\x7F"}, // DEL is an XML 1.0 character
        {"\xEF\xBF\xBE\xEF\xBF\xBFx", "x"}, // U+FFFE, U+FFFF
        {"\xE3\x81\x82\xF0\x9F\x98\x80", "\xE3\x81\x82\xF0\x9F\x98\x80"}, // あ and an emoji
        {"\x82\xA0", "\uFFFD\uFFFD"}, // code page 932
        {"\xC0\xAF", "\uFFFD\uFFFD"}, // overlong
        {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"}, // surrogate
        {"\xE3\x81", "\uFFFD\uFFFD"}, // cut short
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(XmlEscape(text), escaped) << text;
    }
}

TEST(TagField, ParsesAndRebuilds)
{
    TTagField tag(R"(href="a b" target=_top nowrap)");
    ASSERT_EQ(tag.Count(), 3);
    EXPECT_EQ(tag.Name(0), "href");
    EXPECT_EQ(tag.Value(0), "a b");
    EXPECT_EQ(tag.Field(0).Quote, TFieldRec::DoubleQuoted);
    EXPECT_EQ(tag.Value(1), "_top");
    EXPECT_EQ(tag.Field(1).Quote, TFieldRec::Unquoted);
    EXPECT_EQ(tag.Name(2), "nowrap");
    EXPECT_EQ(tag.Value(2), "");
    EXPECT_EQ(tag.Text(), R"(href="a b" target=_top nowrap)");
    EXPECT_EQ(tag.IndexOf("TARGET", true), 1);
    EXPECT_EQ(tag.IndexOf("TARGET", false), -1);
    tag.SetValue(0, "../x.html");
    EXPECT_EQ(tag.Text(), R"(href="../x.html" target=_top nowrap)");
}

TEST(TagField, EdgeCases)
{
    TTagField unclosed(R"(href="abc)");
    ASSERT_EQ(unclosed.Count(), 1);
    EXPECT_EQ(unclosed.Value(0), "abc");

    TTagField single("src='x y' width=1\r\nheight=2 alt=");
    ASSERT_EQ(single.Count(), 3);
    EXPECT_EQ(single.Field(0).Quote, TFieldRec::SingleQuoted);
    EXPECT_EQ(single.Value(1), "1\r\nheight=2"); // an unquoted value runs to the next blank
    EXPECT_EQ(single.Name(2), "alt");
    EXPECT_EQ(single.Text(), "src='x y' width=1\r\nheight=2 alt");

    EXPECT_EQ(TTagField("   ").Count(), 0);
    EXPECT_EQ(TTagField("a   b").Text(), "a b");
}

} // namespace
