#include "tools/SearchData.h"

#include <algorithm>
#include <vector>

#include "collection/Project.h"
#include "output/Selection.h"
#include "templates/TemplateEngine.h"
#include "text/EucJp.h"
#include "text/FieldText.h"
#include "text/Sjis.h"
#include "text/Strings.h"

namespace tessaly {

namespace {

constexpr char kUnitSeparator = '\x1F';

std::string JoinFields(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += '\t';
        }
        line += fields[i];
    }
    return line;
}

std::vector<std::string> UserGenreNames(const Project& project)
{
    std::vector<std::string> names;
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        names.push_back(project.Genres[g].Name);
    }
    return names;
}

// "&" first, so that a reader restoring "&ln;" and "&tb;" before "&amp;"
// gets the text back exactly.
std::string EscapeAmpersands(std::string_view text)
{
    return sjis::ReplaceAll(text, "&", "&amp;");
}

std::string TemplateField(std::string_view text, bool eraseBreaks)
{
    const std::string escaped = EscapeAmpersands(text);
    const std::string_view lineBreak = eraseBreaks ? "" : "&ln;";
    const std::string_view tab = eraseBreaks ? "" : "&tb;";
    return sjis::ReplaceAll(sjis::ReplaceAll(escaped, kLineBreak, lineBreak), "\t", tab);
}

std::string TemplateLine(const Project& project, const DizSettings& settings)
{
    const TTemplateRec rec = FindItemTemplate(project, settings.templateName);
    std::vector<std::string> fields;
    for (const std::string* text : {&rec.Header, &rec.Body, &rec.Footer, &rec.AttrTop, &rec.AttrEnd, &rec.AttrQuot}) {
        fields.push_back(TemplateField(*text, settings.eraseBreaks));
    }
    return JoinFields(fields);
}

// The names of a "/" list of escaped names, unit separators between them.
std::string TagField(std::string_view list)
{
    std::string separated(list);
    std::replace(separated.begin(), separated.end(), '/', kUnitSeparator);
    std::string_view trimmed = separated;
    if (trimmed.starts_with(kUnitSeparator)) {
        trimmed.remove_prefix(1);
    }
    if (trimmed.ends_with(kUnitSeparator)) {
        trimmed.remove_suffix(1);
    }
    return UnescapeField(trimmed);
}

std::string ItemRecord(const TLinkItem& item)
{
    const bool hasBanner = !item.Banner.empty();
    const std::string comment
        = sjis::ReplaceAll(sjis::ReplaceAll(EscapeAmpersands(item.Comment), kLineBreak, "&ln;"), "\t", "&tb;");
    return JoinFields({std::to_string(item.Serial), std::string(StatusName(item.Status)), item.GenreName, item.Title,
        item.TitleKana, item.Author, item.AuthorKana, item.Mail, item.Url, item.Banner,
        hasBanner ? std::to_string(item.BannerX) : std::string(),
        hasBanner ? std::to_string(item.BannerY) : std::string(), TagField(item.Attributes),
        TagField(item.Contents), DateToText(item.Date), comment});
}

void AppendLine(std::string& out, std::string_view sjisLine)
{
    out += SjisToEucJp(sjisLine);
    out += '\n';
}

} // namespace

std::string DizText(const Project& project, const DizSettings& settings)
{
    std::string out;
    AppendLine(out,
        JoinFields({"TSYOSSDATA", project.Title, project.AuthorName, project.AuthorKana, project.AuthorMail}));
    AppendLine(out, JoinFields(UserGenreNames(project)));
    AppendLine(out, JoinFields(project.Attributes));
    AppendLine(out, JoinFields(project.Contents));
    AppendLine(out, TemplateLine(project, settings));
    for (int i = 0; i < 4; ++i) {
        AppendLine(out, {});
    }
    TSqueeze criteria;
    criteria.sortBy = settings.sortBy;
    criteria.sortDir = settings.sortDir;
    const ItemCatalog catalog(project);
    for (const std::size_t entry : SelectFromCatalog(catalog, criteria, false, true)) {
        AppendLine(out, ItemRecord(catalog[entry].item));
    }
    return out;
}

} // namespace tessaly
