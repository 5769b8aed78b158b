#pragma once

// Readings by the rule of the project reader: full-width hiragana "ぁ".."ん"
// only. Katakana becomes hiragana, and a long-vowel mark becomes the vowel
// of the kana before it, so "コーヒー" reads "こおひい".

#include <string>
#include <string_view>

namespace tessaly {

class KanaReadingBuilder {
public:
    // Appends the reading of a piece of kana text (UTF-8: hiragana, full-width
    // katakana and "ー", see RepairReading); a long-vowel mark at its start
    // continues the piece appended before. Appends nothing and returns false
    // when the piece is empty or does not become hiragana.
    bool AppendKana(std::string_view utf8);

    bool Empty() const { return reading_.empty(); }

    // The reading so far, in code page 932.
    const std::string& Reading() const { return reading_; }

private:
    std::string reading_;
};

} // namespace tessaly
