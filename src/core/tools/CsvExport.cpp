#include "core/tools/CsvExport.h"

#include <algorithm>
#include <array>

#include "core/collection/Project.h"
#include "core/text/Codepage.h"
#include "core/text/Csv.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

std::string GenreColumn(const std::string& genreName)
{
    if (genreName.empty()) {
        return UnfiledGenreName();
    }
    return genreName == kTrashGenreMark ? TrashGenreName() : genreName;
}

std::vector<std::string> HeaderValues(CsvCommentMode mode)
{
    std::vector<std::string> header;
    for (const char* title :
        {"シリアル", "状態", "ジャンル", "タイトル", "タイトル仮名", "作者名", "作者名仮名", "メールアドレス",
            "ページURL", "バナーURL", "バナーXサイズ", "バナーYサイズ", "登録日付", "アトリビュート", "コンテンツ"}) {
        header.push_back(SJ(title));
    }
    if (mode != CsvCommentMode::None) {
        header.push_back(SJ("コメント"));
    }
    return header;
}

// The columns of numbers and labels the program makes itself, which no
// one's text reaches.
constexpr std::array<std::size_t, 5> kNumberColumns{0, 1, 10, 11, 12};

bool IsFormulaCell(std::string_view value)
{
    // A lead byte is never one of these, so the first byte tells.
    return !value.empty() && std::string_view("=+-@\t\r").find(value.front()) != std::string_view::npos;
}

// Calls cell for every text cell of the item's values that a spreadsheet
// would run as a formula.
template <typename Cell> void ForEachFormulaCell(std::vector<std::string>& values, Cell cell)
{
    for (std::size_t column = 0; column < values.size(); ++column) {
        if (std::find(kNumberColumns.begin(), kNumberColumns.end(), column) == kNumberColumns.end()
            && IsFormulaCell(values[column])) {
            cell(values[column]);
        }
    }
}

std::vector<std::string> ItemValues(const TLinkItem& item, CsvCommentMode mode)
{
    std::vector<std::string> values{FormatSerial(item.Serial), CsvStatusLabel(item.Status), GenreColumn(item.GenreName),
        item.Title, item.TitleKana, item.Author, item.AuthorKana, item.Mail, item.Url, item.Banner,
        std::to_string(item.BannerX), std::to_string(item.BannerY), DateToText(item.Date), BracketList(item.Attributes),
        BracketList(item.Contents)};
    if (mode != CsvCommentMode::None) {
        values.push_back(CsvComment(item.Comment, mode));
    }
    return values;
}

} // namespace

const std::string& CsvStatusLabel(int32_t status)
{
    static const std::array<std::string, kStatusCount> kLabels{SJ("標準"), SJ("お気に入り"), SJ("警告・要注意"),
        SJ("削除予定"), SJ("重要度やや高い"), SJ("重要度高い"), SJ("重要度最高")};
    return status >= 0 && status < kStatusCount ? kLabels[static_cast<std::size_t>(status)] : kLabels[0];
}

std::string CsvComment(std::string_view comment, CsvCommentMode mode)
{
    switch (mode) {
    case CsvCommentMode::Erase: return sjis::ReplaceAll(comment, kLineBreak, "");
    case CsvCommentMode::Top: return std::string(comment.substr(0, sjis::FindText(comment, kLineBreak)));
    case CsvCommentMode::Literal: {
        const std::string backslashes = sjis::ReplaceAll(comment, "\\", "\\\\");
        const std::string quotes = sjis::ReplaceAll(backslashes, "\"", "\\\"");
        return sjis::ReplaceAll(quotes, kLineBreak, "\\n");
    }
    case CsvCommentMode::None: break;
    }
    return {};
}

std::string CsvText(const std::vector<TLinkItem>& items, CsvCommentMode mode, CsvFormulas formulas)
{
    std::string text = CsvLine(HeaderValues(mode));
    for (const TLinkItem& item : items) {
        std::vector<std::string> values = ItemValues(item, mode);
        if (formulas == CsvFormulas::Defused) {
            ForEachFormulaCell(values, [](std::string& value) { value.insert(0, 1, '\''); });
        }
        text += CsvLine(values);
    }
    return text;
}

std::size_t CsvFormulaCells(const std::vector<TLinkItem>& items, CsvCommentMode mode)
{
    std::size_t count = 0;
    for (const TLinkItem& item : items) {
        std::vector<std::string> values = ItemValues(item, mode);
        ForEachFormulaCell(values, [&count](const std::string&) { ++count; });
    }
    return count;
}

} // namespace tessaly
