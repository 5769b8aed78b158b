#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "core/reading/EdrdgDictionaries.h"
#include "core/reading/KnownReadings.h"
#include "core/reading/LatinReading.h"
#include "core/reading/ReadingService.h"
#include "support/FakeReadings.h"
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

TEST(ComposeReading, WordsLatinAndNames)
{
    const HeadwordDictionary names = HeadwordDictionary::Parse("鬼滅の刃 [きめつのやいば] /(wk) Demon Slayer/\n"
                                                       "宮崎駿 [みやざきはやお] /(h) Miyazaki Hayao/\n"
                                                       "源 [あつし] /(g) Atsushi/\n"
                                                       "源 [げん] /(s) Gen/\n"
                                                       "京都 [みやこ] /(p,s,f) Miyako/\n"
                                                       "京都 [きょうと] /(p,s,f) Kyouto/\n",
        HeadwordFile::Names);
    const std::string edict = "ピアノ /(n) (music) piano (ita:)/(P)/\n"
                              "ルーム /(n) room/(P)/\n"
                              "ゆとり /(n) room/(P)/\n"
                              "ハイム /(n) home (ger: Heim)/(P)/\n"
                              "ホーム /(n) (1) platform/(n) (2) home/(P)/\n"
                              "頁 [ページ] /(n,ctr) (uk) page/(P)/\n"
                              "ノー /(n) no/(P)/\n"
                              "百合 [ゆり] /(n) lily/(P)/\n"
                              "蕎麦 [そば] /(n) soba/(P)/\n"
                              "蕎麦 [そばむぎ] /(n) buckwheat/\n"
                              "日記帳 [にっきちょう] /(n) diary/\n"
                              "河原 [かわら] /(n) riverbed/(P)/\n"
                              "作り [つくり] /(n) making/(P)/\n";
    const EnglishWords english = EnglishWords::Parse(edict);
    const HeadwordDictionary words = HeadwordDictionary::Parse(edict, HeadwordFile::Words);
    const ReadingDictionaries dictionaries{&names, &words, &english};
    const struct {
        const char* text;
        std::vector<ReadingToken> tokens;
        const char* reading;
        bool complete;
        bool uncertain;
    } cases[] = {
        {"猫の部屋", {{"猫", "ネコ"}, {"の", "ノ"}, {"部屋", "ヘヤ"}}, "ねこのへや", true, false},
        // A word the dictionary lacks is read when it is written in kana.
        {"ポケモン図鑑", {{"ポケモン", ""}, {"図鑑", "ズカン"}}, "ぽけもんずかん", true, false},
        // Punctuation and symbols have no reading and do not count.
        {"★猫・犬！", {{"★", "★"}, {"猫", "ネコ"}, {"・", "・"}, {"犬", "イヌ"}, {"！", "！"}}, "ねこいぬ", true, false},
        {"★", {{"★", "★"}}, "", false, false},
        {"", {}, "", false, false},
        // An unknown kanji word is partial; one ENAMDICT names is a guess.
        {"淹れ", {{"淹", "", true}, {"れ", "レ"}}, "れ", false, true},
        {"源", {{"源", "", true}}, "あつし", true, true},
        // Letters and digits by rule, always marked.
        {"Piano Room", {{"Piano", ""}, {"Room", ""}}, "ぴあのるうむ", true, true},
        {"Home Page", {{"Home", ""}, {"Page", ""}}, "ほおむぺえじ", true, true},
        {"3月", {{"3", ""}, {"月", "ツキ"}}, "さんがつ", true, true},
        {"9月24日", {{"9", ""}, {"月", "ツキ"}, {"24", ""}, {"日", "ヒ"}}, "くがつにじゅうよっか", true, true},
        {"Sakura no Heya", {{"Sakura", ""}, {"no", ""}, {"Heya", ""}}, "さくらのへや", true, true},
        {"HTML入門", {{"HTML", ""}, {"入門", "ニュウモン"}}, "えいちてぃいえむえるにゅうもん", true, true},
        {"第2回", {{"第", "ダイ"}, {"2", ""}, {"回", "カイ"}}, "だいにかい", true, true},
        {"mp3", {{"mp3", ""}}, "えむぴいさん", true, true},
        // A known work or person as the whole text or inside it.
        {"鬼滅の刃", {{"鬼", "オニ"}, {"滅", "メツ"}, {"の", "ノ"}, {"刃", "ハ"}}, "きめつのやいば", true, false},
        {"宮崎駿の世界", {{"宮崎", "ミヤザキ", false, true}, {"駿", "シュン", false, true}, {"の", "ノ"}, {"世界", "セカイ"}},
            "みやざきはやおのせかい", true, false},
        // A compound EDICT knows, split by the words; one read otherwise
        // than its common reading is a guess.
        {"百合の花", {{"百", "ヒャク"}, {"合", "ゴウ"}, {"の", "ノ"}, {"花", "ハナ"}}, "ゆりのはな", true, false},
        {"日記帳", {{"日", "ニチ", false, true}, {"記帳", "キチョウ"}}, "にっきちょう", true, false},
        {"蕎麦", {{"蕎麦", "ソバムギ"}}, "そば", true, true},
        {"蕎麦", {{"蕎麦", "ソバ"}}, "そば", true, false},
        // A surname before "の" is the word it also is; a voiced first
        // sound is the compound's, not another word's.
        {"河原の石", {{"河原", "カワハラ", false, true, false, true}, {"の", "ノ"}, {"石", "イシ"}}, "かわらのいし", true,
            true},
        {"弁当作り", {{"弁当", "ベントウ", false, false, false, false, true}, {"作り", "ヅクリ"}}, "べんとうづくり", true,
            false},
        {"花畑", {{"花", "ハナ", false, false, false, false, true}, {"畑", "ハタケ"}}, "はなばたけ", true, false},
        // A kanji ending a pet's name is no given name of its own.
        {"ニャン太", {{"ニャン", "", false, false, false, false, true}, {"太", "フトシ", false, true, false, true}},
            "にゃんた", true, false},
        {"星野太", {{"星野", "ホシノ", false, true, false, true, true}, {"太", "フトシ", false, true, false, true}},
            "ほしのふとし", true, false},
        // Among a name's readings the words' own stands; a common word is
        // not read as a rarer name.
        {"京都", {{"京都", "キョウト", false, true}}, "きょうと", true, false},
        {"源", {{"源", "ミナモト"}}, "みなもと", true, false},
        // A doubtful name ENAMDICT does not settle.
        {"源", {{"源", "ゲン", false, true, true}}, "げん", true, true},
    };
    for (const auto& c : cases) {
        const ReadingSuggestion suggestion = ComposeReading(c.text, c.tokens, dictionaries);
        EXPECT_EQ(Utf8(suggestion.reading), c.reading) << c.text;
        EXPECT_EQ(suggestion.complete, c.complete) << c.text;
        EXPECT_EQ(suggestion.uncertain, c.uncertain) << c.text;
    }
}

TEST(LatinReading, NumbersLettersAndRomaji)
{
    const std::pair<std::string, const char*> cases[] = {
        {NumberReading("2003"), "にせんさん"},
        {NumberReading("10"), "じゅう"},
        {NumberReading("386"), "さんびゃくはちじゅうろく"},
        {NumberReading("10000"), "いちまん"},
        {NumberReading("120000000"), "いちおくにせんまん"},
        {NumberReading("0"), "ぜろ"},
        {NumberReading("007"), "ぜろぜろなな"},
        {LetterReading("CG"), "シージー"},
        {RomajiReading("Sakura").value_or("-"), "さくら"},
        {RomajiReading("konnichiwa").value_or("-"), "こんにちわ"},
        {RomajiReading("shimbun").value_or("-"), "しんぶん"},
        {RomajiReading("kitte").value_or("-"), "きって"},
        {RomajiReading("kin'en").value_or("-"), "きんえん"},
        {RomajiReading("room").value_or("-"), "-"},
        {RomajiReading("Linux").value_or("-"), "-"},
    };
    for (const auto& [got, expected] : cases) {
        EXPECT_EQ(got, expected);
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
    const ReadingServiceStatus opened = OpenReadingService({.mecabDir = "/nonexistent/dictionary"});
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
        bool uncertain;
    } cases[] = {
        {"ゲーム攻略の部屋", "げえむこうりゃくのへや", true, false},
        {"山田太郎", "やまだたろう", true, false},
        {"ｹﾞｰﾑの部屋", "げえむのへや", true, false}, // half-width katakana
        {"★猫の写真館★", "ねこのしゃしんかん", true, false},
        {"「鉄道」写真", "てつどうしゃしん", true, false},
        {"ＣＧ素材", "しいじいそざい", true, true}, // full-width letters too
        {"2024年の旅", "にせんにじゅうよねんのたび", true, true},
        {"", "", false, false},
        {"   ", "", false, false},
    };
    for (const auto& c : cases) {
        const ReadingSuggestion suggestion = opened.service->Suggest(SJ(c.text));
        EXPECT_EQ(Utf8(suggestion.reading), c.reading) << c.text;
        EXPECT_EQ(suggestion.complete, c.complete) << c.text;
        EXPECT_EQ(suggestion.uncertain, c.uncertain) << c.text;
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
}

} // namespace
} // namespace tessaly

namespace tessaly {
namespace {

// The readings the user gave come first: whole texts, then known words
// inside a text with the dictionary reading the rest.
TEST(KnownReadings, TheUsersReadingsComeFirst)
{
    const test::FakeReadings dictionary;
    KnownReadings known;
    known.Add(SJ("星野 源"), SJ("ほしのげん")); // an author as stored, with a space
    known.Add(SJ("猫"), SJ("みけ")); // one kanji: whole texts only
    known.Add(SJ("鉄道写真"), SJ("てつどうしゃしん"));
    known.Add(SJ("鉄道写真"), SJ("てっどうしゃしん")); // the later reading wins
    known.Add("Tokyo", SJ("とうきょう"));
    // What an import guessed and stored is no evidence; what the user
    // typed in the collection is.
    known.Add("Web", SJ("だぶりゅういいびい"), false);
    known.Add(SJ("写真館"), SJ("しゃしんやかた"), false);
    known.Add(std::string(2000, 'x'), SJ("えっくす")); // no name anyone types
    const LearnedReadingService readings(dictionary, known);
    const struct {
        const char* text;
        const char* reading;
        bool certain;
    } cases[] = {
        {"星野源", "ほしのげん", true},
        {" 星野　源 ", "ほしのげん", true},
        {"猫", "みけ", true},
        {"星野源の猫", "ほしのげんのねこ", true},
        {"猫と鉄道写真", "ねこと" "てっどうしゃしん", true},
        {"星野源とWeb", "ほしのげんとだぶりゅういいびい", false}, // the rest is guessed
        {"星野源と淹", "ほしのげんと", false}, // or not read at all
        {"写真", "しゃしん", true}, // from the dictionary
        {"TOKYO", "とうきょう", true},
        {"Tokyo Tower", "とうきょうてぃいおおだぶりゅういいあある", false},
        {"Tokyoites", "てぃいおおけえわいおおあいてぃいいいえす", false}, // a word stands alone
        {"Web", "だぶりゅういいびい", false},
        {"猫の写真館", "ねこのしゃしんやかた", true},
    };
    for (const auto& c : cases) {
        const ReadingSuggestion suggestion = readings.Suggest(SJ(c.text));
        EXPECT_EQ(Utf8(suggestion.reading), c.reading) << c.text;
        EXPECT_EQ(suggestion.Certain(), c.certain) << c.text;
    }
    EXPECT_EQ(known.Find(std::string(2000, 'x')), nullptr);
}

TEST(KnownReadings, CorrectionsAreLearnedInTheUsersDictionary)
{
    const test::TempDir dir;
    const std::filesystem::path file = dir / "tessaly" / "readings.txt";
    std::string error;
    ASSERT_TRUE(LearnReading(file, SJ("星野源"), SJ("ほしのはじめ"), error)) << error; // the folder is made
    // Edited by hand meanwhile: his lines and comments stay.
    test::WriteFile(file, test::ReadFile(file) + "# mine\n米津玄師\tよねづけんし\nbroken line\n猫\tネコ\n");
    ASSERT_TRUE(LearnReading(file, SJ("星野源"), SJ("ほしのげん"), error)) << error;
    EXPECT_FALSE(LearnReading(file, SJ("猫"), SJ("ネコ"), error)); // not hiragana
    EXPECT_FALSE(LearnReading(file, "", SJ("ねこ"), error));
    EXPECT_EQ(test::ReadFile(file), "# Readings learned by Tessaly: text, a tab, its reading in hiragana.\n"
                                    "# mine\n米津玄師\tよねづけんし\nbroken line\n猫\tネコ\n星野源\tほしのげん\n");
    KnownReadings known;
    known.AddUserDictionary(file);
    known.AddUserDictionary(dir / "missing.txt");
    ASSERT_NE(known.Find(SJ("星野源")), nullptr);
    EXPECT_EQ(known.Find(SJ("星野源"))->reading, SJ("ほしのげん"));
    ASSERT_NE(known.Find(SJ("米津玄師")), nullptr);
    EXPECT_EQ(known.Find(SJ("米津玄師"))->reading, SJ("よねづけんし"));
    EXPECT_EQ(known.Find(SJ("猫")), nullptr); // a reading in katakana is passed over
}

} // namespace
} // namespace tessaly
