#pragma once

// The report of a link check as CSV text (CR LF), one line for each link
// checked, in the order given.

#include <string>
#include <vector>

#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"
#include "core/text/EncodedText.h"

namespace tessaly {

// "シリアル", "タイトル", "種類", "URL", "結果", "コード", "新しいURL",
// "最終URL", "時間(秒)", "詳細". results[i].index names the link of links.
SjisText LinkReportText(const std::vector<ItemLink>& links, const std::vector<LinkCheckResult>& results);

// "ページ" or "バナー".
SjisText LinkFieldLabel(LinkField field);

// Seconds with three decimals: "1.250".
std::string SecondsText(std::chrono::milliseconds time);

} // namespace tessaly
