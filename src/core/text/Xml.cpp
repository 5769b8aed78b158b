#include "core/text/Xml.h"

#include <utility>

#include "core/text/Codepage.h"

namespace tessaly {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point of the UTF-8 sequence at the start of text and its length;
// U+FFFD and length 1 for a byte that begins no valid sequence (overlong
// forms, surrogates and values past U+10FFFF included).
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        least = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (text.size() < length) {
        return {kReplacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80) {
            return {kReplacement, 1};
        }
        c = (c << 6) | (byte(i) & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return {kReplacement, 1};
    }
    return {c, length};
}

bool IsXmlCharacter(char32_t c)
{
    return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

} // namespace

std::string XmlEscape(std::string_view utf8)
{
    std::string escaped;
    escaped.reserve(utf8.size() + utf8.size() / 8);
    while (!utf8.empty()) {
        const auto [c, length] = DecodeUtf8(utf8);
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default:
            if (c == kReplacement) {
                AppendUtf8(escaped, c);
            } else if (IsXmlCharacter(c)) {
                escaped.append(utf8.substr(0, length));
            }
        }
        utf8.remove_prefix(length);
    }
    return escaped;
}

} // namespace tessaly
