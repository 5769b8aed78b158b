#include "core/tools/SearchData.h"

#include <algorithm>
#include <span>
#include <vector>

#include "core/collection/Project.h"
#include "core/output/Selection.h"
#include "core/output/WorkerPool.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/EucJp.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

constexpr char kUnitSeparator = '\x1F';
constexpr std::size_t kRecordParts = 64;

// Fields separated by TAB, assembled in code page 932; the buffer is
// reused line after line.
class FieldLine {
public:
    void Start()
    {
        text_.clear();
        fields_ = 0;
    }
    // Whatever line break or TAB a field still holds after its escapes
    // (any field but the comment and the template may hold them, and a lone
    // CR or LF passes those) becomes a space: it would end the record or
    // the field early. Neither byte is ever part of a double-byte character.
    void Add(std::string_view field)
    {
        if (fields_++ > 0) {
            text_ += '\t';
        }
        const std::size_t start = text_.size();
        text_.append(field);
        std::replace_if(
            text_.begin() + static_cast<std::ptrdiff_t>(start), text_.end(),
            [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    }
    void AddAll(const std::vector<std::string>& fields)
    {
        for (const std::string& field : fields) {
            Add(field);
        }
    }
    std::string_view Text() const { return text_; }

private:
    std::string text_;
    std::size_t fields_ = 0;
};

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

void AddTemplateFields(FieldLine& line, const Project& project, const DizSettings& settings)
{
    const TTemplateRec rec = FindItemTemplate(project, settings.templateName);
    for (const std::string* text : {&rec.Header, &rec.Body, &rec.Footer, &rec.AttrTop, &rec.AttrEnd, &rec.AttrQuot}) {
        line.Add(TemplateField(*text, settings.eraseBreaks));
    }
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

std::string CommentField(std::string_view comment)
{
    return sjis::ReplaceAll(sjis::ReplaceAll(EscapeAmpersands(comment), kLineBreak, "&ln;"), "\t", "&tb;");
}

void AddItemFields(FieldLine& line, const LinkItemView& item)
{
    const bool hasBanner = !item.Banner.empty();
    line.Add(std::to_string(item.Serial));
    line.Add(StatusName(item.Status));
    for (const std::string_view text :
        {item.GenreName, item.Title, item.TitleKana, item.Author, item.AuthorKana, item.Mail, item.Url, item.Banner}) {
        line.Add(text);
    }
    line.Add(hasBanner ? std::to_string(item.BannerX) : std::string());
    line.Add(hasBanner ? std::to_string(item.BannerY) : std::string());
    line.Add(TagField(item.Attributes));
    line.Add(TagField(item.Contents));
    line.Add(DateToText(item.Date));
    line.Add(CommentField(item.Comment));
}

void AppendLine(std::string& out, std::string_view sjisLine)
{
    AppendEucJp(out, sjisLine);
    out += '\n';
}

// The records of some entries of the catalog, in their order.
std::string Records(const ItemCatalog& catalog, std::span<const std::size_t> entries)
{
    std::string text;
    FieldLine line;
    for (const std::size_t entry : entries) {
        line.Start();
        AddItemFields(line, catalog[entry].item);
        AppendLine(text, line.Text());
    }
    return text;
}

} // namespace

std::string DizText(const Project& project, const DizSettings& settings, unsigned jobs)
{
    std::string out;
    FieldLine line;
    line.Start();
    line.AddAll({"TSYOSSDATA", project.Title, project.AuthorName, project.AuthorKana, project.AuthorMail});
    AppendLine(out, line.Text());
    const std::vector<std::string> genres = UserGenreNames(project);
    for (const std::vector<std::string>* names : {&genres, &project.Attributes, &project.Contents}) {
        line.Start();
        line.AddAll(*names);
        AppendLine(out, line.Text());
    }
    line.Start();
    AddTemplateFields(line, project, settings);
    AppendLine(out, line.Text());
    out += "\n\n\n\n";

    TSqueeze criteria;
    criteria.sortBy = settings.sortBy;
    criteria.sortDir = settings.sortDir;
    WorkerPool workers(jobs);
    const ItemCatalog catalog(project, &workers);
    const std::vector<std::size_t> selection = SelectFromCatalog(catalog, criteria, false, true);
    // The records are made in parts on all threads and joined in order.
    const std::size_t parts = std::min<std::size_t>(selection.size(), kRecordParts);
    const auto bound = [&](std::size_t part) { return selection.size() * part / parts; };
    WorkerPool::Series records = workers.Begin(parts, [&](std::size_t part) {
        return Records(catalog, std::span(selection).subspan(bound(part), bound(part + 1) - bound(part)));
    });
    for (std::size_t part = 0; part < parts; ++part) {
        out += records.Take(part);
    }
    return out;
}

} // namespace tessaly
