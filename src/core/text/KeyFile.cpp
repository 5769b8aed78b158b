#include "core/text/KeyFile.h"

#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Strings.h"

namespace tessaly {

std::string KeyFileHeader(std::string_view kind)
{
    std::string header = "# ----- <<Tessaly>> ";
    header += kind;
    header += " -----\r\n";
    header += SJ("# このファイルは Tessaly が生成するファイルです.\r\n");
    header += SJ("# 改変した場合、予期しない動作をしたり異常終了、暴走の可能性があります.\r\n");
    header += SJ("# 絶対に改変しないで下さい.\r\n");
    return header;
}

void AppendKeyLine(std::string& text, std::string_view key, std::string_view value)
{
    text += key;
    text += '=';
    text += value;
    text += kLineBreak;
}

void ForEachKeyLine(std::string_view text, const std::function<bool(const std::string& key, std::string_view value)>& visit)
{
    for (const std::string_view line : SplitLines(text)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && !visit(AsciiLower(line.substr(0, equals)), line.substr(equals + 1))) {
            return;
        }
    }
}

} // namespace tessaly
