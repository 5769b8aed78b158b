#pragma once

// Conversion between code page 932 and Unicode, for the edges of the program
// (widgets, clipboard, file-system names, collation). Inside, text stays in
// code page 932 bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct ConversionResult {
    std::string text;
    bool ok = true;
    // When not ok: byte offset in the input of the first character that
    // could not be converted, and that character as UTF-8 (or as the hex
    // code of the bytes when the input was not valid in its encoding).
    std::size_t errorOffset = 0;
    std::string badCharacter;
};

// UTF-8 to code page 932; refuses characters that code page 932 cannot hold
// instead of replacing them.
ConversionResult Utf8ToSjis(std::string_view utf8);

// UTF-8 from outside the program (a browser's file, say) to code page 932:
// a character code page 932 lacks becomes its nearest form where one exists
// (its full-width or half-width form, a member of the wave-dash or dash
// family, the letter without its accent) and is otherwise left out and
// named, never replaced silently.
struct NearestConversion {
    std::string text;
    std::vector<std::string> leftOut; // the characters left out, as UTF-8
};
NearestConversion Utf8ToSjisNearest(std::string_view utf8);

// A file a user may have written with a Linux editor (a page template, a
// design file). Valid UTF-8 holding characters beyond ASCII, which code page
// 932 text practically never is, or text after a UTF-8 byte order mark is
// converted as Utf8ToSjisNearest does; anything else is code page 932
// already and stays as it is.
struct Utf8Conversion {
    bool fromUtf8 = false;
    std::vector<std::string> leftOut; // characters code page 932 lacks, as UTF-8
};
struct UserFileText {
    std::string text; // code page 932
    Utf8Conversion conversion;
};
UserFileText UserFileToSjis(std::string data);

// A character by its code ("U+1F3AE"), for texts that cannot hold it; bytes
// that are not UTF-8 come back as they are.
std::string CodePointName(const std::string& character);

// Code page 932 to UTF-8; refuses byte sequences that are not code page 932.
ConversionResult SjisToUtf8(std::string_view sjis);

// Code page 932 to UTF-8 for display, with U+FFFD for undecodable bytes.
std::string SjisToUtf8Lossy(std::string_view sjis);

// Code page 932 to UTF-16 for display, with U+FFFD for undecodable bytes.
std::u16string SjisToUtf16Lossy(std::string_view sjis);

// Strict UTF-8 and UTF-16 (no overlongs, surrogates or values past
// U+10FFFF); nothing for bad input.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Appends a code point as UTF-8 (the caller keeps to valid ones).
void AppendUtf8(std::string& text, char32_t c);

// A UTF-8 literal converted once to code page 932. For the program's own
// fixed texts, which are always representable.
const std::string& SjisLiteral(const char* utf8);

} // namespace tessaly

// Program texts are written in UTF-8 in the sources and used as code page 932.
#define SJ(utf8Literal) (::tessaly::SjisLiteral(utf8Literal))
