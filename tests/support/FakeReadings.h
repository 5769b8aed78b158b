#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"

namespace tessaly::test {

// Readings without a dictionary: kana read as themselves, a few kanji by a
// table, Latin letters and digits by rule, anything else is left out.
class FakeReadings final : public ReadingService {
public:
    ReadingSuggestion Suggest(std::string_view sjisText) const override
    {
        static const std::map<std::string, std::string> kanji
            = {{"猫", "ネコ"}, {"鉄", "テツ"}, {"道", "ドウ"}, {"写", "シャ"}, {"真", "シン"}, {"館", "カン"}};
        std::vector<ReadingToken> tokens;
        const std::string utf8 = SjisToUtf8Lossy(sjisText);
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            while (std::isalnum(lead) && i + length < utf8.size() && std::isalnum(static_cast<unsigned char>(utf8[i + length]))) {
                ++length;
            }
            const std::string character = utf8.substr(i, length);
            const auto known = kanji.find(character);
            tokens.push_back({character, known == kanji.end() ? "" : known->second});
            i += length;
        }
        return ComposeReading(utf8, tokens);
    }
};

} // namespace tessaly::test
