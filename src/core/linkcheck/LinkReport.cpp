#include "core/linkcheck/LinkReport.h"

#include <cstdio>

#include "core/text/Codepage.h"
#include "core/text/Csv.h"
#include "core/text/Strings.h"

namespace tessaly {

SjisText LinkFieldLabel(LinkField field)
{
    return SjisText(field == LinkField::Page ? SJ("ページ") : SJ("バナー"));
}

std::string SecondsText(std::chrono::milliseconds time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(time.count() / 1000),
        static_cast<long long>(time.count() % 1000));
    return text;
}

SjisText LinkReportText(const std::vector<ItemLink>& links, const std::vector<LinkCheckResult>& results)
{
    std::string text = CsvLine({SJ("シリアル"), SJ("タイトル"), SJ("種類"), SJ("URL"), SJ("結果"), SJ("コード"),
        SJ("新しいURL"), SJ("最終URL"), SJ("時間(秒)"), SJ("詳細")});
    for (const LinkCheckResult& result : results) {
        if (result.index >= links.size()) {
            continue;
        }
        const ItemLink& link = links[result.index];
        text += CsvLine({FormatSerial(link.serial), link.title, LinkFieldLabel(link.field).bytes(), link.shown,
            LinkResultLabel(result.result).bytes(), result.code == 0 ? std::string() : std::to_string(result.code),
            result.newUrl, result.finalUrl, SecondsText(result.time), result.detailLabel.bytes()});
    }
    return SjisText(std::move(text));
}

} // namespace tessaly
