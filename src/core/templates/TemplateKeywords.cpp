#include "core/templates/TemplateKeywords.h"

#include "core/templates/Resources.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

// The text up to the next tab, which the position moves past; the rest of
// the line for the last field. A tab is never a trail byte.
std::string_view NextField(std::string_view line, std::size_t& pos, bool last)
{
    if (pos > line.size()) {
        return {};
    }
    const std::string_view rest = line.substr(pos);
    const std::size_t tab = last ? std::string_view::npos : rest.find('\t');
    if (tab == std::string_view::npos) {
        pos = line.size() + 1;
        return rest;
    }
    pos += tab + 1;
    return rest.substr(0, tab);
}

} // namespace

std::vector<TemplateKeyword> ParseTemplateKeywords(std::string_view text)
{
    std::vector<TemplateKeyword> rows;
    for (const std::string_view line : SplitLines(text)) {
        std::size_t pos = 0;
        TemplateKeyword row;
        row.Symbol = NextField(line, pos, false);
        row.Place = NextField(line, pos, false);
        row.Kind = NextField(line, pos, false);
        row.Description = NextField(line, pos, true);
        rows.push_back(std::move(row));
    }
    return rows;
}

const std::vector<TemplateKeyword>& TemplateKeywords()
{
    static const std::vector<TemplateKeyword> rows = ParseTemplateKeywords(resources::TEMPLATE_KEYWORD);
    return rows;
}

} // namespace tessaly
