#include "core/text/Csv.h"

#include <algorithm>

#include "core/text/Strings.h"

namespace tessaly {

// Control characters, the blank, the double quote and the comma are all
// below 0x40 and so never trail bytes: a byte scan finds exactly the
// characters, and a stray lead byte cannot hide one from it.
std::string CsvValue(std::string_view value)
{
    const bool quoted = std::any_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 1 && byte <= 32) || c == '"' || c == ',';
    });
    if (!quoted) {
        return std::string(value);
    }
    std::string text = "\"";
    for (const char c : value) {
        text += c;
        if (c == '"') {
            text += '"';
        }
    }
    text += '"';
    return text;
}

std::string CsvLine(const std::vector<std::string>& values)
{
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += CsvValue(values[i]);
    }
    line += kLineBreak;
    return line;
}

} // namespace tessaly
