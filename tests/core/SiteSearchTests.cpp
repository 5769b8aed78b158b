#include <gtest/gtest.h>

#include "core/site/SearchFold.h"

using namespace tessaly;

namespace {

TEST(SearchFold, KanaWidthAndCaseFoldTogether)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ﾋﾟｱﾉ", "ぴあの"},
        {"ピアノ", "ぴあの"},
        {"ＡＢＣ abc", "abc abc"},
        {"ヴァ ヵヶ ヽヾ", "ゔぁ ゕゖ ゝゞ"},
        {"ヷ ｰ", "ヷ ー"}, // no hiragana twin
        {"㌔①Ⅻ", "きろ1xii"},
        {"ΟΔΟΣ Σ", "οδος σ"}, // a final sigma
        {"全角　空白", "全角 空白"},
        {"〜−‖ ～－∥", "~-∥ ~-∥"}, // what Shift_JIS forms send for code page 932's letters
        {"a\r\nb\t\x7F", "a  b  "},
        {"\xFF", ""},
    };
    for (const auto& [text, folded] : cases) {
        EXPECT_EQ(FoldForSearch(text), folded) << text;
    }
}

} // namespace
