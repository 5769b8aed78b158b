#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "core/reading/ReadingService.h"
#include "support/TempDir.h"
#include "core/text/Codepage.h"
#include "core/text/Kana.h"
#include "core/text/KanaReading.h"

namespace tessaly {
namespace {

std::string Utf8(const std::string& sjis)
{
    return SjisToUtf8Lossy(sjis);
}

TEST(KanaReading, KatakanaAndLongVowelMarks)
{
    const struct {
        const char* kana;
        const char* reading;
    } cases[] = {
        {"コーヒー", "こおひい"},
        {"ジュース", "じゅうす"}, // small ゅ lengthens with u
        {"ティー", "てぃい"},
        {"ラーメン", "らあめん"},
        {"ホームページ", "ほおむぺえじ"},
        {"ヴァイオリン", "ばいおりん"},
        {"ヴィ", "び"},
        {"ヴ", "ぶ"},
        {"ヴー", "ぶう"},
        {"ヶ月", nullptr},
        {"ヵヶ", "かけ"},
        {"ゐゑをゎ", "ゐゑをゎ"},
        {"ンー", nullptr}, // ん has no vowel to lengthen
        {"ッー", "っう"},
        {"ーア", nullptr}, // nothing before the mark
        {"ひらがな", "ひらがな"},
        {"ＡＢＣ", nullptr},
        {"abc", nullptr},
        {"か・な", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        KanaReadingBuilder builder;
        EXPECT_EQ(builder.AppendKana(c.kana), c.reading != nullptr) << c.kana;
        EXPECT_EQ(Utf8(builder.Reading()), c.reading ? c.reading : "") << c.kana;
        EXPECT_TRUE(IsHiragana(builder.Reading())) << c.kana;
    }
}

TEST(KanaReading, LongVowelMarkContinuesThePieceBefore)
{
    KanaReadingBuilder builder;
    EXPECT_TRUE(builder.AppendKana("スパ"));
    EXPECT_TRUE(builder.AppendKana("ー"));
    EXPECT_FALSE(builder.AppendKana("x"));
    EXPECT_EQ(Utf8(builder.Reading()), "すぱあ");
}

TEST(KanaReading, ReadingIsCodePage932Hiragana)
{
    KanaReadingBuilder builder;
    ASSERT_TRUE(builder.AppendKana("アンぁ"));
    EXPECT_EQ(builder.Reading(), "\x82\xA0\x82\xF1\x82\x9F");
}

TEST(ReadingOfTokens, CompleteAndPartial)
{
    const struct {
        std::vector<ReadingToken> tokens;
        const char* reading;
        bool complete;
    } cases[] = {
        {{{"猫", "ネコ"}, {"の", "ノ"}, {"部屋", "ヘヤ"}}, "ねこのへや", true},
        // A word the dictionary lacks is read when it is written in kana.
        {{{"ポケモン", ""}, {"図鑑", "ズカン"}}, "ぽけもんずかん", true},
        {{{"スーパー", "スーパー"}, {"ー", ""}}, "すうぱああ", true},
        // Punctuation and symbols have no reading and do not count.
        {{{"★", "★"}, {"猫", "ネコ"}, {"・", "・"}, {"犬", "イヌ"}, {"！", "！"}}, "ねこいぬ", true},
        // Letters and digits without a reading make it partial.
        {{{"Web", ""}, {"素材", "ソザイ"}}, "そざい", false},
        {{{"第", "ダイ"}, {"2", ""}, {"回", "カイ"}}, "だいかい", false},
        {{{"淹", ""}, {"れ", "レ"}}, "れ", false},
        {{{"Google", ""}}, "", false},
        // Nothing to read is no reading, and not a complete one.
        {{{"★", "★"}}, "", false},
        {{}, "", false},
    };
    for (const auto& c : cases) {
        const ReadingSuggestion suggestion = ReadingOfTokens(c.tokens);
        EXPECT_EQ(Utf8(suggestion.reading), c.reading);
        EXPECT_EQ(suggestion.complete, c.complete) << c.reading;
    }
}

TEST(ReadingService, OpensWhenBuiltWithMecab)
{
    const ReadingServiceStatus opened = OpenReadingService();
#ifdef TESSALY_HAVE_MECAB
    EXPECT_TRUE(opened.service) << opened.error;
#else
    EXPECT_FALSE(opened.service);
    EXPECT_FALSE(opened.error.empty());
#endif
}

TEST(ReadingService, MissingDictionaryIsNoService)
{
    const ReadingServiceStatus opened = OpenReadingService("/nonexistent/dictionary");
    EXPECT_FALSE(opened.service);
#ifdef TESSALY_HAVE_MECAB
    EXPECT_EQ(opened.error, "'/nonexistent/dictionary' holds no MeCab dictionary (sys.dic and dicrc)");
#endif
}

#ifdef TESSALY_HAVE_MECAB
// Installing another dictionary switches the system's default (Debian's
// alternatives behind /etc/mecabrc); the readings do not follow it.
TEST(ReadingService, TheSystemsDefaultDictionaryIsNotUsed)
{
    const test::TempDir dir;
    test::WriteFile(dir / "mecabrc", "dicdir = " + (dir / "elsewhere").string() + "\n");
    const char* old = std::getenv("MECABRC");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("MECABRC", (dir / "mecabrc").c_str(), 1);
    const ReadingServiceStatus opened = OpenReadingService();
    if (saved) {
        ::setenv("MECABRC", saved->c_str(), 1);
    } else {
        ::unsetenv("MECABRC");
    }
    EXPECT_TRUE(opened.service) << opened.error;
}
#endif

TEST(ReadingService, SuggestsFromTitlesAndNames)
{
    const ReadingServiceStatus opened = OpenReadingService();
    if (!opened.service) {
        GTEST_SKIP() << opened.error;
    }
    const struct {
        const char* text;
        const char* reading;
        bool complete;
    } cases[] = {
        {"ゲーム攻略の部屋", "げえむこうりゃくのへや", true},
        {"山田太郎", "やまだたろう", true},
        {"ｹﾞｰﾑの部屋", "げえむのへや", true}, // half-width katakana
        {"★猫の写真館★", "ねこのしゃしんかん", true},
        {"「鉄道」写真", "てつどうしゃしん", true},
        {"Web素材の部屋", "そざいのへや", false},
        {"ＣＧ素材", "そざい", false}, // full-width letters too
        {"Linux", "", false},
        {"", "", false},
        {"   ", "", false},
    };
    for (const auto& c : cases) {
        const ReadingSuggestion suggestion = opened.service->Suggest(SJ(c.text));
        EXPECT_EQ(Utf8(suggestion.reading), c.reading) << c.text;
        EXPECT_EQ(suggestion.complete, c.complete) << c.text;
        EXPECT_TRUE(IsHiragana(suggestion.reading)) << c.text;
    }
}

// A reading is made of the first characters of a huge text.
TEST(ReadingService, HugeTextsGiveAReadingOfTheirBeginning)
{
    const ReadingServiceStatus opened = OpenReadingService();
    if (!opened.service) {
        GTEST_SKIP() << opened.error;
    }
    std::string text;
    for (int i = 0; i < 100'000; ++i) {
        text += SJ("猫");
    }
    const ReadingSuggestion suggestion = opened.service->Suggest(text);
    EXPECT_FALSE(suggestion.complete);
    EXPECT_TRUE(suggestion.reading.starts_with(SJ("ねこねこ")));
    EXPECT_LE(suggestion.reading.size(), 4096u);
}

TEST(ReadingService, BytesThatAreNotShiftJisGiveNoCrash)
{
    const ReadingServiceStatus opened = OpenReadingService();
    if (!opened.service) {
        GTEST_SKIP() << opened.error;
    }
    const ReadingSuggestion suggestion = opened.service->Suggest(std::string("\x82\xFF\x81", 3) + SJ("猫"));
    EXPECT_TRUE(IsHiragana(suggestion.reading));
    EXPECT_FALSE(suggestion.complete);
}

} // namespace
} // namespace tessaly
