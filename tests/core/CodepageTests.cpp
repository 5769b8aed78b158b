#include <algorithm>
#include <gtest/gtest.h>

#include "core/text/Codepage.h"
#include "core/text/Collation.h"

using namespace tessaly;

namespace {

TEST(Codepage, RoundTripsJapaneseText)
{
    const std::string utf8 = "あ～①髙ｱ表示 ABC";
    const ConversionResult sjis = Utf8ToSjis(utf8);
    ASSERT_TRUE(sjis.ok);
    EXPECT_EQ(sjis.text.substr(0, 2), "\x82\xA0");
    const ConversionResult back = SjisToUtf8(sjis.text);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.text, utf8);
}

TEST(Codepage, NamesTheCharacterItCannotConvert)
{
    const ConversionResult result = Utf8ToSjis("ab😀c");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorOffset, 2u);
    EXPECT_EQ(result.badCharacter, "😀");

    const ConversionResult hangul = Utf8ToSjis("あ한");
    EXPECT_FALSE(hangul.ok);
    EXPECT_EQ(hangul.badCharacter, "한");

    const ConversionResult badUtf8 = Utf8ToSjis("a\xFF");
    EXPECT_FALSE(badUtf8.ok);
    EXPECT_EQ(badUtf8.errorOffset, 1u);
}

// Input methods give the JIS forms; each is stored as code page 932 writes it.
TEST(Codepage, TakesTheJisFormsOfEverydayCharacters)
{
    const struct {
        const char* utf8;
        const char* sjis;
    } cases[] = {
        {"\u301C", "\x81\x60"}, // wave dash, as typed for "〜"
        {"\uFF5E", "\x81\x60"}, // the code page's own form stays
        {"\u2016", "\x81\x61"},
        {"\u2212", "\x81\x7C"},
        {"\u00A2", "\x81\x91"},
        {"\u00A3", "\x81\x92"},
        {"\u00AC", "\x81\xCA"},
        {"\u2014", "\x81\x5C"},
    };
    for (const auto& [utf8, sjis] : cases) {
        const ConversionResult converted = Utf8ToSjis(std::string("a") + utf8 + "b");
        ASSERT_TRUE(converted.ok) << utf8;
        EXPECT_EQ(converted.text, std::string("a") + sjis + "b") << utf8;
    }
    // The mapping comes before the check, so a later unconvertible character
    // is still named at its own offset.
    const ConversionResult emoji = Utf8ToSjis("\u301C\U0001F600");
    EXPECT_FALSE(emoji.ok);
    EXPECT_EQ(emoji.errorOffset, 3u);
}

TEST(Codepage, RefusesBytesThatAreNotShiftJis)
{
    EXPECT_FALSE(SjisToUtf8("a\x82").ok); // lead byte without trail
    EXPECT_FALSE(SjisToUtf8("\xFF").ok);
    EXPECT_EQ(SjisToUtf8Lossy("a\xFF"
                              "b"),
        "a\xEF\xBF\xBD"
        "b");
}

TEST(Collation, IgnoresCaseAndFollowsJapaneseOrder)
{
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_LT(CompareText("a", "B"), 0);
    EXPECT_LT(CompareText(SJ("あ"), SJ("い")), 0);
    EXPECT_LT(CompareText("z", SJ("あ")), 0);
    EXPECT_EQ(CollationKey("Hello"), CollationKey("hELLO"));
}

TEST(Collation, KeysSortLikeComparison)
{
    std::vector<std::string> words = {SJ("かきく"), "Beta", "alpha", SJ("あいう"), SJ("カキク"), "ALPHA2", "10", "9"};
    std::vector<std::string> byCompare = words;
    std::stable_sort(byCompare.begin(), byCompare.end(),
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    std::vector<std::string> byKey = words;
    std::stable_sort(byKey.begin(), byKey.end(),
        [](const std::string& a, const std::string& b) { return CollationKey(a) < CollationKey(b); });
    EXPECT_EQ(byCompare, byKey);
}

TEST(Collation, AsciiCaseOnlyForSingleByteLetters)
{
    EXPECT_TRUE(SameNameIgnoringAsciiCase("Games", "GAMES"));
    EXPECT_FALSE(SameNameIgnoringAsciiCase("Games", "Game"));
    // ア is 0x83 0x41: its trail byte is "A" but must not be folded.
    EXPECT_FALSE(SameNameIgnoringAsciiCase("\x83\x41", "\x83\x61"));
    EXPECT_EQ(AsciiLower(SJ("アB")), SJ("アb"));
}

} // namespace
