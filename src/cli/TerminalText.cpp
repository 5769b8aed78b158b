#include "cli/TerminalText.h"

#include <cstdio>

#include "core/text/Codepage.h"

namespace tessaly::cli {

std::string Escaped(std::string_view utf8, bool keepTabs)
{
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F
            && static_cast<unsigned char>(utf8[i + 1]) >= 0x80;
        if ((byte < 0x20 && !(keepTabs && byte == '\t')) || byte == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : byte;
            char escape[8];
            std::snprintf(escape, sizeof escape, c1 ? "\\u%04X" : "\\x%02X", code);
            shown += escape;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

std::string Shown(std::string_view sjisText)
{
    return Escaped(SjisToUtf8Lossy(sjisText));
}

std::string ShownPath(const std::filesystem::path& path)
{
    return Escaped(path.string());
}

std::string ShownLogLine(const SjisText& line)
{
    return Escaped(ToUtf8(line).view(), true);
}

} // namespace tessaly::cli
