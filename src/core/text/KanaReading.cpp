#include "text/KanaReading.h"

#include <optional>

#include "text/Codepage.h"
#include "text/Kana.h"

namespace tessaly {

namespace {

constexpr char16_t kFirstKana = u'\u3041'; // ぁ
constexpr char16_t kLastKana = u'\u3093'; // ん
constexpr char16_t kLongVowelMark = u'\u30FC'; // ー
constexpr char16_t kKatakanaOffset = 0x60; // ァ - ぁ

// The vowel of each hiragana "ぁ".."ん"; "-" for っ and ん, which have none.
constexpr std::u16string_view kVowels = u"aaiiuueeoo"
                                        u"aaiiuueeoo"
                                        u"aaiiuueeoo"
                                        u"aaii-uueeoo"
                                        u"aiueo"
                                        u"aaaiiiuuueeeooo"
                                        u"aiueo"
                                        u"aauuoo"
                                        u"aiueo"
                                        u"aaieo-";
static_assert(kVowels.size() == kLastKana - kFirstKana + 1);

std::optional<char16_t> VowelKana(char16_t kana)
{
    switch (kVowels[kana - kFirstKana]) {
    case u'a': return u'あ';
    case u'i': return u'い';
    case u'u': return u'う';
    case u'e': return u'え';
    case u'o': return u'お';
    default: return std::nullopt;
    }
}

// The hiragana of a kana character, as far as "ぁ".."ん" holds it.
std::optional<char16_t> Hiragana(char16_t c)
{
    if (c >= kFirstKana && c <= kLastKana) {
        return c;
    }
    if (c >= kFirstKana + kKatakanaOffset && c <= kLastKana + kKatakanaOffset) {
        return static_cast<char16_t>(c - kKatakanaOffset);
    }
    switch (c) {
    case u'ヵ': return u'か';
    case u'ヶ': return u'け';
    default: return std::nullopt;
    }
}

bool IsVu(char16_t c)
{
    return c == u'ヴ' || c == u'\u3094';
}

// "ヴ" with a small vowel after it reads as the b-row kana of that vowel.
std::optional<char16_t> VuWith(char16_t smallVowel)
{
    switch (Hiragana(smallVowel).value_or(0)) {
    case u'ぁ': return u'ば';
    case u'ぃ': return u'び';
    case u'ぅ': return u'ぶ';
    case u'ぇ': return u'べ';
    case u'ぉ': return u'ぼ';
    default: return std::nullopt;
    }
}

} // namespace

bool KanaReadingBuilder::AppendKana(std::string_view utf8)
{
    const std::optional<std::u16string> text = Utf8ToUtf16(utf8);
    if (!text || text->empty()) {
        return false;
    }
    std::u16string piece;
    const auto last = [&]() -> std::optional<char16_t> {
        if (!piece.empty()) {
            return piece.back();
        }
        return reading_.empty() ? std::nullopt : std::optional<char16_t>(reading_.back());
    };
    for (std::size_t i = 0; i < text->size(); ++i) {
        const char16_t c = (*text)[i];
        if (c == kLongVowelMark) {
            // After っ, ん or at the very start there is no vowel to lengthen.
            if (const std::optional<char16_t> before = last()) {
                if (const std::optional<char16_t> vowel = VowelKana(*before)) {
                    piece += *vowel;
                }
            }
        } else if (IsVu(c)) {
            const std::optional<char16_t> merged = i + 1 < text->size() ? VuWith((*text)[i + 1]) : std::nullopt;
            piece += merged.value_or(u'ぶ');
            if (merged) {
                ++i;
            }
        } else if (const std::optional<char16_t> kana = Hiragana(c)) {
            piece += *kana;
        } else {
            return false;
        }
    }
    reading_ += piece;
    return true;
}

std::string KanaReadingBuilder::Reading() const
{
    // "ぁ".."ん" lie in the same order at U+3041.. and at 0x829F.. in code page 932.
    std::string sjis;
    sjis.reserve(reading_.size() * 2);
    for (const char16_t c : reading_) {
        const unsigned code = kFirstHiragana + static_cast<unsigned>(c - kFirstKana);
        sjis += static_cast<char>(code >> 8);
        sjis += static_cast<char>(code & 0xFFu);
    }
    return sjis;
}

} // namespace tessaly
