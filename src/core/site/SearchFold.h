#pragma once

// The one form in which the site search compares text, so that a visitor
// finds "ピアノ" by typing "ﾋﾟｱﾉ" or "ぴあの", and "ABC" by "ａｂｃ": NFKC,
// then lower case (Unicode's full mapping, without a locale), then katakana
// as hiragana. The cp932 twins that a Shift_JIS form may send instead
// ("〜" for "～", "−" for "－", "‖" for "∥") count as the same, and control
// characters as blanks. The search page's script folds the visitor's words
// in the very same steps.

#include <string>
#include <string_view>

namespace tessaly {

// UTF-8 in, UTF-8 out; text that is not UTF-8 folds to nothing.
std::string FoldForSearch(std::string_view utf8);

} // namespace tessaly
