#include "core/site/SearchIndex.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <unordered_map>

#include "core/collection/Project.h"
#include "core/output/Selection.h"
#include "core/site/SearchFold.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Html.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

// A control character could end an entry (LF) of the texts the index joins;
// they show as blanks.
std::string Blanked(std::string text)
{
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

std::string Utf8Of(std::string_view sjis)
{
    return Blanked(SjisToUtf8Lossy(sjis));
}

// The words of a comment, which pages show as markup: without its tags and
// with the entities of HtmlEscape read back.
std::string CommentWords(std::string_view sjis)
{
    std::string text;
    for (std::size_t at = 0; at < sjis.size(); ++at) {
        const char c = sjis[at];
        const char next = at + 1 < sjis.size() ? sjis[at + 1] : '\0';
        const bool opensTag
            = c == '<' && (std::isalpha(static_cast<unsigned char>(next)) || next == '/' || next == '!');
        const std::size_t close = opensTag ? sjis.find('>', at) : std::string_view::npos;
        if (close != std::string_view::npos) {
            at = close;
        } else {
            text += c;
        }
    }
    return Utf8Of(HtmlUnescape(text));
}

void AppendString(std::string& out, std::string_view text)
{
    out += '"';
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (text.substr(at).starts_with("\u2028") || text.substr(at).starts_with("\u2029")) {
            out += text[at + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            at += 2;
        } else {
            out += c;
        }
    }
    out += '"';
}

// Entries joined by LF in one string, which a browser reads much faster
// than as many strings.
void AppendEntries(std::string& out, const std::vector<std::string>& entries)
{
    std::string joined;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        joined += i > 0 ? "\n" : "";
        joined += entries[i];
    }
    AppendString(out, joined);
}

void AppendStrings(std::string& out, const std::vector<std::string>& texts)
{
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out += i > 0 ? "," : "";
        AppendString(out, texts[i]);
    }
    out += ']';
}

void AppendNumbers(std::string& out, const std::vector<std::size_t>& numbers)
{
    out += '[';
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        out += i > 0 ? "," : "";
        out += std::to_string(numbers[i]);
    }
    out += ']';
}

constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";

// How many digits of kDigits the largest number takes, at least one.
std::size_t DigitWidth(std::size_t largest)
{
    std::size_t width = 1;
    for (; largest >= kDigits.size(); largest /= kDigits.size()) {
        ++width;
    }
    return width;
}

// A list of numbers as a string that a browser reads far faster than an
// array: the width of every number in digits, then each number in that
// many digits of kDigits, the highest first.
void AppendNumberList(std::string& out, const std::vector<std::size_t>& numbers)
{
    const std::size_t width = DigitWidth(numbers.empty() ? 0 : *std::max_element(numbers.begin(), numbers.end()));
    out += '"';
    out += std::to_string(width);
    for (std::size_t number : numbers) {
        const std::size_t at = out.size();
        out.append(width, '0');
        for (std::size_t digit = width; digit-- > 0; number /= kDigits.size()) {
            out[at + digit] = kDigits[number % kDigits.size()];
        }
    }
    out += '"';
}

void AppendKey(std::string& out, std::string_view key)
{
    out += ",\"";
    out += key;
    out += "\":";
}

// One text field of every item. Equal values are kept once; whether the
// items then name theirs by number is decided on writing, by which is
// shorter.
class TextColumn {
public:
    enum class Keeps { Shown, ShownAndFolded, Folded };

    explicit TextColumn(Keeps keeps)
        : keeps_(keeps)
    {
    }

    void Add(std::string text)
    {
        const auto [found, added] = ids_.try_emplace(text, entries_.size());
        if (added) {
            std::string folded = keeps_ == Keeps::Shown ? std::string() : FoldForSearch(text);
            if (keeps_ == Keeps::Folded) {
                entries_.push_back(std::move(folded));
            } else {
                folds_.push_back(folded == text ? std::string() : std::move(folded));
                entries_.push_back(std::move(text));
            }
        }
        items_.push_back(found->second);
    }

    void Write(std::string& out) const
    {
        // Each entry ends in an escaped LF.
        const auto entryBytes = [this](std::size_t id) {
            return entries_[id].size() + 2 + (keeps_ == Keeps::ShownAndFolded ? folds_[id].size() + 2 : 0);
        };
        std::size_t distinctBytes = items_.size() * DigitWidth(entries_.size());
        for (std::size_t id = 0; id < entries_.size(); ++id) {
            distinctBytes += entryBytes(id);
        }
        std::size_t itemBytes = 0;
        for (const std::size_t id : items_) {
            itemBytes += entryBytes(id);
        }
        const bool byNumber = distinctBytes < itemBytes;
        out += "{\"text\":";
        AppendEntries(out, byNumber ? entries_ : PerItem(entries_));
        const bool foldsDiffer
            = std::any_of(folds_.begin(), folds_.end(), [](const std::string& fold) { return !fold.empty(); });
        if (keeps_ == Keeps::ShownAndFolded && foldsDiffer) {
            AppendKey(out, "fold");
            AppendEntries(out, byNumber ? folds_ : PerItem(folds_));
        }
        if (byNumber) {
            AppendKey(out, "ids");
            AppendNumberList(out, items_);
        }
        out += '}';
    }

private:
    std::vector<std::string> PerItem(const std::vector<std::string>& values) const
    {
        std::vector<std::string> perItem;
        perItem.reserve(items_.size());
        for (const std::size_t id : items_) {
            perItem.push_back(values[id]);
        }
        return perItem;
    }

    Keeps keeps_;
    std::vector<std::string> entries_;
    std::vector<std::string> folds_;
    std::unordered_map<std::string, std::size_t> ids_;
    std::vector<std::size_t> items_;
};

// The attribute or content lists of every item: a name table, the distinct
// sets of names the items carry, and each item's set.
class NameSetColumn {
public:
    explicit NameSetColumn(const std::vector<std::string>& vocabulary)
    {
        for (const std::string& name : vocabulary) {
            NameId(name);
        }
        listed_ = names_.size();
    }

    void Add(std::string_view list)
    {
        std::vector<std::size_t> set;
        for (const std::string& name : SplitSlashList(list)) {
            set.push_back(NameId(name));
        }
        std::sort(set.begin(), set.end());
        set.erase(std::unique(set.begin(), set.end()), set.end());
        const auto [found, added] = setIds_.try_emplace(std::move(set), sets_.size());
        if (added) {
            sets_.push_back(&found->first);
        }
        items_.push_back(found->second);
    }

    // Under the keys "<singular>s", "<singular>Folds", "<singular>sListed",
    // "<singular>Sets" and "<singular>Set".
    void Write(std::string& out, const std::string& singular) const
    {
        AppendKey(out, singular + "s");
        AppendStrings(out, names_);
        AppendKey(out, singular + "Folds");
        AppendStrings(out, folds_);
        AppendKey(out, singular + "sListed");
        out += std::to_string(listed_);
        AppendKey(out, singular + "Sets");
        out += '[';
        for (std::size_t i = 0; i < sets_.size(); ++i) {
            out += i > 0 ? "," : "";
            AppendNumbers(out, *sets_[i]);
        }
        out += ']';
        AppendKey(out, singular + "Set");
        AppendNumberList(out, items_);
    }

private:
    std::size_t NameId(const std::string& sjis)
    {
        const auto [found, added] = nameIds_.try_emplace(sjis, names_.size());
        if (added) {
            names_.push_back(Utf8Of(sjis));
            folds_.push_back(FoldForSearch(names_.back()));
        }
        return found->second;
    }

    std::vector<std::string> names_;
    std::vector<std::string> folds_;
    std::unordered_map<std::string, std::size_t> nameIds_;
    std::size_t listed_ = 0;
    std::map<std::vector<std::size_t>, std::size_t> setIds_;
    std::vector<const std::vector<std::size_t>*> sets_;
    std::vector<std::size_t> items_;
};

bool IsUnreservedOrSlash(unsigned char c)
{
    return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

// The pages that list the items, as links relative to the site root.
class PageColumn {
public:
    void Add(std::string_view sjisPath)
    {
        if (sjisPath.empty()) {
            items_.push_back(0);
            return;
        }
        const auto [found, added] = ids_.try_emplace(std::string(sjisPath), links_.size() + 1);
        if (added) {
            // A leading "/" would make "//host/..." a link to another site.
            const std::size_t start = std::min(sjisPath.find_first_not_of('/'), sjisPath.size());
            links_.push_back(PercentEncoded(SjisToUtf8Lossy(sjisPath.substr(start)),
                [](unsigned char c) { return c >= 0x80 || !IsUnreservedOrSlash(c); }));
        }
        items_.push_back(found->second);
    }

    void Write(std::string& out) const
    {
        AppendKey(out, "pages");
        AppendStrings(out, links_);
        AppendKey(out, "page");
        AppendNumberList(out, items_);
    }

private:
    std::vector<std::string> links_;
    std::unordered_map<std::string, std::size_t> ids_; // from 1
    std::vector<std::size_t> items_;
};

// The address a result links to, never one that SafeStoredUrl refuses, in
// two parts: its scheme and host, which many items share, and the rest.
// Both are empty when there is no such address.
std::pair<std::string, std::string> LinkAddress(std::string_view storedSjis)
{
    const std::optional<std::string> safe = SafeStoredUrl(storedSjis);
    if (!safe) {
        return {};
    }
    std::string full = Utf8Of(FullUrl(*safe));
    const std::size_t schemeLength = UrlSchemeLength(full);
    const std::size_t hostEnd = std::min(full.find_first_of("/?#", schemeLength), full.size());
    std::string path = full.substr(hostEnd);
    full.resize(hostEnd);
    return {std::move(full), std::move(path)};
}

} // namespace

std::string SearchIndexScript(
    const Project& project, const ItemCatalog& catalog, const std::vector<std::string>& listingPages)
{
    using Keeps = TextColumn::Keeps;
    TextColumn title(Keeps::ShownAndFolded);
    TextColumn titleKana(Keeps::Folded);
    TextColumn author(Keeps::ShownAndFolded);
    TextColumn authorKana(Keeps::Folded);
    TextColumn comment(Keeps::Folded);
    TextColumn origin(Keeps::Shown);
    TextColumn path(Keeps::Shown);
    NameSetColumn attributes(project.Attributes);
    NameSetColumn contents(project.Contents);
    PageColumn pages;
    std::vector<std::size_t> genres;
    for (std::size_t i = catalog.FirstFiled(); i < catalog.size(); ++i) {
        const ItemCatalog::Entry& entry = catalog[i];
        if (!project.IsUserGenre(entry.genre)) {
            continue;
        }
        const LinkItemView& item = entry.item;
        title.Add(Utf8Of(item.Title));
        titleKana.Add(Utf8Of(item.TitleKana));
        author.Add(Utf8Of(item.Author));
        authorKana.Add(Utf8Of(item.AuthorKana));
        comment.Add(CommentWords(item.Comment));
        auto [linkOrigin, linkPath] = LinkAddress(item.Url);
        origin.Add(std::move(linkOrigin));
        path.Add(std::move(linkPath));
        attributes.Add(item.Attributes);
        contents.Add(item.Contents);
        pages.Add(i < listingPages.size() ? std::string_view(listingPages[i]) : std::string_view());
        genres.push_back(entry.genre - 1);
    }

    std::vector<std::string> genreNames;
    std::vector<std::string> genreFolds;
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        genreNames.push_back(Utf8Of(project.Genres[g].Name));
        genreFolds.push_back(FoldForSearch(genreNames.back()));
    }

    std::string out = "window.tessalySearchIndex = {\"version\":" + std::to_string(kSearchIndexVersion);
    AppendKey(out, "count");
    out += std::to_string(genres.size());
    AppendKey(out, "genres");
    AppendStrings(out, genreNames);
    AppendKey(out, "genreFolds");
    AppendStrings(out, genreFolds);
    attributes.Write(out, "attribute");
    contents.Write(out, "content");
    pages.Write(out);
    AppendKey(out, "genre");
    AppendNumberList(out, genres);
    AppendKey(out, "fields");
    const std::pair<const char*, const TextColumn*> fields[] = {{"title", &title}, {"titleKana", &titleKana},
        {"author", &author}, {"authorKana", &authorKana}, {"comment", &comment}, {"origin", &origin}, {"path", &path}};
    out += '{';
    for (const auto& [name, column] : fields) {
        out += column == &title ? "\"" : ",\"";
        out += name;
        out += "\":";
        column->Write(out);
    }
    out += "}};\n";
    return out;
}

} // namespace tessaly
