#include "core/tools/RkmImport.h"

#include <cstdio>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/collection/CollectionEditing.h"
#include "core/collection/Project.h"
#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Html.h"
#include "core/text/Kana.h"
#include "core/text/KeywordText.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"
#include "core/util/AtomicFile.h"
#include "core/util/MessageList.h"

namespace tessaly {

namespace {

enum class CategoryKind { Genre, Attribute, Content };

struct CategoryDefinition {
    CategoryKind kind;
    std::string name;
};

CategoryKind KindOfKey(std::string_view key)
{
    if (key.front() == '1') {
        return CategoryKind::Genre;
    }
    return key.front() == '@' ? CategoryKind::Attribute : CategoryKind::Content;
}

// Names matched without regard to ASCII case, by hashing.
class NameSet {
public:
    template <typename Names> explicit NameSet(const Names& names)
    {
        for (const auto& name : names) {
            Insert(name);
        }
    }
    // True when the name was not there yet.
    bool Insert(std::string_view name) { return lowered_.insert(AsciiLower(name)).second; }

private:
    std::unordered_set<std::string> lowered_;
};

std::vector<std::string> AllGenreNames(const Project& project)
{
    std::vector<std::string> names;
    for (const Genre& genre : project.Genres) {
        names.push_back(genre.Name);
    }
    return names;
}

struct DataLine {
    std::string_view key;
    std::string_view value;
};

// "\tkey=value" with blanks and control characters trimmed from key and
// value; nothing for other lines and for an empty key or value.
std::optional<DataLine> ParseDataLine(std::string_view line)
{
    if (!line.starts_with('\t')) {
        return std::nullopt;
    }
    line.remove_prefix(1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const DataLine data{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
    if (data.key.empty() || data.value.empty()) {
        return std::nullopt;
    }
    return data;
}

// A date written year/month/day, without a time.
std::optional<TDateTime> DateOnly(std::string_view text)
{
    const std::optional<TDateTime> date = ParseDateTime(text);
    return date && DateOf(*date) == *date ? date : std::nullopt;
}

void AppendToList(std::string& list, std::string_view name)
{
    if (!list.empty()) {
        list += '/';
    }
    list += EscapeField(name);
}

class RkmReader {
public:
    RkmReader(Project& project, TDateTime today, const ReadingService* readings)
        : project_(project)
        , today_(today)
        , readings_(readings)
        , genreNames_(AllGenreNames(project))
        , attributeNames_(project.Attributes)
        , contentNames_(project.Contents)
        , filing_(project)
    {
    }

    void Feed(std::string_view line)
    {
        if (line == "<!-- start option -->" || line == "<!-- start macro -->" || line == "<!-- start template -->") {
            EndOpenLink();
            state_ = State::Skip;
        } else if (line == "<!-- start category -->") {
            EndOpenLink();
            state_ = State::Category;
        } else if (line == "<!-- start link -->") {
            EndOpenLink();
            state_ = State::Link;
            link_ = NewLink();
        } else if (line == "<!-- end -->") {
            if (state_ == State::Link) {
                StoreLink();
            } else {
                EndOpenLink(); // a comment not closed ends with its link
            }
            state_ = State::None;
        } else if (state_ == State::Category) {
            if (const std::optional<DataLine> data = ParseDataLine(line)) {
                Define(data->key, data->value);
            }
        } else if (state_ == State::Link) {
            if (const std::optional<DataLine> data = ParseDataLine(line)) {
                SetField(data->key, data->value);
            }
        } else if (state_ == State::Comment) {
            AddCommentLine(line);
        }
    }

    RkmImportResult TakeResult()
    {
        EndOpenLink();
        return std::move(result_);
    }

private:
    enum class State { None, Skip, Category, Link, Comment };

    // A link whose block (or comment) was not closed ends where the next
    // block begins or the file ends: it is stored all the same and named.
    void EndOpenLink()
    {
        if ((state_ == State::Link || state_ == State::Comment) && StoreLink()) {
            result_.unclosed.push_back(link_.Title);
        }
        state_ = State::None;
    }

    TLinkItem NewLink() const
    {
        TLinkItem link;
        link.Date = today_;
        return link;
    }

    void Define(std::string_view key, std::string_view given)
    {
        // Names from someone else's file obey the editor's rules, so that
        // no file the collection feeds gets a broken record.
        const std::string value = ValidNameOf(DefusedKeywords(given));
        if (value != given) {
            result_.changedNames.push_back({std::string(given), value});
        }
        if (value.empty()) {
            return;
        }
        const CategoryKind kind = KindOfKey(key);
        // The first definition of a key is the one links get.
        definitions_.emplace(AsciiLower(key), CategoryDefinition{kind, std::string(value)});
        switch (kind) {
        case CategoryKind::Genre:
            // The system genres are there already, so a definition named
            // after one creates nothing.
            if (genreNames_.Insert(value)) {
                const std::size_t genre = project_.AddGenre(value);
                filing_.Add(value, genre);
                ++result_.newGenres;
            }
            break;
        case CategoryKind::Attribute:
            if (attributeNames_.Insert(value)) {
                project_.Attributes.emplace_back(value);
                ++result_.newAttributes;
            }
            break;
        case CategoryKind::Content:
            if (contentNames_.Insert(value)) {
                project_.Contents.emplace_back(value);
                ++result_.newContents;
            }
            break;
        }
    }

    void SetField(std::string_view key, std::string_view value)
    {
        if (key == "title") {
            link_.Title = DefusedKeywords(HtmlUnescape(value));
        } else if (key == "title_kana") {
            link_.TitleKana = value;
        } else if (key == "author") {
            link_.Author = DefusedKeywords(HtmlUnescape(value));
        } else if (key == "author_kana") {
            link_.AuthorKana = value;
        } else if (key == "mail") {
            link_.Mail = SafeMailAddress(value);
        } else if (key == "page") {
            link_.Url = StripUrlScheme(value);
        } else if (key == "banner") {
            link_.Banner = StripUrlScheme(value);
        } else if (key == "banner_x") {
            link_.BannerX = ParseInt32(value).value_or(kDefaultBannerWidth);
        } else if (key == "banner_y") {
            link_.BannerY = ParseInt32(value).value_or(kDefaultBannerHeight);
        } else if (key == "update") {
            link_.Date = DateOnly(value).value_or(today_);
        } else if (key == "category") {
            AddCategories(value);
        } else if (key == "comment") {
            if (value == "{") {
                state_ = State::Comment;
            } else {
                link_.Comment = std::string(value) + std::string(kLineBreak);
            }
        }
    }

    void AddCategories(std::string_view value)
    {
        while (value.starts_with('/')) {
            value.remove_prefix(1);
        }
        while (value.ends_with('/')) {
            value.remove_suffix(1);
        }
        for (const std::string_view part : sjis::Split(value, '/')) {
            const std::string key = HtmlUnescape(part);
            const auto found = definitions_.find(AsciiLower(key));
            if (found == definitions_.end()) {
                // Not defined (yet): the link keeps its other categories.
                if (!key.empty() && unknownKeys_.Insert(key)) {
                    result_.unknownKeys.push_back(key);
                }
                continue;
            }
            const CategoryDefinition& definition = found->second;
            switch (definition.kind) {
            case CategoryKind::Genre:
                if (link_.GenreName.empty()) {
                    link_.GenreName = definition.name;
                }
                break;
            case CategoryKind::Attribute: AppendToList(link_.Attributes, definition.name); break;
            case CategoryKind::Content: AppendToList(link_.Contents, definition.name); break;
            }
        }
    }

    void AddCommentLine(std::string_view line)
    {
        if (line == "}") {
            state_ = State::Link;
            return;
        }
        link_.Comment.append(line.substr(sjis::CharLength(line, 0)));
        link_.Comment += kLineBreak;
    }

    // A link whose line the project reader would drop is reported instead
    // of being stored and lost at the next open. True when stored.
    bool StoreLink()
    {
        doubtful_ = false;
        complete_ = true;
        link_.TitleKana = ReadingOf(link_.Title, link_.TitleKana);
        // Without an author his reading is the title's, as the editor has it.
        link_.AuthorKana = readings_ && Trim(link_.Author).empty() && Trim(link_.AuthorKana).empty()
            ? link_.TitleKana
            : ReadingOf(link_.Author, link_.AuthorKana);
        // Someone else's file must not put markup or a script address into
        // the owner's pages.
        for (std::string* address : {&link_.Url, &link_.Banner}) {
            if (address->empty()) {
                continue;
            }
            std::optional<std::string> safe = SafeStoredUrl(*address);
            if (!safe) {
                result_.refused.push_back({link_.Title, ItemProblem::None, *address});
                return false;
            }
            *address = std::move(*safe);
        }
        const ItemProblem problem = FindItemProblem(link_);
        const std::optional<int32_t> serial
            = problem == ItemProblem::None ? project_.NextSerial() : std::optional<int32_t>();
        if (!serial) {
            result_.refused.push_back(
                {link_.Title, problem == ItemProblem::None ? ItemProblem::NoSerialLeft : problem, {}});
            return false;
        }
        link_.Serial = *serial;
        // As the project reader files lines: a genre field naming the trash
        // or no genre at all puts the item in the first genre.
        project_.Genres[filing_.FileUnder(link_.GenreName)].Lines.push_back(ItemToLine(link_));
        ++result_.stored;
        if (doubtful_) {
            result_.doubtfulReadings.push_back({link_.Serial, link_.Title, link_.TitleKana, complete_});
        }
        return true;
    }

    // The reading as given and repaired, or, when that is empty or no
    // hiragana, the suggestion for the text; one to be checked marks the link.
    std::string ReadingOf(std::string_view text, std::string_view given)
    {
        std::string reading = RepairReading(given);
        if ((Trim(reading).empty() || !IsHiragana(Trim(reading))) && readings_ && !Trim(text).empty()) {
            if (ReadingSuggestion suggestion = SuggestTitleReading(*readings_, Trim(text), link_.Url);
                !suggestion.reading.empty()) {
                doubtful_ = doubtful_ || !suggestion.Certain();
                complete_ = complete_ && suggestion.complete;
                return std::move(suggestion.reading);
            }
        }
        return reading;
    }

    Project& project_;
    TDateTime today_;
    const ReadingService* readings_;
    NameSet genreNames_;
    NameSet attributeNames_;
    NameSet contentNames_;
    NameSet unknownKeys_{std::vector<std::string>()};
    GenreIndex filing_;
    std::unordered_map<std::string, CategoryDefinition> definitions_;
    State state_ = State::None;
    TLinkItem link_;
    bool doubtful_ = false; // a reading of the link was guessed
    bool complete_ = true; // and it covers the whole text
    RkmImportResult result_;
};

} // namespace

RkmImportResult ImportRkmText(Project& project, std::string_view text, TDateTime today, const RkmProgress& progress,
    const ReadingService* readings)
{
    RkmReader reader(project, today, readings);
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (progress) {
            progress(i, lines.size() - 1);
        }
        if (!lines[i].empty() && !lines[i].starts_with("//")) {
            reader.Feed(lines[i]);
        }
    }
    project.IsEditing = true;
    return reader.TakeResult();
}

RkmImportResult ImportRkmFile(Project& project, const std::filesystem::path& path, TDateTime today,
    const RkmProgress& progress, const ReadingService* readings)
{
    const FileReadResult file = ReadWholeFile(path);
    if (!file.ok) {
        RkmImportResult result;
        result.status = file.failure == ReadFailure::NotFound ? RkmImportResult::Status::NotFound
                                                              : RkmImportResult::Status::ReadFailed;
        result.error = file.error;
        return result;
    }
    return ImportRkmText(project, file.data, today, progress, readings);
}

std::string RkmNotFoundMessage(std::string_view fileName)
{
    return std::string(fileName) + SJ("が見付かりません.");
}

std::string RkmChangedNameText(const RkmChangedName& name)
{
    // The name as read may hold anything: control characters and bytes
    // that are no character are shown by their codes ("\x1B").
    std::string given;
    for (const std::string_view character : sjis::Characters(name.given)) {
        if ((character.size() == 1 && static_cast<unsigned char>(character[0]) < 32) || !SjisToUtf8(character).ok) {
            for (const char byte : character) {
                char code[8];
                std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(byte));
                given += code;
            }
        } else {
            given += character;
        }
    }
    return given + " -> " + (name.stored.empty() ? SJ("(取り込みません)") : name.stored);
}

std::string RkmRefusalReason(const RkmRefusedLink& link)
{
    switch (link.problem) {
    case ItemProblem::TitleMissing: return SJ("タイトルがありません");
    case ItemProblem::TitleKanaMissing: return SJ("タイトルの読みがありません");
    case ItemProblem::TitleKanaNotHiragana: return SJ("タイトルの読みを平仮名にできません");
    case ItemProblem::AuthorKanaMissing: return SJ("作者名の読みがありません");
    case ItemProblem::AuthorKanaNotHiragana: return SJ("作者名の読みを平仮名にできません");
    case ItemProblem::UrlMissing: return SJ("ページURLがありません");
    case ItemProblem::DateInvalid: return SJ("登録日付が正しくありません");
    case ItemProblem::NoSerialLeft: return SJ("通し番号が残っていません");
    case ItemProblem::None: break;
    }
    return SJ("このアドレスは使えません: ") + link.refusedAddress;
}

std::string RkmImportMessage(const RkmImportResult& result)
{
    std::string text = std::to_string(result.stored) + SJ(" 件のリンクを取り込みました (新しいジャンル ")
        + std::to_string(result.newGenres) + SJ(" 件, アトリビュート ") + std::to_string(result.newAttributes)
        + SJ(" 件, コンテンツ ") + std::to_string(result.newContents) + SJ(" 件).");
    if (!result.refused.empty()) {
        text += "\r\n" + std::to_string(result.refused.size()) + SJ(" 件のリンクは取り込みませんでした.");
    }
    const auto titled = [](const std::string& title) { return title.empty() ? SJ("(無題)") : title; };
    AppendMessageList(text, SJ("次のリンクは取り込みませんでした:"), result.refused,
        [&](const RkmRefusedLink& link) { return titled(link.title) + " : " + RkmRefusalReason(link); });
    AppendMessageList(text, SJ("次のリンクは終わりの印がないまま終わっていましたが、取り込みました:"), result.unclosed,
        titled);
    AppendMessageList(text, SJ("次のカテゴリーキーは定義がないため無視しました:"), result.unknownKeys,
        [](const std::string& key) { return key; });
    AppendMessageList(text, SJ("次の名前は使えない文字を含むため変えました:"), result.changedNames, RkmChangedNameText);
    return text;
}

bool RkmImportHasWarnings(const RkmImportResult& result)
{
    return !result.refused.empty() || !result.unclosed.empty() || !result.unknownKeys.empty()
        || !result.changedNames.empty();
}

} // namespace tessaly
