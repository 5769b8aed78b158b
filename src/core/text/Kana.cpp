#include "core/text/Kana.h"

#include <optional>
#include <vector>

#include "core/text/Sjis.h"

namespace tessaly {

namespace {

// Index 0..82 of a hiragana character at pos, or nothing.
std::optional<std::size_t> HiraganaIndexAt(std::string_view text, std::size_t pos)
{
    if (pos + 1 >= text.size() || static_cast<unsigned char>(text[pos]) != 0x82) {
        return std::nullopt;
    }
    const unsigned code = 0x8200u | static_cast<unsigned char>(text[pos + 1]);
    if (code < kFirstHiragana || code > kLastHiragana) {
        return std::nullopt;
    }
    return code - kFirstHiragana;
}

std::string HiraganaAt(std::size_t index)
{
    return {'\x82', static_cast<char>(kFirstHiragana + index - 0x8200u)};
}

void SetRun(KanaRange& flags, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i <= last && i < kKanaCount; ++i) {
        flags.set(i);
    }
}

constexpr std::size_t kDash = kKanaCount; // token for "-"

} // namespace

bool IsHiragana(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size(); pos += 2) {
        if (!HiraganaIndexAt(text, pos)) {
            return false;
        }
    }
    return true;
}

std::string KanaRangeToText(const KanaRange& flags)
{
    std::string text;
    for (std::size_t first = 0; first < kKanaCount;) {
        if (!flags.test(first)) {
            ++first;
            continue;
        }
        std::size_t last = first;
        while (last + 1 < kKanaCount && flags.test(last + 1)) {
            ++last;
        }
        text += HiraganaAt(first);
        if (last == first + 1) {
            text += HiraganaAt(last);
        } else if (last > first + 1) {
            text += '-';
            text += HiraganaAt(last);
        }
        first = last + 1;
    }
    return text;
}

void TextToKanaRange(std::string_view text, KanaRange& flags)
{
    // Tokens: a hiragana index, or kDash; runs of dashes count as one.
    std::vector<std::size_t> tokens;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == '-') {
            if (tokens.empty() || tokens.back() != kDash) {
                tokens.push_back(kDash);
            }
            ++pos;
            continue;
        }
        const std::optional<std::size_t> index = HiraganaIndexAt(text, pos);
        if (!index) {
            return;
        }
        tokens.push_back(*index);
        pos += 2;
    }
    for (std::size_t i = 0; i < tokens.size();) {
        const bool dashNext = i + 1 < tokens.size() && tokens[i + 1] == kDash;
        if (tokens[i] == kDash) {
            if (i + 1 < tokens.size()) {
                SetRun(flags, 0, tokens[i + 1]); // "-y"
                i += 2;
            } else {
                ++i;
            }
        } else if (dashNext && i + 2 < tokens.size()) {
            if (tokens[i + 2] >= tokens[i]) {
                SetRun(flags, tokens[i], tokens[i + 2]); // "x-y"
            }
            i += 3;
        } else if (dashNext) {
            SetRun(flags, tokens[i], kKanaCount - 1); // "x-" at the end
            i += 2;
        } else {
            flags.set(tokens[i]);
            ++i;
        }
    }
}

namespace {

constexpr unsigned kFirstKatakana = 0x8340; // ァ
constexpr unsigned kLongVowelMark = 0x815B; // ー

// The vowel of each hiragana "ぁ".."ん" ('-' for "ん", which has none).
constexpr std::string_view kVowels = "aaiiuueeoo"
                                     "aaiiuueeoo"
                                     "aaiiuueeoo"
                                     "aaiiuuueeoo"
                                     "aiueo"
                                     "aaaiiiuuueeeooo"
                                     "aiueo"
                                     "aauuoo"
                                     "aiueo"
                                     "aaieo"
                                     "-";
static_assert(kVowels.size() == kKanaCount);

// The hiragana index of a katakana code, for "ァ".."ン" (0x7F is no trail
// byte, so the codes after it are one further on).
std::optional<std::size_t> KatakanaIndex(unsigned code)
{
    if (code < kFirstKatakana || code == 0x837F) {
        return std::nullopt;
    }
    const std::size_t index = code - kFirstKatakana - (code > 0x837F ? 1 : 0);
    return index < kKanaCount ? std::optional<std::size_t>(index) : std::nullopt;
}

constexpr unsigned kVu = 0x8394; // ヴ
constexpr unsigned kSmallKa = 0x8395; // ヵ
constexpr unsigned kSmallKe = 0x8396; // ヶ

unsigned CodeOf(std::string_view character)
{
    return character.size() == 2
        ? (static_cast<unsigned>(static_cast<unsigned char>(character[0])) << 8) | static_cast<unsigned char>(character[1])
        : 0;
}

std::size_t HiraganaIndexOf(const char* hiragana)
{
    return CodeOf(hiragana) - kFirstHiragana;
}

// The katakana hiragana has no twin of in "ぁ".."ん": "ヵ" and "ヶ" read
// "か" and "け"; "ヴ" reads "ぶ", and with a small vowel after it (which it
// then takes, advancing i) the b-row kana of that vowel ("ヴァ" is "ば").
std::optional<std::size_t> UnpairedKatakana(const std::vector<std::string_view>& characters, std::size_t& i)
{
    switch (CodeOf(characters[i])) {
    case kSmallKa: return HiraganaIndexOf("\x82\xA9");
    case kSmallKe: return HiraganaIndexOf("\x82\xAF");
    default: break;
    }
    if (i + 1 < characters.size()) {
        std::optional<std::size_t> next = HiraganaIndexAt(characters[i + 1], 0);
        if (!next && CodeOf(characters[i + 1]) >= kFirstKatakana) {
            next = KatakanaIndex(CodeOf(characters[i + 1]));
        }
        // ぁ ぃ ぅ ぇ ぉ are indexes 0, 2, 4, 6, 8; ば び ぶ べ ぼ lie three apart.
        if (next && *next <= 8 && *next % 2 == 0) {
            ++i;
            return HiraganaIndexOf("\x82\xCE") + 3 * (*next / 2);
        }
    }
    return HiraganaIndexOf("\x82\xD4");
}

// The hiragana index of "あ", "い", "う", "え" or "お" for 'a'..'o'.
std::optional<std::size_t> VowelIndex(char vowel)
{
    const std::size_t position = std::string_view("aiueo").find(vowel);
    if (position == std::string_view::npos) {
        return std::nullopt;
    }
    return 1 + 2 * position;
}

} // namespace

std::string RepairReading(std::string_view reading)
{
    const std::vector<std::string_view> characters = sjis::Characters(reading);
    std::string repaired;
    std::optional<std::size_t> previous; // hiragana index of the last character
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const std::string_view character = characters[i];
        std::optional<std::size_t> index = HiraganaIndexAt(character, 0);
        if (!index && (CodeOf(character) == kVu || CodeOf(character) == kSmallKa || CodeOf(character) == kSmallKe)) {
            index = UnpairedKatakana(characters, i);
        } else if (!index && CodeOf(character) >= kFirstKatakana) {
            index = KatakanaIndex(CodeOf(character));
        }
        if (!index && CodeOf(character) == kLongVowelMark && previous) {
            index = VowelIndex(kVowels[*previous]);
        }
        if (index) {
            repaired += HiraganaAt(*index);
        } else {
            repaired.append(character);
        }
        previous = index;
    }
    return repaired;
}

bool KanaRangeIsPartial(const KanaRange& flags)
{
    return !flags.all() && !flags.none();
}

} // namespace tessaly
