#include "core/output/PageCharset.h"

#include <cctype>
#include <optional>

#include "core/text/Codepage.h"

namespace tessaly {

namespace {

constexpr std::string_view kUtf8 = "UTF-8";

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (text.size() - at < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[at + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsEncodingNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == '.' || c == ':';
}

// Where the value of name="..." (or name=value, name:value) starts and
// ends inside tag, for the first name found; nothing without one.
struct Span {
    std::size_t begin;
    std::size_t end;
};

std::optional<Span> ValueAfter(std::string_view tag, std::string_view name)
{
    for (std::size_t at = 0; at < tag.size(); ++at) {
        if (!StartsWithNoCase(tag, at, name)) {
            continue;
        }
        std::size_t i = at + name.size();
        while (i < tag.size() && IsSpace(tag[i])) {
            ++i;
        }
        if (i == tag.size() || tag[i] != '=') {
            continue;
        }
        ++i;
        while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '"' || tag[i] == '\'')) {
            ++i;
        }
        std::size_t end = i;
        while (end < tag.size() && IsEncodingNameChar(tag[end])) {
            ++end;
        }
        if (end > i) {
            return Span{i, end};
        }
    }
    return std::nullopt;
}

// The end of the tag that starts at begin: its ">", or the text's end.
std::size_t TagEnd(std::string_view html, std::size_t begin)
{
    const std::size_t end = html.find('>', begin);
    return end == std::string_view::npos ? html.size() : end;
}

} // namespace

std::string DeclareUtf8(std::string_view html)
{
    std::string out;
    out.reserve(html.size() + 32);
    bool declared = false;
    std::size_t copied = 0;
    std::optional<std::size_t> headEnd; // just past the first <head ...>
    for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
        const bool meta = StartsWithNoCase(html, at + 1, "meta") && at + 5 < html.size() && !IsEncodingNameChar(html[at + 5]);
        const bool xml = at == 0 && StartsWithNoCase(html, at, "<?xml");
        if (!headEnd && StartsWithNoCase(html, at + 1, "head") && at + 5 < html.size()
            && (html[at + 5] == '>' || IsSpace(html[at + 5]))) {
            headEnd = TagEnd(html, at) + 1;
        }
        if (!meta && !xml) {
            continue;
        }
        const std::size_t end = TagEnd(html, at);
        const std::string_view tag = html.substr(at, end - at);
        if (const std::optional<Span> value = ValueAfter(tag, xml ? "encoding" : "charset")) {
            out.append(html.substr(copied, at + value->begin - copied));
            out += kUtf8;
            copied = at + value->end;
            declared = declared || meta;
        }
        at = end == html.size() ? end - 1 : end;
    }
    out.append(html.substr(copied));
    if (!declared && headEnd && *headEnd <= html.size()) {
        // Nothing was replaced before the head ends but an XML declaration,
        // which kept its length apart from the name.
        const std::size_t shift = out.size() - html.size();
        out.insert(*headEnd + shift, "<meta charset=\"UTF-8\">");
    }
    return out;
}

std::string EncodePage(std::string page, PageEncoding encoding)
{
    if (encoding == PageEncoding::ShiftJis) {
        return page;
    }
    return DeclareUtf8(SjisToUtf8Lossy(page));
}

} // namespace tessaly
