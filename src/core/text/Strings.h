#pragma once

// Basic text operations shared by every file format of the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

inline constexpr std::string_view kLineBreak = "\r\n";

// Removes every byte with a code up to 32 (blanks and control characters)
// at both ends. Such bytes are never part of a two-byte character.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);

// Splits text into lines at CR LF, lone CR or lone LF. A final line break
// does not start another line, so "a\r\n" is one line and "" is none.
std::vector<std::string_view> SplitLines(std::string_view text);

// Splits at every separator, like SplitLines: a final separator does not
// start another part, and the empty text has no parts.
std::vector<std::string_view> SplitList(std::string_view text, char separator);

// A decimal integer with optional leading blanks and sign, in 32-bit range.
std::optional<int32_t> ParseInt32(std::string_view text);

// The text repeated n times; empty for n < 1.
std::string RepeatText(std::string_view text, int n);

// 1-based position of the first character of text that is one of the
// characters of set; 0 when there is none.
std::size_t FirstOfSet(std::string_view set, std::string_view text);

// Every character of text that is one of delimiters becomes ch.
std::string ReplaceDelimiters(std::string_view text, std::string_view delimiters, char ch);

// "%4.4d": at least four digits with leading zeros.
std::string FormatSerial(int32_t serial);

} // namespace tessaly
