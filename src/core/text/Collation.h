#pragma once

// The program's case-insensitive text order: code page 932 text converted to
// Unicode, case folded, and compared by a Japanese collator. Always Japanese,
// whatever the environment says, so sorted output never depends on it.

#include <string>
#include <string_view>

namespace tessaly {

// Negative, zero or positive as a sorts before, with or after b.
int CompareText(std::string_view a, std::string_view b);

// A byte string whose plain byte order is the order of CompareText; compute
// it once per element when sorting many.
std::string CollationKey(std::string_view text);

// True when the texts are equal ignoring the case of ASCII letters only,
// the rule for names in the project file.
bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Single-byte ASCII letters lowered; two-byte characters untouched, even when
// their trail byte has the code of a letter.
std::string AsciiLower(std::string_view text);
void AsciiLowerInPlace(std::string& text);

// ASCII and full-width Latin letters lowered ("Ａ" to "ａ": two bytes either
// way), so a position in the result is the same position in text.
std::string LatinLower(std::string_view text);

} // namespace tessaly
