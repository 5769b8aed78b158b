#include "text/Html.h"

#include <array>

#include "text/Collation.h"

namespace tessaly {

std::string HtmlEscape(std::string_view text)
{
    // All four characters are below 0x40 and never trail bytes. The text
    // between them is copied in runs.
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
        case '&': entity = "&amp;"; break;
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        case '"': entity = "&quot;"; break;
        default: continue;
        }
        result.append(text.substr(run, i - run));
        result.append(entity);
        run = i + 1;
    }
    result.append(text.substr(run));
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
