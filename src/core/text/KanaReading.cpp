#include "core/text/KanaReading.h"

#include "core/text/Codepage.h"
#include "core/text/Kana.h"

namespace tessaly {

bool KanaReadingBuilder::AppendKana(std::string_view utf8)
{
    const ConversionResult sjis = Utf8ToSjis(utf8);
    if (!sjis.ok || sjis.text.empty()) {
        return false;
    }
    // The last kana read so far goes in front, so that a long-vowel mark at
    // the start of the piece finds its vowel; hiragana stays as it is.
    const std::string last = reading_.empty() ? std::string() : reading_.substr(reading_.size() - 2);
    std::string piece = RepairReading(last + sjis.text);
    piece.erase(0, last.size());
    if (!IsHiragana(piece)) {
        return false;
    }
    reading_ += piece;
    return true;
}

} // namespace tessaly
