#include "core/tools/BookmarkImport.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "core/collection/CollectionEditing.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/Html.h"
#include "core/text/KeywordText.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"
#include "core/util/MessageList.h"

namespace tessaly {

namespace {

using Report = BookmarkImportReport;

// Text from the file in code page 932, control characters as blanks,
// trimmed; the characters code page 932 lacks go to lost.
std::string StoredText(std::string_view utf8, std::vector<std::string>& lost)
{
    NearestConversion converted = Utf8ToSjisNearest(utf8);
    lost.insert(lost.end(), converted.leftOut.begin(), converted.leftOut.end());
    for (char& c : converted.text) {
        // No byte below 0x20 is ever the second byte of a character.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n') {
            c = ' ';
        }
    }
    return DefusedKeywords(Trim(converted.text));
}

// A folder or tag name the way the name rules take it.
std::string ValidName(std::string_view utf8)
{
    return ValidNameOf(DefusedKeywords(Utf8ToSjisNearest(utf8).text));
}

bool IsBeyondAscii(unsigned char c)
{
    return c >= 0x80;
}

// An http or https address, safe for the pages and in ASCII (anything else
// written with "%"); nothing for other addresses.
std::optional<std::string> StoredUrl(std::string_view url)
{
    if (!HasUrlScheme(url)) {
        return std::nullopt; // a bookmark always names its scheme
    }
    return SafeStoredUrl(PercentEncoded(url, IsBeyondAscii));
}

class Importer {
public:
    Importer(Project& project, const ReadingService& readings, const Clock& clock, GenreSource genres)
        : project_(project)
        , readings_(readings)
        , clock_(clock)
        , genres_(genres)
        , genreIndex_(project)
    {
        for (std::size_t i = 0; i < project_.Attributes.size(); ++i) {
            attributeIndex_.emplace(AsciiLower(project_.Attributes[i]), i);
        }
        for (std::size_t genre = 0; genre < project_.TrashIndex(); ++genre) {
            for (const std::string& line : project_.Genres[genre].Lines) {
                known_.insert(UrlIdentity(LineToItem(line).Url));
            }
        }
    }

    void Import(const Bookmark& bookmark)
    {
        const ReportedBookmark reported{bookmark.title, bookmark.url};
        const std::optional<std::string> url = StoredUrl(bookmark.url);
        if (!url) {
            report_.notStored.push_back({reported, Report::Refusal::NotAWebAddress});
            return;
        }
        TLinkItem item = NewLinkItem(clock_);
        item.Url = *url;
        if (known_.contains(UrlIdentity(item.Url))) {
            ++report_.duplicates;
            return;
        }
        std::vector<std::string> lost;
        item.Title = ReplaceDelimiters(StoredText(bookmark.title, lost), "\r\n", ' ');
        if (item.Title.empty()) {
            report_.notStored.push_back({reported, Report::Refusal::NoTitle});
            return;
        }
        const ReadingSuggestion reading = SuggestTitleReading(readings_, item.Title, item.Url);
        item.TitleKana = reading.reading;
        item.AuthorKana = reading.reading; // no author: his reading is the title's
        // The description is plain text, the comment goes into pages as HTML.
        item.Comment = HtmlEscapeText(StoredText(bookmark.description, lost));
        item.Attributes = Attributes(bookmark.tags);
        if (bookmark.addDate) {
            item.Date = LocalDateOfUnixTime(*bookmark.addDate).value_or(item.Date);
        }
        const std::size_t genre = GenreOf(bookmark.folders);
        item.GenreName = genre == 0 ? std::string() : project_.Genres[genre].Name;
        if (FindItemProblem(item) != ItemProblem::None) {
            report_.notStored.push_back({reported, Report::Refusal::NoReading});
            return;
        }
        const std::optional<int32_t> serial = project_.NextSerial();
        if (!serial) {
            report_.notStored.push_back({reported, Report::Refusal::NoSerialLeft});
            return;
        }
        item.Serial = *serial;
        project_.Genres[genre].Lines.push_back(ItemToLine(item));
        known_.insert(UrlIdentity(item.Url));
        ++report_.stored;
        project_.IsEditing = true;
        if (!reading.Certain()) {
            report_.doubtfulReadings.push_back({item.Serial, item.Title, reading.reading, reading.complete});
        }
        if (!lost.empty()) {
            report_.lostCharacters.push_back({reported, std::move(lost)});
        }
    }

    Report TakeReport() { return std::move(report_); }

private:
    std::size_t GenreOf(const BookmarkFolders& folders)
    {
        if (folders.empty() || genres_ == GenreSource::None) {
            return 0;
        }
        const std::string& folder = genres_ == GenreSource::TopFolder ? folders.front() : folders.back();
        if (const auto known = genreOfFolder_.find(folder); known != genreOfFolder_.end()) {
            return known->second;
        }
        std::string name = ValidName(folder);
        if (SameNameIgnoringAsciiCase(name, TrashGenreName())) {
            name = SJ("ゴミ箱"); // never into the trash
        }
        std::size_t genre = 0;
        if (genreIndex_.Contains(name)) {
            genre = genreIndex_.FileUnder(name);
        } else if (!name.empty()) {
            genre = project_.AddGenre(name);
            genreIndex_.Add(name, genre);
            ++report_.newGenres;
        }
        const std::string stored = genre == 0 ? UnfiledGenreName() : project_.Genres[genre].Name;
        if (SjisToUtf8Lossy(stored) != folder) {
            report_.changedGenres.push_back({folder, stored});
        }
        genreOfFolder_.emplace(folder, genre);
        return genre;
    }

    // The tags as a "/" list in the order of the attribute vocabulary, which
    // gains the names it lacks.
    std::string Attributes(std::string_view tags)
    {
        std::vector<std::size_t> indexes;
        for (const std::string_view tag : SplitList(tags, ',')) {
            const std::string name = ValidName(tag);
            if (name.empty()) {
                continue;
            }
            if (SjisToUtf8Lossy(name) != OneTag(tag) && changedTags_.insert(name).second) {
                report_.changedAttributes.push_back({OneTag(tag), name});
            }
            const auto [known, added] = attributeIndex_.emplace(AsciiLower(name), project_.Attributes.size());
            if (added) {
                project_.Attributes.push_back(name);
            }
            indexes.push_back(known->second);
        }
        std::sort(indexes.begin(), indexes.end());
        indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
        std::vector<std::string> names;
        for (const std::size_t index : indexes) {
            names.push_back(project_.Attributes[index]);
        }
        return TagList(names);
    }

    static std::string OneTag(std::string_view tag)
    {
        while (!tag.empty() && tag.front() == ' ') {
            tag.remove_prefix(1);
        }
        while (!tag.empty() && tag.back() == ' ') {
            tag.remove_suffix(1);
        }
        return std::string(tag);
    }

    Project& project_;
    const ReadingService& readings_;
    const Clock& clock_;
    GenreSource genres_;
    std::unordered_set<std::string> known_;
    // Hashed, so that many folders and tags stay linear.
    GenreIndex genreIndex_;
    std::unordered_map<std::string, std::size_t> genreOfFolder_;
    std::unordered_map<std::string, std::size_t> attributeIndex_; // by the name in lower case
    std::unordered_set<std::string> changedTags_;
    Report report_;
};

} // namespace

BookmarkImportReport ImportBookmarks(Project& project, const std::vector<Bookmark>& bookmarks,
    const ReadingService& readings, const Clock& clock, GenreSource genres)
{
    Importer importer(project, readings, clock, genres);
    for (const Bookmark& bookmark : bookmarks) {
        importer.Import(bookmark);
    }
    return importer.TakeReport();
}

namespace {

std::string Sjis(std::string_view utf8)
{
    return Utf8ToSjisNearest(utf8).text;
}

std::string ShownBookmark(const ReportedBookmark& bookmark)
{
    return (bookmark.title.empty() ? SJ("(無題)") : Sjis(bookmark.title)) + " <" + Sjis(bookmark.url) + ">";
}

std::string RefusalReason(Report::Refusal why)
{
    switch (why) {
    case Report::Refusal::NotAWebAddress: return SJ("ウェブのアドレスではありません");
    case Report::Refusal::NoTitle: return SJ("タイトルがありません");
    case Report::Refusal::NoReading: return SJ("タイトルからもアドレスからも読みを作れません");
    case Report::Refusal::NoSerialLeft: return SJ("通し番号が残っていません");
    }
    return {};
}

} // namespace

std::string BookmarkImportMessage(const BookmarkImportReport& report)
{
    std::string text = std::to_string(report.stored) + SJ(" 件のリンクを取り込みました (新しいジャンル ")
        + std::to_string(report.newGenres) + SJ(" 件).");
    if (report.duplicates > 0) {
        text += "\r\n" + SJ("登録済みのリンク ") + std::to_string(report.duplicates) + SJ(" 件は取り込みませんでした.");
    }
    AppendMessageList(text, SJ("次のリンクは取り込みませんでした:"), report.notStored,
        [](const Report::NotStored& entry) { return ShownBookmark(entry.bookmark) + " : " + RefusalReason(entry.why); });
    AppendMessageList(text, SJ("次のリンクの読みは推測です. 続く「読みの確認」で確かめて下さい:"), report.doubtfulReadings,
        [](const DoubtfulReading& entry) { return entry.title + " : " + entry.reading; });
    AppendMessageList(text, SJ("次のリンクから Shift_JIS にない文字を除きました:"), report.lostCharacters,
        [](const Report::LostCharacters& entry) {
            std::string line = ShownBookmark(entry.bookmark) + " :";
            for (const std::string& character : entry.characters) {
                line += " " + CodePointName(character);
            }
            return line;
        });
    const auto renamed = [](const Report::ChangedName& entry) { return Sjis(entry.given) + " -> " + entry.stored; };
    AppendMessageList(text, SJ("次のフォルダ名はジャンル名に使えないため変えました:"), report.changedGenres, renamed);
    AppendMessageList(text, SJ("次のタグはアトリビュート名に使えないため変えました:"), report.changedAttributes, renamed);
    return text;
}

} // namespace tessaly
