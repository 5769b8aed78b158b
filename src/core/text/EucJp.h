#pragma once

// EUC-JP for the search data file, computed from code page 932 by the
// standard Shift_JIS to JIS X 0208 arithmetic rather than by a table, so
// that every two-byte code converts, those of empty rows included.

#include <string>
#include <string_view>

namespace tessaly {

// Appends one line of code page 932 text as EUC-JP: ASCII as it is, half-width
// katakana behind 0x8E, two-byte characters with lead bytes up to 0xEF by
// the arithmetic; a lead byte without a usable trail byte becomes a blank,
// and bytes that start no character (0x80, 0xA0, 0xF0 and up) are dropped.
void AppendEucJp(std::string& out, std::string_view sjis);

} // namespace tessaly
