#pragma once

// Lists in the closing messages of the imports: a heading and the first
// entries, one a line, the rest counted, so that a hostile file cannot make
// a message box taller than the screen.

#include <cstddef>
#include <string>
#include <vector>

#include "core/text/Codepage.h"

namespace tessaly {

inline constexpr std::size_t kListedEntries = 15;

// Appends the heading and the entries' lines (code page 932) to text; adds
// nothing when there are no entries.
template <typename Entry, typename Line>
void AppendMessageList(std::string& text, const std::string& heading, const std::vector<Entry>& entries, Line line)
{
    if (entries.empty()) {
        return;
    }
    text += "\r\n\r\n" + heading;
    for (std::size_t i = 0; i < entries.size() && i < kListedEntries; ++i) {
        text += "\r\n  " + line(entries[i]);
    }
    if (entries.size() > kListedEntries) {
        text += "\r\n  " + SJ("ほか ") + std::to_string(entries.size() - kListedEntries) + SJ(" 件");
    }
}

} // namespace tessaly
