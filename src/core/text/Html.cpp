#include "core/text/Html.h"

#include <array>

#include "core/text/Collation.h"

namespace tessaly {

namespace {

bool IsAsciiAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The length of the character reference at the start of text ("&amp;",
// "&#60;", "&#x3C;"), or 0.
std::size_t ReferenceLength(std::string_view text)
{
    std::size_t end = 1;
    if (end < text.size() && text[end] == '#') {
        ++end;
        if (end < text.size() && (text[end] == 'x' || text[end] == 'X')) {
            ++end;
        }
    }
    const std::size_t nameStart = end;
    while (end < text.size() && IsAsciiAlphanumeric(text[end])) {
        ++end;
    }
    return end > nameStart && end < text.size() && text[end] == ';' ? end + 1 : 0;
}

std::string Escape(std::string_view text, bool keepReferences)
{
    // All four characters are below 0x40 and never trail bytes. The text
    // between them is copied in runs.
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
        case '&':
            if (keepReferences && ReferenceLength(text.substr(i)) > 0) {
                continue;
            }
            entity = "&amp;";
            break;
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

} // namespace

std::string HtmlEscape(std::string_view text)
{
    return Escape(text, false);
}

std::string HtmlEscapeText(std::string_view text)
{
    return Escape(text, true);
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
