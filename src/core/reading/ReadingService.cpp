#include "core/reading/ReadingService.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <optional>

#include "core/reading/EdrdgDictionaries.h"
#include "core/reading/LatinReading.h"
#include "core/text/Codepage.h"
#include "core/text/KanaReading.h"

namespace tessaly {

namespace {

constexpr std::uint8_t kSpecificNames = kPerson | kWork | kOrganisation;
// The most words a name or title read as one from ENAMDICT spans.
constexpr std::size_t kLongestNameRun = 6;

std::u32string CodePoints(std::string_view utf8)
{
    std::u32string points;
    const std::optional<std::u16string> text = Utf8ToUtf16(utf8);
    if (!text) {
        return points;
    }
    for (std::size_t i = 0; i < text->size(); ++i) {
        char32_t c = (*text)[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text->size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((*text)[++i] - 0xDC00);
        }
        points.push_back(c);
    }
    return points;
}

// True when the word has a letter or digit, which a reading must cover.
bool NeedsReading(std::string_view utf8)
{
    if (!Utf8ToUtf16(utf8)) {
        return true;
    }
    const std::u32string points = CodePoints(utf8);
    return std::any_of(
        points.begin(), points.end(), [](char32_t c) { return u_isalnum(static_cast<UChar32>(c)) != 0; });
}

bool HasKanji(std::string_view utf8)
{
    const std::u32string points = CodePoints(utf8);
    return std::any_of(points.begin(), points.end(), [](char32_t c) {
        return c == U'々' || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || c >= 0x20000;
    });
}

bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsLatinWord(std::string_view surface)
{
    return !surface.empty() && std::all_of(surface.begin(), surface.end(), [](char c) { return IsAsciiAlnum(c); });
}

bool IsUpperCase(std::string_view word)
{
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The reading by the project reader's rule (code page 932); empty when the
// kana does not make one.
std::string HiraganaOf(std::string_view kana)
{
    KanaReadingBuilder builder;
    builder.AppendKana(kana);
    return builder.Reading();
}

// The first reading of those given and whether others differ from it.
struct Choice {
    std::string_view kana;
    bool contested = false;
};

// The same kana but for a first sound voiced in one of them: つくり and
// づくり, はたけ and ばたけ.
bool SameButFirstVoicing(std::string_view plain, std::string_view other)
{
    const std::string& unvoiced = SJ("かきくけこさしすせそたちつてとはひふへほはひふへほ");
    const std::string& voiced = SJ("がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
    constexpr std::size_t kKana = 2; // bytes of a hiragana in code page 932
    if (plain == other) {
        return true;
    }
    if (plain.size() != other.size() || plain.size() < kKana || plain.substr(kKana) != other.substr(kKana)) {
        return false;
    }
    for (std::size_t i = 0; i < unvoiced.size(); i += kKana) {
        if (plain.substr(0, kKana) == std::string_view(unvoiced).substr(i, kKana)
            && other.substr(0, kKana) == std::string_view(voiced).substr(i, kKana)) {
            return true;
        }
    }
    return false;
}

// The readings of everyday words (EDICT's "(P)") first, the order kept.
// The end of them.
std::vector<HeadwordReading>::iterator EverydayFirst(std::vector<HeadwordReading>& readings)
{
    return std::stable_partition(readings.begin(), readings.end(),
        [](const HeadwordReading& reading) { return (reading.kinds & kCommonWord) != 0; });
}

Choice FirstOf(const std::vector<HeadwordReading>& readings)
{
    Choice choice{readings.front().kana, false};
    const std::string first = HiraganaOf(choice.kana);
    choice.contested = std::any_of(readings.begin(), readings.end(),
        [&](const HeadwordReading& other) { return HiraganaOf(other.kana) != first; });
    return choice;
}

std::vector<HeadwordReading> OfKinds(std::vector<HeadwordReading> readings, std::uint8_t kinds)
{
    std::erase_if(readings, [&](const HeadwordReading& reading) { return (reading.kinds & kinds) == 0; });
    return readings;
}

bool IsDigits(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number and its counter: "3月" is さんがつ, not さんつき, "4年" よねん.
std::string CountedReading(std::string_view digits, std::string_view counter)
{
    struct Counter {
        std::string_view written;
        std::string_view reading;
        // The reading of a last digit 4, 7 and 9 before it, where it differs.
        std::string_view four = "よん";
        std::string_view seven = "なな";
        std::string_view nine = "きゅう";
    };
    static constexpr Counter kCounters[] = {
        {"月", "がつ", "し", "しち", "く"},
        {"年", "ねん", "よ"},
        {"日", "にち", "よっか"},
        {"人", "にん", "よ"},
        {"時", "じ", "よ", "しち", "く"},
        {"円", "えん", "よ"},
        {"歳", "さい"},
        {"枚", "まい"},
        {"号", "ごう"},
        {"巻", "かん"},
        {"話", "わ"},
        {"代", "だい"},
        {"度", "ど"},
        {"位", "い"},
        {"番", "ばん"},
        {"回", "かい"},
        {"階", "かい"},
        {"期", "き"},
        {"周年", "しゅうねん"},
        {"世紀", "せいき"},
        {"年生", "ねんせい", "よ"},
        {"か月", "かげつ"},
        {"ヶ月", "かげつ"},
    };
    const auto found = std::find_if(
        std::begin(kCounters), std::end(kCounters), [&](const Counter& entry) { return entry.written == counter; });
    if (found == std::end(kCounters)) {
        return {};
    }
    std::string reading = NumberReading(digits);
    const std::pair<std::string_view, std::string_view> changes[]
        = {{"よん", found->four}, {"なな", found->seven}, {"きゅう", found->nine}};
    for (const auto& [usual, counted] : changes) {
        if (reading.ends_with(usual)) {
            reading.replace(reading.size() - usual.size(), usual.size(), counted);
            if (counted == "よっか") {
                return reading; // 4日 is よっか, the counter in it
            }
            break;
        }
    }
    return reading + std::string(found->reading);
}

class Composer {
public:
    Composer(std::span<const ReadingToken> tokens, const ReadingDictionaries& dictionaries)
        : tokens_(tokens)
        , dictionaries_(dictionaries)
        , romanisedJapanese_(IsRomanisedJapanese())
    {
    }

    ReadingSuggestion Compose()
    {
        for (std::size_t i = 0; i < tokens_.size();) {
            const std::optional<std::size_t> runEnd = AppendKnownRun(i);
            i = runEnd ? *runEnd : AppendWord(i);
        }
        ReadingSuggestion suggestion;
        suggestion.reading = builder_.Reading();
        suggestion.complete = !partial_ && !suggestion.reading.empty();
        suggestion.uncertain = uncertain_;
        return suggestion;
    }

private:
    // Latin words read as Japanese when one of them is plainly that: a
    // word of syllables English does not have ("Sakura no Heya").
    bool IsRomanisedJapanese() const
    {
        return std::any_of(tokens_.begin(), tokens_.end(), [this](const ReadingToken& token) {
            return IsLatinWord(token.surface) && token.surface.size() > 2 && RomajiReading(token.surface)
                && !(dictionaries_.english && dictionaries_.english->Katakana(token.surface));
        });
    }

    // A run of two or more words that ENAMDICT knows as a person or a work,
    // or EDICT as a compound: 百合 split as 百 and 合 is still ゆり. The
    // index after the words read; nothing when no run is known.
    std::optional<std::size_t> AppendKnownRun(std::size_t begin)
    {
        for (std::size_t end = std::min(tokens_.size(), begin + kLongestNameRun); end >= begin + 2; --end) {
            std::string run;
            for (std::size_t i = begin; i < end; ++i) {
                run += tokens_[i].surface;
            }
            if (!HasKanji(run)) {
                continue;
            }
            // The words of a person's name are no compound; a place's may be
            // (日記帳 split as 日 and 記帳).
            const bool name = std::any_of(tokens_.begin() + static_cast<std::ptrdiff_t>(begin),
                tokens_.begin() + static_cast<std::ptrdiff_t>(end),
                [](const ReadingToken& token) { return token.person; });
            if (std::optional<std::size_t> read
                = AppendRunReading(begin, end, Find(dictionaries_.names, run, kSpecificNames))) {
                return read;
            }
            if (!name) {
                if (std::optional<std::size_t> read = AppendRunReading(
                        begin, end, dictionaries_.words ? dictionaries_.words->Find(run) : std::vector<HeadwordReading>())) {
                    return read;
                }
            }
        }
        return std::nullopt;
    }

    static std::vector<HeadwordReading> Find(
        const HeadwordDictionary* dictionary, std::string_view run, std::uint8_t kinds)
    {
        return dictionary ? OfKinds(dictionary->Find(run), kinds) : std::vector<HeadwordReading>();
    }

    // The words' own reading of the run when it is one of the dictionary's,
    // else the dictionary's (its common reading first); the index after the
    // words read.
    std::optional<std::size_t> AppendRunReading(
        std::size_t begin, std::size_t end, std::vector<HeadwordReading> readings)
    {
        if (readings.empty()) {
            return std::nullopt;
        }
        KanaReadingBuilder words;
        for (std::size_t i = begin; i < end; ++i) {
            if (!words.AppendKana(tokens_[i].reading.empty() ? tokens_[i].surface : tokens_[i].reading)) {
                break;
            }
        }
        EverydayFirst(readings);
        const bool agreed = std::any_of(readings.begin(), readings.end(),
            [&](const HeadwordReading& reading) { return HiraganaOf(reading.kana) == words.Reading(); });
        if (agreed) {
            std::size_t i = begin;
            while (i < end) {
                i = AppendWord(i);
            }
            return i;
        }
        const Choice choice = FirstOf(readings);
        builder_.AppendKana(choice.kana);
        uncertain_ = uncertain_ || choice.contested;
        return end;
    }

    std::size_t AppendWord(std::size_t index)
    {
        const ReadingToken& token = tokens_[index];
        if (IsDigits(token.surface) && index + 1 < tokens_.size()) {
            if (const std::string counted = CountedReading(token.surface, tokens_[index + 1].surface);
                !counted.empty()) {
                builder_.AppendKana(counted);
                uncertain_ = true;
                return index + 2;
            }
        }
        if (IsLatinWord(token.surface)) {
            AppendLatin(token.surface);
            return index + 1;
        }
        if (index > 0 && tokens_[index - 1].noun) {
            const char* reading = VoicedAfterNoun(token);
            if (reading == nullptr && !tokens_[index - 1].person) {
                reading = NameEnding(token);
            }
            if (reading != nullptr) {
                builder_.AppendKana(reading);
                return index + 1;
            }
        }
        std::vector<HeadwordReading> words = WordReadings(token);
        const auto everydayEnd = EverydayFirst(words);
        if (const std::optional<Choice> word = WordsReading(index, words, everydayEnd)) {
            builder_.AppendKana(word->kana);
            uncertain_ = true;
            return index + 1;
        }
        if (!token.reading.empty() && builder_.AppendKana(token.reading)) {
            uncertain_ = uncertain_ || token.contested || (token.unknown && HasKanji(token.surface))
                || IsOtherReading(token, words);
            return index + 1;
        }
        if (builder_.AppendKana(token.surface) || !NeedsReading(token.surface)) {
            return index + 1;
        }
        // A word MeCab does not know may be a name.
        if (dictionaries_.names && HasKanji(token.surface)) {
            if (const std::vector<HeadwordReading> readings = dictionaries_.names->Find(token.surface);
                !readings.empty()) {
                builder_.AppendKana(readings.front().kana);
                uncertain_ = true;
                return index + 1;
            }
        }
        partial_ = true;
        uncertain_ = uncertain_ || token.unknown;
        return index + 1;
    }

    // A word whose first sound is voiced after a noun in a compound, which
    // MeCab reads as it stands alone: 花畑 はなばたけ, 田舎暮らし いなかぐらし.
    static const char* VoicedAfterNoun(const ReadingToken& token)
    {
        struct Voicing {
            const char* surface;
            const char* alone;
            const char* voiced;
        };
        static constexpr Voicing kVoicings[] = {{"畑", "はたけ", "ばたけ"}, {"暮らし", "くらし", "ぐらし"}};
        for (const Voicing& voicing : kVoicings) {
            if (token.surface == voicing.surface && HiraganaOf(token.reading) == HiraganaOf(voicing.alone)) {
                return voicing.voiced;
            }
        }
        return nullptr;
    }

    // A kanji ending a name made of a word, which MeCab takes for a given
    // name of its own: ニャン太 にゃんた, not にゃんふとし.
    static const char* NameEnding(const ReadingToken& token)
    {
        static constexpr std::pair<const char*, const char*> kEndings[] = {{"太", "た"}, {"郎", "ろう"}, {"丸", "まる"},
            {"吉", "きち"}, {"助", "すけ"}, {"介", "すけ"}, {"子", "こ"}, {"美", "み"}, {"彦", "ひこ"}};
        if (!token.person) {
            return nullptr;
        }
        for (const auto& [kanji, reading] : kEndings) {
            if (token.surface == kanji) {
                return reading;
            }
        }
        return nullptr;
    }

    // MeCab's reading of a word EDICT reads otherwise first: 館 as かん
    // where the common word is やかた, 蒲公英 as ほこうえい for たんぽぽ.
    static bool IsOtherReading(const ReadingToken& token, const std::vector<HeadwordReading>& everydayFirst)
    {
        return !token.person && !everydayFirst.empty()
            && !SameButFirstVoicing(HiraganaOf(everydayFirst.front().kana), HiraganaOf(token.reading));
    }

    // EDICT's readings of a word with kanji, everyday ones not yet first.
    std::vector<HeadwordReading> WordReadings(const ReadingToken& token) const
    {
        return dictionaries_.words && HasKanji(token.surface) ? dictionaries_.words->Find(token.surface)
                                                              : std::vector<HeadwordReading>();
    }

    // EDICT's reading of a compound MeCab reads otherwise than its words of
    // everyday use read it (日本 as にっぽん where にほん is the common word):
    // a guess all the same. A surname before "の" is taken for the word it
    // also is (河原の石).
    std::optional<Choice> WordsReading(std::size_t index, const std::vector<HeadwordReading>& everydayFirst,
        std::vector<HeadwordReading>::const_iterator everydayEnd) const
    {
        const ReadingToken& token = tokens_[index];
        const bool beforeNo = index + 1 < tokens_.size() && tokens_[index + 1].surface == "の";
        if ((token.person && !beforeNo) || CodePoints(token.surface).size() < 2) {
            return std::nullopt;
        }
        // MeCab's voiced first sound (作り as づくり after a noun) is its
        // reading in the compound, not another word's.
        const std::string own = HiraganaOf(token.reading);
        if (everydayEnd == everydayFirst.begin()
            || std::any_of(everydayFirst.begin(), everydayEnd, [&](const HeadwordReading& reading) {
                   return SameButFirstVoicing(HiraganaOf(reading.kana), own);
               })) {
            return std::nullopt;
        }
        return FirstOf(everydayFirst);
    }

    // Letters and digits by rule, always a guess.
    void AppendLatin(std::string_view word)
    {
        uncertain_ = true;
        std::size_t begin = 0;
        while (begin < word.size()) {
            const bool digits = word[begin] >= '0' && word[begin] <= '9';
            std::size_t end = begin;
            while (end < word.size() && (word[end] >= '0' && word[end] <= '9') == digits) {
                ++end;
            }
            const std::string_view part = word.substr(begin, end - begin);
            builder_.AppendKana(digits ? NumberReading(part) : LetterWordReading(part));
            begin = end;
        }
    }

    std::string LetterWordReading(std::string_view word) const
    {
        if (word.size() == 1 || (IsUpperCase(word) && word.size() <= 3)) {
            return LetterReading(word);
        }
        const std::optional<std::string> romaji = RomajiReading(word);
        if (romaji && romanisedJapanese_) {
            return *romaji;
        }
        if (dictionaries_.english) {
            if (std::optional<std::string> katakana = dictionaries_.english->Katakana(word)) {
                return *katakana;
            }
        }
        if (romaji && !IsUpperCase(word)) {
            return *romaji;
        }
        return LetterReading(word);
    }

    std::span<const ReadingToken> tokens_;
    const ReadingDictionaries& dictionaries_;
    const bool romanisedJapanese_;
    KanaReadingBuilder builder_;
    bool partial_ = false;
    bool uncertain_ = false;
};

std::string WithoutSpaces(std::string_view text)
{
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            continue;
        }
        if (text.substr(i).starts_with("\u3000")) {
            i += 2;
            continue;
        }
        key += text[i];
    }
    return key;
}

// The name of a site as its address gives it: "www.example.jp/a/" is
// "example".
std::string SiteName(std::string_view url)
{
    if (const std::size_t scheme = url.find("://"); scheme != std::string_view::npos) {
        url.remove_prefix(scheme + 3);
    }
    if (url.starts_with("www.")) {
        url.remove_prefix(4);
    }
    return std::string(url.substr(0, url.find_first_of("./:")));
}

} // namespace

ReadingSuggestion SuggestTitleReading(const ReadingService& readings, std::string_view title, std::string_view url)
{
    ReadingSuggestion suggestion = readings.Suggest(title);
    if (suggestion.reading.empty()) {
        suggestion = readings.Suggest(SiteName(url));
        suggestion.uncertain = true;
    }
    return suggestion;
}

ReadingSuggestion ComposeReading(
    std::string_view text, std::span<const ReadingToken> tokens, const ReadingDictionaries& dictionaries)
{
    const ReadingSuggestion byWords = Composer(tokens, dictionaries).Compose();
    const std::string key = WithoutSpaces(text);
    if (!dictionaries.names || !HasKanji(key)) {
        return byWords;
    }
    const std::vector<HeadwordReading> readings = dictionaries.names->Find(key);
    if (readings.empty()) {
        return byWords;
    }
    // The whole text is a name: the words' reading stands when it is one of
    // the name's; a known person or work wins over the words, and so does
    // any name when the words were guessed.
    if (byWords.complete && std::any_of(readings.begin(), readings.end(), [&](const HeadwordReading& reading) {
            return HiraganaOf(reading.kana) == byWords.reading;
        })) {
        // The name's only reading settles a doubt about it.
        ReadingSuggestion agreed = byWords;
        agreed.uncertain = byWords.uncertain && FirstOf(readings).contested;
        return agreed;
    }
    const std::vector<HeadwordReading> specific = OfKinds(readings, kSpecificNames);
    const bool guessedWords = !byWords.Certain()
        || std::any_of(tokens.begin(), tokens.end(), [](const ReadingToken& token) { return token.name; });
    if (specific.empty() && !guessedWords) {
        return byWords;
    }
    const Choice choice = FirstOf(specific.empty() ? readings : specific);
    const std::string reading = HiraganaOf(choice.kana);
    if (reading.empty()) {
        return byWords;
    }
    return {reading, true, choice.contested || specific.empty()};
}

} // namespace tessaly
