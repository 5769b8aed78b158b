#include "templates/TemplateEngine.h"

#include <array>
#include <cstdio>

#include "collection/Project.h"
#include "templates/Resources.h"
#include "text/Codepage.h"
#include "text/Collation.h"
#include "text/FieldText.h"
#include "text/Html.h"
#include "text/Sjis.h"
#include "text/Strings.h"
#include "text/Url.h"

namespace tessaly {

namespace {

constexpr std::string_view kIfMarker = "<!--if ";
constexpr std::string_view kEndMarker = "<!--end-->";
constexpr std::string_view kElseMarker = "<!--else-->";

TTemplateRec Builtin(const std::string& name, std::string_view header, std::string_view body, std::string_view footer)
{
    return {name, std::string(header), std::string(body), std::string(footer), "[", "]", ","};
}

// Replaces every occurrence; the markers and keywords start with bytes below
// 0x40, so byte searches stay on character boundaries.
void ReplaceEvery(std::string& text, std::string_view from, std::string_view to)
{
    std::size_t pos = text.find(from);
    if (pos == std::string::npos) {
        return;
    }
    if (from.size() == to.size()) {
        for (; pos != std::string::npos; pos = text.find(from, pos + to.size())) {
            text.replace(pos, from.size(), to);
        }
        return;
    }
    std::string result;
    result.reserve(text.size() + to.size());
    std::size_t start = 0;
    for (; pos != std::string::npos; pos = text.find(from, start)) {
        result.append(text, start, pos - start);
        result.append(to);
        start = pos + from.size();
    }
    result.append(text, start, std::string::npos);
    text = std::move(result);
}

// Appends part of an item list without the blanks in front of each CR LF
// and without the CR LF of an empty line: the same as removing " \r\n" and
// then "\r\n\r\n" from the whole list until none is left, as text
// arrives. A CR held back at the end of the list so far may start a CR LF
// with the next part.
void AppendListLines(std::string& list, std::string_view part)
{
    for (std::size_t pos = 0; pos < part.size();) {
        const std::size_t lf = part.find('\n', pos);
        if (lf == std::string_view::npos) {
            list.append(part.substr(pos));
            return;
        }
        list.append(part.substr(pos, lf - pos));
        pos = lf + 1;
        if (list.empty() || list.back() != '\r') {
            list += '\n';
            continue;
        }
        // A CR LF: the blanks before it go, and so does the line break
        // itself when it ends an empty line.
        list.pop_back();
        while (!list.empty() && list.back() == ' ') {
            list.pop_back();
        }
        if (!list.ends_with("\r\n")) {
            list += "\r\n";
        }
    }
}

std::string TwoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2.2d", value);
    return buffer;
}

std::string ListText(std::string_view list, const TTemplateRec& rec)
{
    std::string text;
    for (const std::string& name : SplitSlashList(list)) {
        const std::string escaped = HtmlEscape(name);
        if (!escaped.empty()) {
            text += rec.AttrQuot;
            text += rec.AttrTop;
            text += escaped;
            text += rec.AttrEnd;
        }
    }
    return text.substr(std::min(text.size(), rec.AttrQuot.size()));
}

int IsResult(bool condition, bool negated)
{
    return condition != negated ? 1 : 2;
}

std::optional<int32_t> StatusCode(std::string_view name)
{
    struct Entry {
        std::string_view name;
        int32_t code;
    };
    static constexpr std::array<Entry, 7> kCodes{
        {{"favorite", 1}, {"low", 4}, {"middle", 5}, {"high", 6}, {"normal", 0}, {"warning", 2}, {"erase", 3}}};
    for (const Entry& entry : kCodes) {
        if (entry.name == name) {
            return entry.code;
        }
    }
    return std::nullopt;
}

} // namespace

const std::string& SimpleTemplateName()
{
    static const std::string name = SJ("標準簡易");
    return name;
}

const std::string& DetailTemplateName()
{
    static const std::string name = SJ("標準詳細");
    return name;
}

TTemplateRec BuiltinSimpleTemplate()
{
    return Builtin(SimpleTemplateName(), resources::TEMPLATE_SIMPLEHEADER, resources::TEMPLATE_SIMPLEBODY,
        resources::TEMPLATE_SIMPLEFOOTER);
}

TTemplateRec BuiltinDetailTemplate()
{
    return Builtin(DetailTemplateName(), resources::TEMPLATE_DETAILHEADER, resources::TEMPLATE_DETAILBODY,
        resources::TEMPLATE_DETAILFOOTER);
}

std::string StoredTemplateForm(const TTemplateRec& rec)
{
    std::string stored;
    for (const std::string* field :
        {&rec.Name, &rec.Header, &rec.Body, &rec.Footer, &rec.AttrTop, &rec.AttrEnd, &rec.AttrQuot}) {
        if (field != &rec.Name) {
            stored += '/';
        }
        stored += EscapeField(*field);
    }
    return stored;
}

std::optional<TTemplateRec> ParseStoredTemplate(std::string_view stored)
{
    const std::vector<std::string_view> fields = sjis::Split(stored, '/');
    if (fields.size() != 7) {
        return std::nullopt;
    }
    return TTemplateRec{UnescapeField(fields[0]), UnescapeField(fields[1]), UnescapeField(fields[2]),
        UnescapeField(fields[3]), UnescapeField(fields[4]), UnescapeField(fields[5]), UnescapeField(fields[6])};
}

TTemplateRec FindItemTemplate(const Project& project, std::string_view name)
{
    if (name == DetailTemplateName()) {
        return BuiltinDetailTemplate();
    }
    if (name != SimpleTemplateName()) {
        for (const std::string& stored : project.Templates) {
            std::optional<TTemplateRec> rec = ParseStoredTemplate(stored);
            if (rec && rec->Name == name) {
                return std::move(*rec);
            }
        }
    }
    return BuiltinSimpleTemplate();
}

std::vector<std::string> ItemTemplateNames(const Project& project)
{
    std::vector<std::string> names{SimpleTemplateName(), DetailTemplateName()};
    for (const std::string& stored : project.Templates) {
        const std::string name = UnescapeField(stored.substr(0, sjis::FindChar(stored, '/')));
        names.push_back(name.substr(0, name.find(kLineBreak)));
    }
    return names;
}

std::string ExpandConditionalBlocks(std::string text, const ConditionEvaluator& evaluator)
{
    for (std::size_t open = text.rfind(kIfMarker); open != std::string::npos; open = text.rfind(kIfMarker)) {
        const std::string_view rest = std::string_view(text).substr(open);
        const std::size_t end = rest.find(kEndMarker);
        const std::string_view block = end == std::string_view::npos ? rest : rest.substr(0, end);
        const std::string_view after
            = end == std::string_view::npos ? std::string_view() : rest.substr(end + kEndMarker.size());
        std::string_view chosen;
        const std::size_t close = block.find("-->");
        if (close != std::string_view::npos) {
            const std::string_view condition = Trim(block.substr(kIfMarker.size(), close - kIfMarker.size()));
            const std::string_view inner = block.substr(close + 3);
            const std::size_t elseAt = inner.find(kElseMarker);
            const std::string_view thenPart = inner.substr(0, elseAt);
            const std::string_view elsePart
                = elseAt == std::string_view::npos ? std::string_view() : inner.substr(elseAt + kElseMarker.size());
            const std::size_t blank = condition.find(' ');
            if (blank != std::string_view::npos) {
                const std::string operation = AsciiLower(condition.substr(0, blank));
                const std::string argument = UnescapeField(Trim(condition.substr(blank + 1)));
                const int result = evaluator(operation, argument);
                chosen = result == 1 ? thenPart : result == 2 ? elsePart : std::string_view();
            }
        }
        std::string expanded;
        expanded.reserve(open + chosen.size() + after.size());
        expanded.append(text, 0, open);
        expanded.append(chosen);
        expanded.append(after);
        text = std::move(expanded);
    }
    return text;
}

int EvaluateItemCondition(const LinkItemView& item, std::string_view operation, std::string_view argument)
{
    if (operation == "is" || operation == "nis") {
        const std::string_view* field = argument == "banner" ? &item.Banner
            : argument == "comment"                     ? &item.Comment
            : argument == "author"                      ? &item.Author
            : argument == "attribute"                   ? &item.Attributes
            : argument == "content"                     ? &item.Contents
                                                        : nullptr;
        return field == nullptr ? 0 : IsResult(!field->empty(), operation == "nis");
    }
    if (operation == "iss" || operation == "niss") {
        const std::optional<int32_t> code = StatusCode(argument);
        return code ? IsResult(item.Status == *code, operation == "niss") : 0;
    }
    if (operation == "isa" || operation == "nisa" || operation == "isc" || operation == "nisc") {
        const bool attribute = operation == "isa" || operation == "nisa";
        const std::string wanted = "/" + EscapeField(HtmlUnescape(argument)) + "/";
        const std::string list = "/" + std::string(attribute ? item.Attributes : item.Contents) + "/";
        return IsResult(sjis::Contains(list, wanted), operation.starts_with("n"));
    }
    return 0;
}

int EvaluatePageCondition(const PageConditionFlags& flags, std::string_view operation, std::string_view argument)
{
    const bool* flag = nullptr;
    if (operation == "is" || operation == "nis") {
        flag = argument == "hits" ? &flags.Hits
            : argument == "dirs"  ? &flags.Dirs
            : argument == "links" ? &flags.Links
                                  : nullptr;
    } else if (operation == "at" || operation == "nat") {
        flag = argument == "root" ? &flags.Root : argument == "default" ? &flags.Default : nullptr;
    }
    return flag == nullptr ? 0 : IsResult(*flag, operation.starts_with("n"));
}

std::string RenderItem(const LinkItemView& item, const TTemplateRec& rec, std::string_view bannerPrefix)
{
    std::string text
        = ExpandConditionalBlocks(rec.Body, [&item](std::string_view operation, std::string_view argument) {
              return EvaluateItemCondition(item, operation, argument);
          });
    // In this order; a value put in by one keyword is open to the later
    // ones. Values are made only for keywords the text holds.
    const auto replace = [&text](std::string_view keyword, auto&& value) {
        if (text.find(keyword) != std::string::npos) {
            ReplaceEvery(text, keyword, value());
        }
    };
    if (text.find('%') == std::string::npos) {
        return text;
    }
    replace("%title;", [&] { return HtmlEscape(item.Title); });
    replace("%author;", [&] { return HtmlEscape(item.Author); });
    replace("%titlekana;", [&] { return HtmlEscape(item.TitleKana); });
    replace("%authorkana;", [&] { return HtmlEscape(item.AuthorKana); });
    replace("%mail;", [&] { return item.Mail; });
    replace("%url;", [&] { return FullUrl(item.Url); });
    replace("%banner;", [&] {
        return item.Banner.starts_with("%%") ? std::string(bannerPrefix).append(item.Banner.substr(2))
                                             : FullUrl(item.Banner);
    });
    replace("%x;", [&] { return std::to_string(item.BannerX); });
    replace("%y;", [&] { return std::to_string(item.BannerY); });
    replace("%date;", [&] { return DateToText(item.Date); });
    replace("%year;", [&] { return std::to_string(DecodeDateTime(item.Date).Year); });
    replace("%month;", [&] { return std::to_string(DecodeDateTime(item.Date).Month); });
    replace("%day;", [&] { return std::to_string(DecodeDateTime(item.Date).Day); });
    replace("%monthz;", [&] { return TwoDigits(DecodeDateTime(item.Date).Month); });
    replace("%dayz;", [&] { return TwoDigits(DecodeDateTime(item.Date).Day); });
    replace("%comment;", [&] { return sjis::ReplaceAll(item.Comment, "\r\n", "<BR>\r\n"); });
    replace("%serial;", [&] { return FormatSerial(item.Serial); });
    replace("%genre;", [&] { return HtmlEscape(item.GenreName); });
    replace("%attribute;", [&] { return ListText(item.Attributes, rec); });
    replace("%content;", [&] { return ListText(item.Contents, rec); });
    return text;
}

std::string RenderItemList(
    const TTemplateRec& rec, const std::vector<const LinkItemView*>& items, std::string_view bannerPrefix)
{
    std::string text;
    AppendListLines(text, rec.Header);
    for (const LinkItemView* item : items) {
        AppendListLines(text, RenderItem(*item, rec, bannerPrefix));
    }
    AppendListLines(text, rec.Footer);
    return text;
}

} // namespace tessaly
