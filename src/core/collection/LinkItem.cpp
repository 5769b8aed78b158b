#include "core/collection/LinkItem.h"

#include <vector>

#include "core/text/ByteScan.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Kana.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

constexpr std::size_t kFieldCount = 16;

enum Field : std::size_t {
    kSerial,
    kGenreName,
    kStatus,
    kTitle,
    kTitleKana,
    kAuthor,
    kAuthorKana,
    kMail,
    kUrl,
    kBanner,
    kBannerX,
    kBannerY,
    kAttributes,
    kContents,
    kDate,
    kComment,
};

// The sixteen "/"-separated fields of a line; false when there are not
// exactly sixteen ("/" is never a trail byte, so a byte split is exact).
bool SplitFields(std::string_view line, std::array<std::string_view, kFieldCount>& fields)
{
    // The fields are short: eight bytes are looked at in one step rather
    // than a search called per field.
    std::size_t field = 0;
    std::size_t start = 0;
    const auto cut = [&](std::size_t slash) {
        if (field + 1 == kFieldCount) {
            return false;
        }
        fields[field++] = line.substr(start, slash - start);
        start = slash + 1;
        return true;
    };
    std::size_t i = 0;
    if constexpr (kWordScan) {
        for (; i + 8 <= line.size(); i += 8) {
            for (uint64_t slashes = ByteMatches(WordAt(line, i), '/'); slashes != 0; slashes &= slashes - 1) {
                if (!cut(i + FirstMatch(slashes))) {
                    return false;
                }
            }
        }
    }
    for (; i < line.size(); ++i) {
        if (line[i] == '/' && !cut(i)) {
            return false;
        }
    }
    if (field + 1 != kFieldCount) {
        return false;
    }
    fields[field] = line.substr(start);
    return true;
}

int32_t IntegerOr(std::string_view text, int32_t fallback)
{
    return ParseInt32(Trim(text)).value_or(fallback);
}

void AppendField(std::string& line, std::string_view text)
{
    line += EscapeField(Trim(text));
    line += '/';
}

void AppendNumber(std::string& line, int32_t value)
{
    line += std::to_string(value);
    line += '/';
}

} // namespace

std::string_view StatusName(int32_t status)
{
    static constexpr std::array<std::string_view, kStatusCount> kNames{
        "normal", "favorite", "warning", "erase", "low", "middle", "high"};
    return status >= 0 && status < kStatusCount ? kNames[static_cast<std::size_t>(status)] : kNames[0];
}

TLinkItem NewLinkItem(const Clock& clock, std::string genreName)
{
    TLinkItem item;
    item.GenreName = std::move(genreName);
    item.Date = clock.Today();
    return item;
}

bool IsValidItemLine(std::string_view line)
{
    std::array<std::string_view, kFieldCount> fields;
    if (!SplitFields(line, fields)) {
        return false;
    }
    for (std::size_t i = kSerial; i <= kContents; ++i) {
        fields[i] = Trim(fields[i]);
    }
    const std::optional<int32_t> serial = ParseInt32(fields[kSerial]);
    return serial && *serial != kUnnumbered && !fields[kTitle].empty() && !fields[kUrl].empty()
        && !fields[kTitleKana].empty() && IsHiragana(fields[kTitleKana]) && !fields[kAuthorKana].empty()
        && IsHiragana(fields[kAuthorKana]) && ParseDateTime(UnescapeField(fields[kDate])).has_value();
}

ItemProblem FindItemProblem(const TLinkItem& item)
{
    // The fields as ItemToLine stores them.
    const std::string_view titleKana = Trim(item.TitleKana);
    const std::string_view authorKana = Trim(item.AuthorKana);
    if (Trim(item.Title).empty()) {
        return ItemProblem::TitleMissing;
    }
    if (titleKana.empty()) {
        return ItemProblem::TitleKanaMissing;
    }
    if (!IsHiragana(titleKana)) {
        return ItemProblem::TitleKanaNotHiragana;
    }
    if (authorKana.empty()) {
        return ItemProblem::AuthorKanaMissing;
    }
    if (!IsHiragana(authorKana)) {
        return ItemProblem::AuthorKanaNotHiragana;
    }
    if (Trim(item.Url).empty()) {
        return ItemProblem::UrlMissing;
    }
    if (!ParseDateTime(DateTimeToText(item.Date)).has_value()) {
        return ItemProblem::DateInvalid;
    }
    return ItemProblem::None;
}

namespace {

// The fields as LineToItem takes them: a line without exactly sixteen
// fields gives its first sixteen, and empty ones for those it lacks.
std::array<std::string_view, kFieldCount> ItemLineFields(std::string_view line)
{
    std::array<std::string_view, kFieldCount> fields;
    if (!SplitFields(line, fields)) {
        const std::vector<std::string_view> parts = sjis::Split(line, '/');
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            fields[i] = i < parts.size() ? parts[i] : std::string_view();
        }
    }
    return fields;
}

TDateTime DateField(std::string_view field)
{
    return ParseDateTime(UnescapeField(field)).value_or(TDateTime{});
}

// Fills the fields of item, a TLinkItem or a LinkItemView, from a line;
// decode unescapes the text of one field, decodeTwice that of the comment,
// which is escaped twice.
template <typename Item, typename Decode, typename DecodeTwice>
void DecodeItemLine(std::string_view line, Item& item, Decode decode, DecodeTwice decodeTwice)
{
    // Each field is unescaped on its own, so an "&ln;" inside a field can
    // never shift the fields after it.
    const std::array<std::string_view, kFieldCount> fields = ItemLineFields(line);
    item.Serial = IntegerOr(fields[kSerial], kUnnumbered);
    item.GenreName = decode(fields[kGenreName]);
    item.Status = IntegerOr(fields[kStatus], 0);
    if (item.Status < 0 || item.Status >= kStatusCount) {
        item.Status = 0;
    }
    item.Title = decode(fields[kTitle]);
    item.TitleKana = decode(fields[kTitleKana]);
    item.Author = decode(fields[kAuthor]);
    item.AuthorKana = decode(fields[kAuthorKana]);
    item.Mail = decode(fields[kMail]);
    item.Url = decode(fields[kUrl]);
    item.Banner = decode(fields[kBanner]);
    item.BannerX = IntegerOr(fields[kBannerX], kDefaultBannerWidth);
    item.BannerY = IntegerOr(fields[kBannerY], kDefaultBannerHeight);
    item.Attributes = decode(fields[kAttributes]);
    item.Contents = decode(fields[kContents]);
    item.Date = DateField(fields[kDate]);
    item.Comment = decodeTwice(fields[kComment]);
}

} // namespace

TLinkItem LineToItem(std::string_view line)
{
    TLinkItem item;
    DecodeItemLine(
        line, item, [](std::string_view field) { return UnescapeField(field); },
        [](std::string_view field) { return UnescapeField(UnescapeField(field)); });
    return item;
}

LinkItemView ViewItemLine(std::string_view line, TextArena& decoded)
{
    // A field without "&" holds no entity and reads as it stands.
    LinkItemView item;
    const auto hasEntity = [](std::string_view field) { return field.find('&') != std::string_view::npos; };
    DecodeItemLine(
        line, item,
        [&](std::string_view field) { return hasEntity(field) ? decoded.Keep(UnescapeField(field)) : field; },
        [&](std::string_view field) {
            return hasEntity(field) ? decoded.Keep(UnescapeField(UnescapeField(field))) : field;
        });
    return item;
}

LinkItemView::LinkItemView(const TLinkItem& item)
    : Serial(item.Serial)
    , GenreName(item.GenreName)
    , Status(item.Status)
    , Title(item.Title)
    , TitleKana(item.TitleKana)
    , Author(item.Author)
    , AuthorKana(item.AuthorKana)
    , Mail(item.Mail)
    , Url(item.Url)
    , Banner(item.Banner)
    , BannerX(item.BannerX)
    , BannerY(item.BannerY)
    , Attributes(item.Attributes)
    , Contents(item.Contents)
    , Date(item.Date)
    , Comment(item.Comment)
{
}

TDateTime ItemLineDate(std::string_view line)
{
    return DateField(ItemLineFields(line)[kDate]);
}

std::string ItemToLine(const TLinkItem& item)
{
    std::string line;
    line.reserve(128 + item.Title.size() + item.Comment.size() + item.Url.size());
    AppendNumber(line, item.Serial);
    AppendField(line, item.GenreName);
    AppendNumber(line, item.Status);
    for (const std::string* text :
        {&item.Title, &item.TitleKana, &item.Author, &item.AuthorKana, &item.Mail, &item.Url, &item.Banner}) {
        AppendField(line, *text);
    }
    AppendNumber(line, item.BannerX);
    AppendNumber(line, item.BannerY);
    AppendField(line, item.Attributes);
    AppendField(line, item.Contents);
    AppendField(line, DateTimeToText(item.Date));
    line += EscapeField(EscapeField(item.Comment));
    return line;
}

bool ListContainsName(std::string_view list, std::string_view name)
{
    const std::string wrapped = "/" + std::string(list) + "/";
    return sjis::Contains(wrapped, "/" + EscapeField(name) + "/");
}

std::string ItemToReadableText(const TLinkItem& item)
{
    const bool hasBanner = !item.Banner.empty();
    std::string text;
    const auto addLine = [&text](const char* label, std::string_view value) {
        text += SJ(label);
        text.append(value);
        text += kLineBreak;
    };
    addLine("シリアル       = ", FormatSerial(item.Serial));
    addLine("タイトル       = ", item.Title);
    addLine("タイトル(仮名) = ", item.TitleKana);
    addLine("作者名         = ", item.Author);
    addLine("作者名(仮名)   = ", item.AuthorKana);
    addLine("メールアドレス = ", item.Mail);
    addLine("ページ URL     = ", FullUrl(item.Url));
    addLine("バナー URL     = ", hasBanner ? FullUrl(item.Banner) : std::string());
    addLine("バナーサイズ   = ",
        hasBanner ? "width=" + std::to_string(item.BannerX) + ", height=" + std::to_string(item.BannerY)
                  : std::string());
    addLine("アトリビュート = ", BracketList(item.Attributes));
    addLine("コンテンツ     = ", BracketList(item.Contents));
    addLine("登録日付       = ", DateTimeToText(item.Date));
    const std::vector<std::string_view> commentLines = SplitLines(item.Comment);
    addLine("コメント       = ", commentLines.empty() ? std::string_view() : commentLines.front());
    for (std::size_t i = 1; i < commentLines.size(); ++i) {
        text += std::string(17, ' ');
        text.append(commentLines[i]);
        text += kLineBreak;
    }
    text += kLineBreak;
    return text;
}

} // namespace tessaly
