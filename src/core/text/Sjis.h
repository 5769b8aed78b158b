#pragma once

// Character-aware operations on code page 932 (Shift_JIS) byte strings.
//
// A character is one byte, or a lead byte followed by a trail byte. Every
// search here matches only at character boundaries, so a trail byte that
// happens to have the code of "\" or "|" is never taken for that character.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::sjis {

inline constexpr std::size_t npos = std::string_view::npos;

constexpr bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Bytes of the character that starts at pos: 2 for a lead byte that has a
// byte after it, otherwise 1.
inline std::size_t CharLength(std::string_view text, std::size_t pos)
{
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Position of the first character equal to the single-byte character c, at
// or after from.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);

// Position of the first occurrence of needle that starts on a character
// boundary, at or after from (which must itself be a boundary).
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0);

// Position of the first character of text that is one of the characters of set.
std::size_t FindFirstOf(std::string_view text, std::string_view set);

bool Contains(std::string_view text, std::string_view needle);

// Every occurrence of from replaced by to, scanning left to right.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Splits at every separator character; n separators give n + 1 parts.
std::vector<std::string_view> Split(std::string_view text, char separator);

// The characters of text, each as a view of one or two bytes.
std::vector<std::string_view> Characters(std::string_view text);

} // namespace tessaly::sjis
