#include <gtest/gtest.h>

#include "core/text/Codepage.h"
#include "core/text/FieldText.h"

using namespace tessaly;

namespace {

struct EscapeCase {
    std::string plain;
    std::string escaped;
};

class EscapeFieldRoundTrip : public ::testing::TestWithParam<EscapeCase> { };

TEST_P(EscapeFieldRoundTrip, EscapesAndComesBack)
{
    EXPECT_EQ(EscapeField(GetParam().plain), GetParam().escaped);
    EXPECT_EQ(UnescapeField(GetParam().escaped), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(Fields, EscapeFieldRoundTrip,
    ::testing::Values(EscapeCase{"a/b\r\nc&d", "a&sl;b&ln;c&amp;d"}, EscapeCase{"A/B & C", "A&sl;B &amp; C"},
        EscapeCase{"<a href=\"x\">", "&lt;a href=&quot;x&quot;&gt;"}, EscapeCase{"&ln;", "&amp;ln;"},
        EscapeCase{"", ""}, EscapeCase{"\x95\x5C/", "\x95\x5C&sl;"}));

TEST(EscapeField, NormalisesEveryLineBreakToOneEntity)
{
    EXPECT_EQ(EscapeField("a\rb\nc\r\nd\n\re"), "a&ln;b&ln;c&ln;d&ln;&ln;e");
}

TEST(UnescapeField, RestoresAmpersandLast)
{
    EXPECT_EQ(UnescapeField("&amp;sl;"), "&sl;");
    EXPECT_EQ(UnescapeField("&amp;amp;"), "&amp;");
    EXPECT_EQ(UnescapeField("&AMP;&sl"), "&AMP;&sl");
    EXPECT_EQ(UnescapeField(UnescapeField("&amp;ln;")), "\r\n");
}

TEST(SlashLists, SplitJoinAndBrackets)
{
    EXPECT_EQ(SplitSlashList("a&sl;b/c"), (std::vector<std::string>{"a/b", "c"}));
    EXPECT_EQ(SplitSlashList("a//b/"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitSlashList("").empty());
    EXPECT_EQ(JoinSlashList("a/b\r\nc&d\r\n"), "a&sl;b/c&amp;d/");
    EXPECT_EQ(JoinSlashList("x"), "x");
    EXPECT_EQ(BracketList(""), "");
    EXPECT_EQ(BracketList("x"), "[x]");
    EXPECT_EQ(BracketList("a/b"), "[a][b]");
    EXPECT_EQ(BracketList("a//b"), "[a][b]");
    EXPECT_EQ(BracketList("a&sl;b/c"), "[a/b][c]");
}

TEST(BracketList, TwoByteCharacterWithBracketTrailByteIsKept)
{
    // 0x83 0x5B is the katakana long vowel mark; its trail byte is "[".
    const std::string name = "\x83\x5B]";
    EXPECT_EQ(BracketList(name), "[" + name + "]");
}

} // namespace

namespace {

TEST(SlashLists, NamesWithAnyByteSurviveJoiningAndSplitting)
{
    const std::vector<std::string> names = {"a\xFF" "b", "\x82", "c/d"};
    const std::string joined = JoinSlashList(names[0] + "\r\n" + names[1] + "\r\n" + names[2]);
    EXPECT_EQ(SplitSlashList(joined), names);
}

} // namespace
