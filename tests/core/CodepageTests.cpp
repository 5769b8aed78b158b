#include <algorithm>
#include <gtest/gtest.h>

#include "text/Codepage.h"
#include "text/Collation.h"

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
