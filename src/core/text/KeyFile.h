#pragma once

// The program's key files (project, design and simple design files): four
// comment lines naming the file kind, then "{key}=value" lines with CR LF
// line ends. Keys compare without regard to ASCII case.

#include <functional>
#include <string>
#include <string_view>

namespace tessaly {

// The four comment lines for the given kind ("Project File", ...).
std::string KeyFileHeader(std::string_view kind);

// Appends key + "=" + value + CR LF.
void AppendKeyLine(std::string& text, std::string_view key, std::string_view value);

// Calls visit with the lowered key and the value of every line that is not
// empty, not a "#" comment and has an "=" (the first one splits). visit
// returns false to stop reading.
void ForEachKeyLine(std::string_view text, const std::function<bool(const std::string& key, std::string_view value)>& visit);

} // namespace tessaly
