#pragma once

// Hiragana readings and kana ranges (sets of the 83 hiragana "ぁ".."ん",
// used by the title and author narrowing ranges).

#include <bitset>
#include <string>
#include <string_view>

namespace tessaly {

inline constexpr unsigned kFirstHiragana = 0x829F; // ぁ
inline constexpr unsigned kLastHiragana = 0x82F1; // ん
inline constexpr std::size_t kKanaCount = kLastHiragana - kFirstHiragana + 1;

using KanaRange = std::bitset<kKanaCount>;

// True for the empty text and for text made only of "ぁ".."ん".
bool IsHiragana(std::string_view text);

std::string KanaRangeToText(const KanaRange& flags);

// Sets (never clears) the flags that text names; sets nothing when text holds
// a character other than "-" and "ぁ".."ん".
void TextToKanaRange(std::string_view text, KanaRange& flags);

// A reading typed in katakana made into hiragana, as far as that is
// mechanical: each full-width katakana becomes its hiragana twin ("ヵ" and
// "ヶ" "か" and "け", "ヴ" "ぶ" and "ヴァ" "ば"), and each "ー" becomes the
// vowel of the kana before it ("かー" gives "かあ"). What cannot be told
// ("ー" first or after "ん", other characters) stays as it is, so the result
// may still not be hiragana.
std::string RepairReading(std::string_view reading);

// True when the flags are not all equal.
bool KanaRangeIsPartial(const KanaRange& flags);

} // namespace tessaly
