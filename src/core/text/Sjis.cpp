#include "core/text/Sjis.h"

namespace tessaly::sjis {

namespace {

// Bytes below 0x40 are neither lead nor trail bytes, so a plain byte search
// for them always lands on a character boundary.
constexpr bool IsNeverTrailByte(unsigned char byte)
{
    return byte < 0x40;
}

} // namespace

std::size_t FindChar(std::string_view text, char c, std::size_t from)
{
    if (IsNeverTrailByte(static_cast<unsigned char>(c))) {
        return text.find(c, from);
    }
    for (std::size_t pos = from; pos < text.size(); pos += CharLength(text, pos)) {
        if (text[pos] == c) {
            return pos;
        }
    }
    return npos;
}

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from)
{
    if (needle.empty()) {
        return from <= text.size() ? from : npos;
    }
    if (IsNeverTrailByte(static_cast<unsigned char>(needle.front()))) {
        return text.find(needle, from);
    }
    for (std::size_t pos = from; pos + needle.size() <= text.size(); pos += CharLength(text, pos)) {
        if (text.compare(pos, needle.size(), needle) == 0) {
            return pos;
        }
    }
    return npos;
}

std::size_t FindFirstOf(std::string_view text, std::string_view set)
{
    for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) {
        const std::size_t length = CharLength(text, pos);
        const std::string_view character = text.substr(pos, length);
        for (std::size_t i = 0; i < set.size(); i += CharLength(set, i)) {
            if (set.substr(i, CharLength(set, i)) == character) {
                return pos;
            }
        }
    }
    return npos;
}

bool Contains(std::string_view text, std::string_view needle)
{
    return FindText(text, needle) != npos;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string result;
    if (from.empty()) {
        return std::string(text);
    }
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = FindText(text, from); hit != npos; hit = FindText(text, from, start)) {
        result.append(text.substr(start, hit - start));
        result.append(to);
        start = hit + from.size();
    }
    result.append(text.substr(start));
    return result;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t hit = FindChar(text, separator); hit != npos; hit = FindChar(text, separator, start)) {
        parts.push_back(text.substr(start, hit - start));
        start = hit + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string_view> Characters(std::string_view text)
{
    std::vector<std::string_view> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = CharLength(text, pos);
        characters.push_back(text.substr(pos, length));
        pos += length;
    }
    return characters;
}

} // namespace tessaly::sjis
