#include "text/Html.h"

#include <array>

#include "text/Collation.h"

namespace tessaly {

std::string HtmlEscape(std::string_view text)
{
    // All four characters are below 0x40 and never trail bytes.
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        switch (c) {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        case '"': result += "&quot;"; break;
        default: result += c; break;
        }
    }
    return result;
}

std::string HtmlUnescape(std::string_view text)
{
    struct Entity {
        std::string_view name;
        char c;
    };
    static constexpr std::array<Entity, 4> kEntities{{{"&quot;", '"'}, {"&gt;", '>'}, {"&lt;", '<'}, {"&amp;", '&'}}};
    std::string result;
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        bool replaced = false;
        if (text[pos] == '&') {
            for (const Entity& entity : kEntities) {
                if (SameNameIgnoringAsciiCase(text.substr(pos, entity.name.size()), entity.name)) {
                    result += entity.c;
                    pos += entity.name.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) {
            result += text[pos++];
        }
    }
    return result;
}

std::string_view BoolToText(bool value)
{
    return value ? "TRUE" : "FALSE";
}

bool TextToBool(std::string_view text, bool defaultValue)
{
    if (SameNameIgnoringAsciiCase(text, "TRUE")) {
        return true;
    }
    if (SameNameIgnoringAsciiCase(text, "FALSE")) {
        return false;
    }
    return defaultValue;
}

} // namespace tessaly
