#include "core/output/PagePlan.h"

#include <algorithm>
#include <cstdio>

#include "core/text/Codepage.h"
#include "core/text/Collation.h"

namespace tessaly {

namespace {

// The sub page name split where the plan puts the page number.
struct SubPageName {
    std::string base;
    std::string extension; // without the dot; empty when there is none
};

SubPageName SplitSubPageName(const std::string& nameSub)
{
    const std::size_t dot = nameSub.rfind('.');
    return {nameSub.substr(0, dot), dot == std::string::npos ? std::string() : nameSub.substr(dot + 1)};
}

// The sub page numbers the plan writes with "%3.3d": three digits, or more
// without a leading zero.
bool IsPageNumber(std::string_view digits)
{
    return (digits.size() == 3 || (digits.size() > 3 && digits.front() != '0'))
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

const std::string& PageStateText(PageState state)
{
    switch (state) {
    case PageState::Created: return SJ("作成");
    case PageState::Updated: return SJ("更新");
    case PageState::Skipped: return SJ("ｽｷｯﾌﾟ");
    default: return SJ("未処理");
    }
}

std::vector<PageRow> PlanPages(const TDirectoryDesign& design, std::size_t hits)
{
    std::vector<PageRow> rows;
    if (!design.linkOutputs) {
        rows.push_back({design.html.nameDef, {}, {}});
    } else if (!design.html.division) {
        rows.push_back({design.html.nameDef, SJ("最初"), SJ("最後")});
    } else {
        const SubPageName sub = SplitSubPageName(design.html.nameSub);
        const std::size_t perPage = static_cast<std::size_t>(design.html.divisionCount);
        const std::size_t count = (hits + perPage - 1) / perPage;
        for (std::size_t p = 1; p <= count; ++p) {
            char number[24];
            std::snprintf(number, sizeof number, "%3.3zu", p);
            std::string name
                = p == 1 ? design.html.nameDef : sub.base + number + (sub.extension.empty() ? "" : "." + sub.extension);
            const std::string first = p == 1 ? SJ("最初") : std::to_string((p - 1) * perPage + 1);
            const std::string last = p == count ? SJ("最後") : std::to_string(p * perPage);
            rows.push_back({std::move(name), first, last});
        }
    }
    return rows;
}

SurplusRule::SurplusRule(const THtmlDesign& html, const std::vector<PageRow>& rows)
{
    SubPageName sub = SplitSubPageName(html.nameSub);
    subBase_ = std::move(sub.base);
    subExtension_ = std::move(sub.extension);
    for (const PageRow& row : rows) {
        planned_.insert(AsciiLower(row.fileName));
    }
}

bool SurplusRule::IsSurplus(std::string_view fileName) const
{
    if (!fileName.starts_with(subBase_)) {
        return false;
    }
    const std::string_view rest = fileName.substr(subBase_.size());
    std::string_view digits = rest;
    if (!subExtension_.empty()) {
        const std::size_t dot = rest.rfind('.');
        if (dot == std::string_view::npos || rest.substr(dot + 1) != subExtension_) {
            return false;
        }
        digits = rest.substr(0, dot);
    }
    return IsPageNumber(digits) && !planned_.contains(AsciiLower(fileName));
}

} // namespace tessaly
