#include "core/templates/TemplateEngine.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "core/collection/Project.h"
#include "core/templates/Resources.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Html.h"
#include "core/text/KeywordText.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

constexpr std::string_view kIfMarker = "<!--if ";
constexpr std::string_view kEndMarker = "<!--end-->";
constexpr std::string_view kElseMarker = "<!--else-->";

TTemplateRec Builtin(const std::string& name, std::string_view header, std::string_view body, std::string_view footer)
{
    return {name, std::string(header), std::string(body), std::string(footer), "[", "]", ","};
}

// Appends part of an item list that starts at listStart in out, without
// the blanks in front of each CR LF and without the CR LF of an empty line:
// the same as removing " \r\n" and then "\r\n\r\n" from the whole list
// until none is left, as text arrives. A CR held back at the end of the
// list so far may start a CR LF with the next part; what stands in front
// of the list is never touched.
void AppendListLines(std::string& out, std::size_t listStart, std::string_view part)
{
    const auto listEndsWith = [&](std::string_view end) {
        return out.size() - listStart >= end.size() && out.ends_with(end);
    };
    for (std::size_t pos = 0; pos < part.size();) {
        const std::size_t lf = part.find('\n', pos);
        if (lf == std::string_view::npos) {
            out.append(part.substr(pos));
            return;
        }
        out.append(part.substr(pos, lf - pos));
        pos = lf + 1;
        if (!listEndsWith("\r")) {
            out += '\n';
            continue;
        }
        // A CR LF: the blanks before it go, and so does the line break
        // itself when it ends an empty line.
        out.pop_back();
        while (listEndsWith(" ")) {
            out.pop_back();
        }
        if (!listEndsWith("\r\n")) {
            out += "\r\n";
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

namespace {

// The keywords of an item body, in the order they are replaced.
enum class ItemKeyword : std::size_t {
    Title,
    Author,
    TitleKana,
    AuthorKana,
    Mail,
    Url,
    Banner,
    X,
    Y,
    Date,
    Year,
    Month,
    Day,
    MonthZ,
    DayZ,
    Comment,
    Serial,
    Genre,
    Attribute,
    Content,
};

// Their texts, in the same order.
constexpr std::array<std::string_view, 20> kItemKeywords{"%title;", "%author;", "%titlekana;", "%authorkana;",
    "%mail;", "%url;", "%banner;", "%x;", "%y;", "%date;", "%year;", "%month;", "%day;", "%monthz;", "%dayz;",
    "%comment;", "%serial;", "%genre;", "%attribute;", "%content;"};

std::string KeywordValue(
    ItemKeyword keyword, const LinkItemView& item, const TTemplateRec& rec, std::string_view bannerPrefix)
{
    switch (keyword) {
    case ItemKeyword::Title: return HtmlEscape(item.Title);
    case ItemKeyword::Author: return HtmlEscape(item.Author);
    case ItemKeyword::TitleKana: return HtmlEscape(item.TitleKana);
    case ItemKeyword::AuthorKana: return HtmlEscape(item.AuthorKana);
    case ItemKeyword::Mail: return std::string(item.Mail);
    case ItemKeyword::Url: return FullUrl(item.Url);
    case ItemKeyword::Banner:
        return item.Banner.starts_with("%%") ? std::string(bannerPrefix).append(item.Banner.substr(2))
                                             : FullUrl(item.Banner);
    case ItemKeyword::X: return std::to_string(item.BannerX);
    case ItemKeyword::Y: return std::to_string(item.BannerY);
    case ItemKeyword::Date: return DateToText(item.Date);
    case ItemKeyword::Year: return std::to_string(DecodeDateTime(item.Date).Year);
    case ItemKeyword::Month: return std::to_string(DecodeDateTime(item.Date).Month);
    case ItemKeyword::Day: return std::to_string(DecodeDateTime(item.Date).Day);
    case ItemKeyword::MonthZ: return TwoDigits(DecodeDateTime(item.Date).Month);
    case ItemKeyword::DayZ: return TwoDigits(DecodeDateTime(item.Date).Day);
    case ItemKeyword::Comment: return sjis::ReplaceAll(item.Comment, "\r\n", "<BR>\r\n");
    case ItemKeyword::Serial: return FormatSerial(item.Serial);
    case ItemKeyword::Genre: return HtmlEscape(item.GenreName);
    case ItemKeyword::Attribute: return ListText(item.Attributes, rec);
    case ItemKeyword::Content: return ListText(item.Contents, rec);
    }
    return {};
}

std::string ExpandItemConditions(const LinkItemView& item, const TTemplateRec& rec)
{
    return ExpandConditionalBlocks(rec.Body, [&item](std::string_view operation, std::string_view argument) {
        return EvaluateItemCondition(item, operation, argument);
    });
}

std::string ReplaceItemKeywords(
    std::string text, const LinkItemView& item, const TTemplateRec& rec, std::string_view bannerPrefix)
{
    return ReplaceKeywordsInOrder(std::move(text), kItemKeywords, [&](std::size_t index) {
        return KeywordValue(static_cast<ItemKeyword>(index), item, rec, bannerPrefix);
    });
}

// An item body made ready for many items. The conditions an item meets pick
// one expansion of the body; each expansion is cut once into its text and
// keywords. Where every "%" of an expansion starts a keyword and no value
// holds a "%", putting all values in at once gives what replacing keyword
// after keyword gives, as no replacement can then form another keyword;
// otherwise the item takes the long way.
class ItemBodyRenderer {
public:
    ItemBodyRenderer(const TTemplateRec& rec, std::string_view bannerPrefix)
        : rec_(rec)
        , bannerPrefix_(bannerPrefix)
    {
    }

    void Append(std::string& out, const LinkItemView& item)
    {
        const Expansion& expansion = ExpansionFor(item);
        if (!expansion.cut) {
            out += ReplaceItemKeywords(expansion.text, item, rec_, bannerPrefix_);
            return;
        }
        std::array<std::optional<std::string>, kItemKeywords.size()> values;
        for (const Piece& piece : expansion.pieces) {
            if (piece.keyword) {
                std::optional<std::string>& value = values[static_cast<std::size_t>(*piece.keyword)];
                if (!value) {
                    value = KeywordValue(*piece.keyword, item, rec_, bannerPrefix_);
                    if (value->find('%') != std::string::npos) {
                        out += ReplaceItemKeywords(expansion.text, item, rec_, bannerPrefix_);
                        return;
                    }
                }
            }
        }
        for (const Piece& piece : expansion.pieces) {
            out += piece.keyword ? *values[static_cast<std::size_t>(*piece.keyword)] : piece.text;
        }
    }

private:
    struct Piece {
        std::string_view text; // in the expansion's text
        std::optional<ItemKeyword> keyword;
    };

    struct Expansion {
        std::string text;
        bool cut = false;
        std::vector<Piece> pieces;
    };

    // A condition to evaluate, the next node for each result, or at the end
    // of the path, the expansion.
    struct Node {
        std::string operation;
        std::string argument;
        std::array<std::unique_ptr<Node>, 3> next;
        std::unique_ptr<Expansion> expansion;
    };

    const Expansion& ExpansionFor(const LinkItemView& item)
    {
        Node* node = &root_;
        while (!node->expansion) {
            if (node->operation.empty()) {
                return Expand(item);
            }
            const int result = EvaluateItemCondition(item, node->operation, node->argument);
            std::unique_ptr<Node>& next = node->next[static_cast<std::size_t>(result)];
            if (!next) {
                return Expand(item);
            }
            node = next.get();
        }
        return *node->expansion;
    }

    // Expands the body for the item, noting the conditions on the way.
    const Expansion& Expand(const LinkItemView& item)
    {
        Node* node = &root_;
        std::string text = ExpandConditionalBlocks(
            rec_.Body, [&item, &node](std::string_view operation, std::string_view argument) {
                const int result = EvaluateItemCondition(item, operation, argument);
                node->operation = operation;
                node->argument = argument;
                std::unique_ptr<Node>& next = node->next[static_cast<std::size_t>(result)];
                if (!next) {
                    next = std::make_unique<Node>();
                }
                node = next.get();
                return result;
            });
        node->expansion = Cut(std::move(text));
        return *node->expansion;
    }

    static std::unique_ptr<Expansion> Cut(std::string text)
    {
        auto expansion = std::make_unique<Expansion>();
        expansion->text = std::move(text);
        const std::string_view body = expansion->text;
        std::size_t literal = 0;
        for (std::size_t percent = body.find('%'); percent != std::string_view::npos;
             percent = body.find('%', percent)) {
            const auto known = std::find_if(kItemKeywords.begin(), kItemKeywords.end(),
                [&](std::string_view keyword) { return body.substr(percent).starts_with(keyword); });
            if (known == kItemKeywords.end()) {
                expansion->pieces.clear();
                return expansion; // a "%" of its own: the long way
            }
            expansion->pieces.push_back({body.substr(literal, percent - literal), std::nullopt});
            expansion->pieces.push_back({{}, static_cast<ItemKeyword>(known - kItemKeywords.begin())});
            percent += known->size();
            literal = percent;
        }
        expansion->pieces.push_back({body.substr(literal), std::nullopt});
        expansion->cut = true;
        return expansion;
    }

    const TTemplateRec& rec_;
    std::string_view bannerPrefix_;
    Node root_;
};

} // namespace

std::string RenderItem(const LinkItemView& item, const TTemplateRec& rec, std::string_view bannerPrefix)
{
    return ReplaceItemKeywords(ExpandItemConditions(item, rec), item, rec, bannerPrefix);
}

void AppendItemList(std::string& out, const TTemplateRec& rec, const std::vector<const LinkItemView*>& items,
    std::string_view bannerPrefix)
{
    ItemBodyRenderer renderer(rec, bannerPrefix);
    const std::size_t listStart = out.size();
    std::string rendered;
    AppendListLines(out, listStart, rec.Header);
    for (const LinkItemView* item : items) {
        rendered.clear();
        renderer.Append(rendered, *item);
        AppendListLines(out, listStart, rendered);
    }
    AppendListLines(out, listStart, rec.Footer);
}

} // namespace tessaly
