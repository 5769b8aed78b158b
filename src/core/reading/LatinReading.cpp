#include "core/reading/LatinReading.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/text/Collation.h"

namespace tessaly {

namespace {

constexpr std::array<std::string_view, 10> kDigitNames{
    "ぜろ", "いち", "に", "さん", "よん", "ご", "ろく", "なな", "はち", "きゅう"};
constexpr std::array<std::string_view, 10> kThousands{
    "", "せん", "にせん", "さんぜん", "よんせん", "ごせん", "ろくせん", "ななせん", "はっせん", "きゅうせん"};
constexpr std::array<std::string_view, 10> kHundreds{"", "ひゃく", "にひゃく", "さんびゃく", "よんひゃく",
    "ごひゃく", "ろっぴゃく", "ななひゃく", "はっぴゃく", "きゅうひゃく"};
constexpr std::array<std::string_view, 4> kMyriads{"", "まん", "おく", "ちょう"};
constexpr std::size_t kMostNumberDigits = 16;

// 1 to 9999.
std::string GroupReading(int value)
{
    std::string reading;
    reading += kThousands[static_cast<std::size_t>(value / 1000)];
    reading += kHundreds[static_cast<std::size_t>(value / 100 % 10)];
    if (const int tens = value / 10 % 10; tens > 0) {
        reading += tens == 1 ? std::string("じゅう") : std::string(kDigitNames[static_cast<std::size_t>(tens)]) + "じゅう";
    }
    if (const int ones = value % 10; ones > 0) {
        reading += kDigitNames[static_cast<std::size_t>(ones)];
    }
    return reading;
}

constexpr std::array<std::string_view, 26> kLetterNames{"エー", "ビー", "シー", "ディー", "イー", "エフ", "ジー",
    "エイチ", "アイ", "ジェー", "ケー", "エル", "エム", "エヌ", "オー", "ピー", "キュー", "アール", "エス", "ティー",
    "ユー", "ブイ", "ダブリュー", "エックス", "ワイ", "ゼット"};

// Syllables of romanised Japanese, longest spellings first where they share
// a beginning.
constexpr std::pair<std::string_view, std::string_view> kSyllables[] = {
    {"kya", "きゃ"}, {"kyu", "きゅ"}, {"kyo", "きょ"}, {"sha", "しゃ"}, {"shi", "し"}, {"shu", "しゅ"},
    {"she", "しぇ"}, {"sho", "しょ"}, {"sya", "しゃ"}, {"syu", "しゅ"}, {"syo", "しょ"}, {"cha", "ちゃ"},
    {"chi", "ち"}, {"chu", "ちゅ"}, {"che", "ちぇ"}, {"cho", "ちょ"}, {"tya", "ちゃ"}, {"tyu", "ちゅ"},
    {"tyo", "ちょ"}, {"tsu", "つ"}, {"nya", "にゃ"}, {"nyu", "にゅ"}, {"nyo", "にょ"}, {"hya", "ひゃ"},
    {"hyu", "ひゅ"}, {"hyo", "ひょ"}, {"mya", "みゃ"}, {"myu", "みゅ"}, {"myo", "みょ"}, {"rya", "りゃ"},
    {"ryu", "りゅ"}, {"ryo", "りょ"}, {"gya", "ぎゃ"}, {"gyu", "ぎゅ"}, {"gyo", "ぎょ"}, {"jya", "じゃ"},
    {"jyu", "じゅ"}, {"jyo", "じょ"}, {"zya", "じゃ"}, {"zyu", "じゅ"}, {"zyo", "じょ"}, {"bya", "びゃ"},
    {"byu", "びゅ"}, {"byo", "びょ"}, {"pya", "ぴゃ"}, {"pyu", "ぴゅ"}, {"pyo", "ぴょ"}, {"ka", "か"},
    {"ki", "き"}, {"ku", "く"}, {"ke", "け"}, {"ko", "こ"}, {"sa", "さ"}, {"si", "し"}, {"su", "す"},
    {"se", "せ"}, {"so", "そ"}, {"ta", "た"}, {"ti", "ち"}, {"tu", "つ"}, {"te", "て"}, {"to", "と"},
    {"na", "な"}, {"ni", "に"}, {"nu", "ぬ"}, {"ne", "ね"}, {"no", "の"}, {"ha", "は"}, {"hi", "ひ"},
    {"fu", "ふ"}, {"hu", "ふ"}, {"he", "へ"}, {"ho", "ほ"}, {"fa", "ふぁ"}, {"fi", "ふぃ"}, {"fe", "ふぇ"},
    {"fo", "ふぉ"}, {"ma", "ま"}, {"mi", "み"}, {"mu", "む"}, {"me", "め"}, {"mo", "も"}, {"ya", "や"},
    {"yu", "ゆ"}, {"yo", "よ"}, {"ra", "ら"}, {"ri", "り"}, {"ru", "る"}, {"re", "れ"}, {"ro", "ろ"},
    {"wa", "わ"}, {"wo", "を"}, {"ga", "が"}, {"gi", "ぎ"}, {"gu", "ぐ"}, {"ge", "げ"}, {"go", "ご"},
    {"za", "ざ"}, {"zi", "じ"}, {"zu", "ず"}, {"ze", "ぜ"}, {"zo", "ぞ"}, {"ja", "じゃ"}, {"ji", "じ"},
    {"ju", "じゅ"}, {"je", "じぇ"}, {"jo", "じょ"}, {"da", "だ"}, {"di", "ぢ"}, {"du", "づ"}, {"de", "で"},
    {"do", "ど"}, {"ba", "ば"}, {"bi", "び"}, {"bu", "ぶ"}, {"be", "べ"}, {"bo", "ぼ"}, {"pa", "ぱ"},
    {"pi", "ぴ"}, {"pu", "ぷ"}, {"pe", "ぺ"}, {"po", "ぽ"}, {"a", "あ"}, {"i", "い"}, {"u", "う"}, {"e", "え"},
    {"o", "お"},
};

bool IsVowel(char c)
{
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

} // namespace

std::string NumberReading(std::string_view digits)
{
    std::string reading;
    if (digits.empty() || digits.size() > kMostNumberDigits || (digits.size() > 1 && digits.front() == '0')) {
        for (const char digit : digits) {
            reading += kDigitNames[static_cast<std::size_t>(digit - '0')];
        }
        return reading;
    }
    if (digits == "0") {
        return std::string(kDigitNames[0]);
    }
    // Groups of four digits from the right: 万, 億, 兆.
    const std::size_t groups = (digits.size() + 3) / 4;
    std::size_t end = digits.size() - (groups - 1) * 4;
    std::size_t begin = 0;
    for (std::size_t group = groups; group-- > 0;) {
        int value = 0;
        for (std::size_t i = begin; i < end; ++i) {
            value = value * 10 + (digits[i] - '0');
        }
        if (value > 0) {
            reading += GroupReading(value);
            reading += kMyriads[group];
        }
        begin = end;
        end += 4;
    }
    return reading;
}

std::string LetterReading(std::string_view letters)
{
    std::string reading;
    for (const char letter : letters) {
        const char lower = letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
        if (lower >= 'a' && lower <= 'z') {
            reading += kLetterNames[static_cast<std::size_t>(lower - 'a')];
        }
    }
    return reading;
}

std::optional<std::string> RomajiReading(std::string_view word)
{
    const std::string letters = AsciiLower(word);
    std::string reading;
    std::size_t i = 0;
    while (i < letters.size()) {
        const char c = letters[i];
        const char next = i + 1 < letters.size() ? letters[i + 1] : '\0';
        if (c == '\'') {
            ++i;
            continue;
        }
        // ん before a consonant or at the end, and as "m" before b, p, m.
        if ((c == 'n' && !IsVowel(next) && next != 'y') || (c == 'm' && (next == 'b' || next == 'p' || next == 'm'))) {
            reading += "ん";
            i += c == 'n' && next == 'n' && (i + 2 >= letters.size() || !IsVowel(letters[i + 2])) ? 2U : 1U;
            continue;
        }
        // A doubled consonant is a small つ: "kk", "tt", "tch".
        if (!IsVowel(c) && (c == next || (c == 't' && next == 'c')) && c != 'n') {
            reading += "っ";
            ++i;
            continue;
        }
        const auto syllable = std::find_if(std::begin(kSyllables), std::end(kSyllables),
            [&](const auto& entry) { return std::string_view(letters).substr(i).starts_with(entry.first); });
        if (syllable == std::end(kSyllables)) {
            return std::nullopt;
        }
        reading += syllable->second;
        i += syllable->first.size();
    }
    if (reading.empty()) {
        return std::nullopt;
    }
    return reading;
}

} // namespace tessaly
