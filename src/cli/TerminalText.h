#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/text/EncodedText.h"

namespace tessaly::cli {

// Control characters (C0, DEL and C1) of UTF-8 text as escapes, so that a
// name cannot move the cursor or retitle the terminal; tabs too unless
// keepTabs.
std::string Escaped(std::string_view utf8, bool keepTabs = false);

// Code page 932 text of a project, in UTF-8 with its control characters
// escaped.
std::string Shown(std::string_view sjisText);

std::string ShownPath(const std::filesystem::path& path);

// A run log line keeps its tabs, which separate its parts.
std::string ShownLogLine(const SjisText& line);

} // namespace tessaly::cli
