#pragma once

// Text for generated pages and the booleans of design files.

#include <string>
#include <string_view>

namespace tessaly {

// & < > " by their entities, in that order.
std::string HtmlEscape(std::string_view text);

// Plain text from outside as HTML text: like HtmlEscape, but an "&" that
// begins a character reference ("&amp;", "&#60;") stays, so text that has
// been through here once comes back the same.
std::string HtmlEscapeText(std::string_view text);

// "&quot;", "&gt;", "&lt;", "&amp;" back, ignoring case.
std::string HtmlUnescape(std::string_view text);

std::string_view BoolToText(bool value);

// "TRUE" or "FALSE" in any case; defaultValue for anything else.
bool TextToBool(std::string_view text, bool defaultValue);

} // namespace tessaly
