#include "core/reading/ReadingService.h"

#include <unicode/uchar.h>

#include "core/text/Codepage.h"
#include "core/text/KanaReading.h"

namespace tessaly {

namespace {

// True when the word has a letter or digit, which a reading must cover.
bool NeedsReading(std::string_view utf8)
{
    const std::optional<std::u16string> text = Utf8ToUtf16(utf8);
    if (!text) {
        return true;
    }
    for (std::size_t i = 0; i < text->size(); ++i) {
        UChar32 c = (*text)[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text->size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + ((*text)[++i] - 0xDC00);
        }
        if (u_isalnum(c)) {
            return true;
        }
    }
    return false;
}

} // namespace

ReadingSuggestion ReadingOfTokens(std::span<const ReadingToken> tokens)
{
    KanaReadingBuilder builder;
    bool partial = false;
    for (const ReadingToken& token : tokens) {
        if ((token.reading.empty() || !builder.AppendKana(token.reading)) && !builder.AppendKana(token.surface)
            && NeedsReading(token.surface)) {
            partial = true;
        }
    }
    ReadingSuggestion suggestion;
    suggestion.reading = builder.Reading();
    suggestion.complete = !partial && !suggestion.reading.empty();
    return suggestion;
}

} // namespace tessaly
