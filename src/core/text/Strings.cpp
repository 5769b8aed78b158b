#include "core/text/Strings.h"

#include <algorithm>

#include <charconv>
#include <cstdio>

#include "core/text/Sjis.h"

namespace tessaly {

namespace {

constexpr bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string_view TrimLeft(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && IsBlankOrControl(text[start])) {
        ++start;
    }
    return text.substr(start);
}

std::string_view Trim(std::string_view text)
{
    text = TrimLeft(text);
    std::size_t end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    // The next CR and the next LF, each found again only once passed: one
    // fast scan for each over the whole text, whatever its line ends.
    std::size_t cr = text.find('\r');
    std::size_t lf = text.find('\n');
    std::size_t start = 0;
    while (start < text.size()) {
        if (cr < start) {
            cr = text.find('\r', start);
        }
        if (lf < start) {
            lf = text.find('\n', start);
        }
        const std::size_t end = std::min(cr, lf);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::vector<std::string_view> SplitList(std::string_view text, char separator)
{
    if (text.empty()) {
        return {};
    }
    std::vector<std::string_view> parts = sjis::Split(text, separator);
    if (parts.back().empty()) {
        parts.pop_back();
    }
    return parts;
}

std::optional<int32_t> ParseInt32(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::string RepeatText(std::string_view text, int n)
{
    std::string result;
    if (n > 0) {
        result.reserve(text.size() * static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            result.append(text);
        }
    }
    return result;
}

std::size_t FirstOfSet(std::string_view set, std::string_view text)
{
    const std::size_t pos = sjis::FindFirstOf(text, set);
    return pos == sjis::npos ? 0 : pos + 1;
}

std::string ReplaceDelimiters(std::string_view text, std::string_view delimiters, char ch)
{
    std::string result;
    result.reserve(text.size());
    for (const std::string_view character : sjis::Characters(text)) {
        if (sjis::FindFirstOf(character, delimiters) == 0) {
            result += ch;
        } else {
            result.append(character);
        }
    }
    return result;
}

std::string FormatSerial(int32_t serial)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%4.4d", serial);
    return buffer;
}

} // namespace tessaly
