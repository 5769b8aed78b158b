#pragma once

// Text for generated pages and the booleans of design files.

#include <string>
#include <string_view>

namespace tessaly {

// & < > " by their entities, in that order.
std::string HtmlEscape(std::string_view text);

// "&quot;", "&gt;", "&lt;", "&amp;" back, ignoring case.
std::string HtmlUnescape(std::string_view text);

std::string_view BoolToText(bool value);

// "TRUE" or "FALSE" in any case; defaultValue for anything else.
bool TextToBool(std::string_view text, bool defaultValue);

} // namespace tessaly
