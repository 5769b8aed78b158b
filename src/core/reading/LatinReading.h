#pragma once

// Readings of Latin letters and digits by rule, for titles a dictionary of
// Japanese does not read: numbers as Japanese numbers, romanised Japanese
// as kana, and anything else letter by letter. The results are kana in
// UTF-8 (katakana with long-vowel marks where the letters are named),
// ready for KanaReadingBuilder.

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// "2003" as "にせんさん". Digits beyond what a number names (more than
// sixteen, or a leading zero as in "007") are read one by one.
std::string NumberReading(std::string_view digits);

// Each letter by its name: "HTML" as "エイチティーエムエル".
std::string LetterReading(std::string_view letters);

// The word as romanised Japanese (Hepburn, Kunrei or as typed on a
// keyboard, any case): "Sakura" as "さくら"; nothing when the letters are
// not syllables of Japanese.
std::optional<std::string> RomajiReading(std::string_view word);

} // namespace tessaly
