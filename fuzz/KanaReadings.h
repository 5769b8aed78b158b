#pragma once

#include <string_view>
#include <vector>

#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"

namespace tessaly::fuzz {

// Reads kana as themselves; the import is what is fuzzed, not MeCab.
class KanaReadings final : public ReadingService {
public:
    ReadingSuggestion Suggest(std::string_view sjisText) const override
    {
        const std::vector<ReadingToken> tokens{{SjisToUtf8Lossy(sjisText), ""}};
        return ReadingOfTokens(tokens);
    }
};

} // namespace tessaly::fuzz
