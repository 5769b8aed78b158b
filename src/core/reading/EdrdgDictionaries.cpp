#include "core/reading/EdrdgDictionaries.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>

#include "core/text/Collation.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

// The file as UTF-8; characters EUC-JP cannot hold never occur in it, and a
// broken byte only spoils its own entry.
std::optional<std::string> ReadEucJp(const std::string& path, std::string& error)
{
    const FileReadResult read = ReadWholeFile(path);
    if (!read.ok) {
        error = read.error;
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::string utf8(read.data.size() * 3 / 2 + 16, '\0');
    const int32_t length = ucnv_convert("UTF-8", "EUC-JP", utf8.data(), static_cast<int32_t>(utf8.size()),
        read.data.data(), static_cast<int32_t>(read.data.size()), &status);
    if (U_FAILURE(status)) {
        error = path + ": not an EUC-JP dictionary file (" + u_errorName(status) + ")";
        return std::nullopt;
    }
    utf8.resize(static_cast<std::size_t>(length));
    return utf8;
}

namespace {

struct DictionaryLine {
    std::string_view key;
    std::string_view reading; // empty when the key is its own reading
    std::string_view glosses; // between the first and the last "/"
};

std::optional<DictionaryLine> SplitLine(std::string_view line)
{
    const std::size_t space = line.find(' ');
    const std::size_t firstSlash = line.find('/');
    const std::size_t lastSlash = line.rfind('/');
    if (space == std::string_view::npos || space == 0 || firstSlash == std::string_view::npos || firstSlash < space
        || lastSlash == firstSlash) {
        return std::nullopt;
    }
    DictionaryLine parsed{line.substr(0, space), {}, line.substr(firstSlash + 1, lastSlash - firstSlash - 1)};
    if (const std::size_t open = line.find('[', space); open != std::string_view::npos && open < firstSlash) {
        const std::size_t close = line.find(']', open);
        if (close == std::string_view::npos || close > firstSlash) {
            return std::nullopt;
        }
        parsed.reading = line.substr(open + 1, close - open - 1);
    }
    return parsed;
}

std::uint8_t KindOfTag(std::string_view tag)
{
    static constexpr std::array<std::pair<std::string_view, std::uint8_t>, 24> kTags{{
        {"s", kSurname},
        {"surname", kSurname},
        {"g", kGivenName},
        {"f", kGivenName},
        {"m", kGivenName},
        {"given", kGivenName},
        {"fem", kGivenName},
        {"masc", kGivenName},
        {"h", kPerson},
        {"person", kPerson},
        {"wk", kWork},
        {"pr", kWork},
        {"work", kWork},
        {"product", kWork},
        {"p", kPlace},
        {"st", kPlace},
        {"place", kPlace},
        {"station", kPlace},
        {"c", kOrganisation},
        {"o", kOrganisation},
        {"company", kOrganisation},
        {"organization", kOrganisation},
        {"group", kOrganisation},
        {"serv", kWork},
    }};
    const auto found = std::find_if(kTags.begin(), kTags.end(), [&](const auto& entry) { return entry.first == tag; });
    return found == kTags.end() ? std::uint8_t{kOtherName} : found->second;
}

// "(s,f) Hoshino" gives surname and given name.
std::uint8_t KindsOfGlosses(std::string_view glosses)
{
    if (!glosses.starts_with('(')) {
        return kOtherName;
    }
    const std::size_t close = glosses.find(')');
    std::uint8_t kinds = 0;
    for (const std::string_view tag : SplitList(glosses.substr(1, close - 1), ',')) {
        kinds |= KindOfTag(tag);
    }
    return kinds;
}

bool IsKatakanaWord(std::string_view utf8)
{
    // Katakana (U+30A1..U+30FA), the long-vowel mark and the middle dot: three
    // bytes each, E3 82 A1..E3 83 BC.
    if (utf8.empty() || utf8.size() % 3 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < utf8.size(); i += 3) {
        const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
        const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
        const bool katakana
            = static_cast<unsigned char>(utf8[i]) == 0xE3 && ((b1 == 0x82 && b2 >= 0xA1) || (b1 == 0x83 && b2 <= 0xBC));
        if (!katakana) {
            return false;
        }
    }
    return true;
}

// A gloss without its tags: "(n) (music) piano (ita:)" is "piano".
std::string_view BareGloss(std::string_view gloss)
{
    while (gloss.starts_with('(')) {
        const std::size_t close = gloss.find(')');
        if (close == std::string_view::npos) {
            return {};
        }
        gloss.remove_prefix(close + 1);
        while (gloss.starts_with(' ')) {
            gloss.remove_prefix(1);
        }
    }
    if (const std::size_t open = gloss.find(" ("); open != std::string_view::npos) {
        gloss = gloss.substr(0, open);
    }
    return gloss;
}

bool IsOneWord(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '\'';
    });
}

constexpr std::string_view kMarkedRegisters[] = {"(sl)", "(joc)", "(derog)", "(vulg)", "(arch)", "(obs)", "(col)"};

// Whether the katakana can be the sound of the English word, by its first
// letter: "ピアノ" for "piano", never "スタイル" for "build".
bool SoundsAlike(std::string_view english, std::string_view katakana)
{
    static constexpr std::pair<std::string_view, std::string_view> kRows[] = {
        {"アイウエオヴァィゥェォ", "aeiouhwyv"},
        {"カキクケコ", "kcqx"},
        {"ガギグゲゴ", "g"},
        {"サスセソ", "sczpt"},
        {"シ", "scx"},
        {"ザズゼゾ", "zsx"},
        {"ジ", "jgz"},
        {"タテト", "td"},
        {"チ", "ct"},
        {"ツ", "tz"},
        {"ダヂヅデド", "d"},
        {"ナニヌネノ", "nk"},
        {"ハヒヘホ", "hw"},
        {"フ", "fphw"},
        {"バビブベボ", "bv"},
        {"パピプペポ", "p"},
        {"マミムメモ", "m"},
        {"ヤヨ", "yje"},
        {"ユ", "yu"},
        {"ラリルレロ", "rl"},
        {"ワヰヱヲ", "w"},
    };
    if (english.empty() || katakana.size() < 3) {
        return false;
    }
    const char letter = english.front() >= 'A' && english.front() <= 'Z'
        ? static_cast<char>(english.front() - 'A' + 'a')
        : english.front();
    const std::string_view kana = katakana.substr(0, 3);
    for (const auto& [row, letters] : kRows) {
        for (std::size_t i = 0; i + 3 <= row.size(); i += 3) {
            if (row.substr(i, 3) == kana) {
                return letters.find(letter) != std::string_view::npos;
            }
        }
    }
    return false;
}

std::string WithoutMiddleDots(std::string_view katakana)
{
    std::string word(katakana);
    for (std::size_t dot = word.find("・"); dot != std::string::npos; dot = word.find("・", dot)) {
        word.erase(dot, std::string_view("・").size());
    }
    return word;
}

} // namespace

std::optional<HeadwordDictionary> HeadwordDictionary::Read(
    const std::string& path, HeadwordFile file, std::string& error)
{
    std::optional<std::string> text = ReadEucJp(path, error);
    if (!text) {
        return std::nullopt;
    }
    return Parse(std::move(*text), file);
}

HeadwordDictionary HeadwordDictionary::Parse(std::string utf8, HeadwordFile file)
{
    HeadwordDictionary dictionary;
    dictionary.text_ = std::move(utf8);
    const std::string_view text = dictionary.text_;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::optional<DictionaryLine> line = SplitLine(text.substr(begin, end - begin));
        if (line && !line->reading.empty() && line->key.size() <= UINT16_MAX && line->reading.size() <= UINT16_MAX) {
            dictionary.entries_.push_back({static_cast<std::uint32_t>(line->key.data() - text.data()),
                static_cast<std::uint32_t>(line->reading.data() - text.data()),
                static_cast<std::uint16_t>(line->key.size()), static_cast<std::uint16_t>(line->reading.size()),
                file == HeadwordFile::Names          ? KindsOfGlosses(line->glosses)
                    : line->glosses.ends_with("(P)") ? std::uint8_t{kCommonWord}
                                                     : std::uint8_t{0}});
        }
        begin = end + 1;
    }
    std::stable_sort(dictionary.entries_.begin(), dictionary.entries_.end(),
        [&](const Entry& a, const Entry& b) { return dictionary.Key(a) < dictionary.Key(b); });
    return dictionary;
}

std::vector<HeadwordReading> HeadwordDictionary::Find(std::string_view text) const
{
    const auto [first, last]
        = std::equal_range(entries_.begin(), entries_.end(), text, [this](const auto& a, const auto& b) {
              if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Entry>) {
                  return Key(a) < b;
              } else {
                  return a < Key(b);
              }
          });
    std::vector<HeadwordReading> readings;
    for (auto entry = first; entry != last; ++entry) {
        readings.push_back({std::string_view(text_).substr(entry->reading, entry->readingLength), entry->kinds});
    }
    return readings;
}

EnglishWords EnglishWords::Parse(std::string_view utf8)
{
    EnglishWords dictionary;
    for (const std::string_view lineText : SplitList(utf8, '\n')) {
        const std::optional<DictionaryLine> line = SplitLine(lineText);
        // A katakana word, or one whose reading is katakana ("頁 [ページ]").
        const std::string_view katakana = line ? (line->reading.empty() ? line->key : line->reading) : "";
        if (!IsKatakanaWord(katakana)) {
            continue;
        }
        // Slang and jokes are not what a title means ("Tokyo" is no トンキン).
        if (std::any_of(std::begin(kMarkedRegisters), std::end(kMarkedRegisters),
                [&](std::string_view tag) { return line->glosses.find(tag) != std::string_view::npos; })) {
            continue;
        }
        // Ranked: a word from English before one borrowed from another
        // language ("home (ger: Heim)"), katakana words before words with a katakana reading, common words
        // ("(P)") before others, a gloss of the first sense before later
        // ones, words of one sense before words of many.
        const bool common = line->glosses.ends_with("(P)");
        const int borrowed = line->glosses.find(": ") != std::string_view::npos ? 32 : 0;
        const int written = line->reading.empty() ? 0 : 8;
        const int senses = line->glosses.find("(2)") != std::string_view::npos ? 1 : 0;
        const int rank = borrowed + written + (common ? 0 : 4) + senses;
        // Only a gloss that opens a sense names the word ("(n) style/build"
        // is no "build"), and only one the katakana sounds like.
        bool first = true;
        for (const std::string_view gloss : SplitList(line->glosses, '/')) {
            const std::string_view bare = BareGloss(gloss);
            if ((first || gloss.starts_with('(')) && IsOneWord(bare) && SoundsAlike(bare, katakana)) {
                dictionary.words_.push_back({AsciiLower(bare), WithoutMiddleDots(katakana), rank + (first ? 0 : 2)});
            }
            if (!bare.empty()) {
                first = false;
            }
        }
    }
    std::stable_sort(dictionary.words_.begin(), dictionary.words_.end(),
        [](const Word& a, const Word& b) { return a.english != b.english ? a.english < b.english : a.rank < b.rank; });
    return dictionary;
}

std::optional<std::string> EnglishWords::Katakana(std::string_view word) const
{
    std::string english = AsciiLower(word);
    // EDICT spells English the British way: "center" is "centre".
    if (english.ends_with("er") && english.size() > 4 && !Find(english)) {
        english.replace(english.size() - 2, 2, "re");
    }
    const Word* found = Find(english);
    if (!found) {
        return std::nullopt;
    }
    return found->katakana;
}

const EnglishWords::Word* EnglishWords::Find(const std::string& english) const
{
    const auto found = std::lower_bound(words_.begin(), words_.end(), english,
        [](const Word& entry, const std::string& key) { return entry.english < key; });
    return found == words_.end() || found->english != english ? nullptr : &*found;
}

} // namespace tessaly
