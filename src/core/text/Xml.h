#pragma once

// Text for the XML files the program writes besides its pages (the feed,
// the sitemap): UTF-8 throughout.

#include <string>
#include <string_view>

namespace tessaly {

// UTF-8 text as XML character data or a value in double quotes: & < > "
// by their entities, characters XML 1.0 does not allow (control
// characters but tab, line feed and carriage return; U+FFFE, U+FFFF) left
// out, and bytes that are not UTF-8 as U+FFFD.
std::string XmlEscape(std::string_view utf8);

} // namespace tessaly
