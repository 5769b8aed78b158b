#include "core/text/FieldText.h"

#include <array>

#include "core/text/Sjis.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

struct Entity {
    std::string_view name;
    std::string_view text;
};

// In the order UnescapeField applies them. The entities start with "&" and
// end with ";" and hold neither inside, so replacing them in one left-to-right
// pass gives the same result as replacing them one kind after the other.
constexpr std::array<Entity, 6> kEntities{{
    {"&ln;", "\r\n"},
    {"&sl;", "/"},
    {"&gt;", ">"},
    {"&lt;", "<"},
    {"&quot;", "\""},
    {"&amp;", "&"},
}};

} // namespace

std::string EscapeField(std::string_view text)
{
    // Every byte handled here is below 0x40 and so never a trail byte.
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '&': result += "&amp;"; break;
        case '"': result += "&quot;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        case '/': result += "&sl;"; break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            result += "&ln;";
            break;
        case '\n': result += "&ln;"; break;
        default: result += text[i]; break;
        }
    }
    return result;
}

std::string UnescapeField(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', amp + 1)) {
        for (const Entity& entity : kEntities) {
            if (text.substr(amp, entity.name.size()) == entity.name) {
                result.append(text.substr(start, amp - start));
                result.append(entity.text);
                start = amp + entity.name.size();
                amp = start - 1;
                break;
            }
        }
    }
    result.append(text.substr(start));
    return result;
}

std::vector<std::string> SplitSlashList(std::string_view list)
{
    const std::string unescaped = UnescapeField(sjis::ReplaceAll(list, "/", "\r\n"));
    std::vector<std::string> names;
    for (const std::string_view line : SplitLines(unescaped)) {
        names.emplace_back(line);
    }
    return names;
}

std::string JoinSlashList(std::string_view linesText)
{
    // Each CR LF separated name escaped on its own; joining with "/" directly
    // (rather than through a marker byte) keeps names that hold any byte.
    std::string list;
    std::size_t start = 0;
    for (std::size_t end = linesText.find("\r\n"); end != std::string_view::npos;
         end = linesText.find("\r\n", start)) {
        list += EscapeField(linesText.substr(start, end - start));
        list += '/';
        start = end + 2;
    }
    list += EscapeField(linesText.substr(start));
    return list;
}

std::string BracketList(std::string_view list)
{
    std::string joined = "[";
    bool first = true;
    for (const std::string& name : SplitSlashList(list)) {
        if (!first) {
            joined += "][";
        }
        joined += name;
        first = false;
    }
    joined += "]";
    return sjis::ReplaceAll(joined, "[]", "");
}

} // namespace tessaly
