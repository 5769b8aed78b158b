#pragma once

// Which pages a directory's design makes the output run write, and which
// files of earlier runs the run deletes as surplus: both follow from the
// design and the file names alone.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/design/DirectoryDesign.h"

namespace tessaly {

enum class PageState { Pending, Created, Updated, Skipped };

struct PageRow {
    std::string fileName; // code page 932
    std::string first; // item number, "最初" or empty
    std::string last; // item number, "最後" or empty
    PageState state = PageState::Pending;
};

// The text of the row states as the page plan shows them.
const std::string& PageStateText(PageState state);

// The pages of a directory whose selection has hits items: the first page
// under the default name, the further ones under the sub page name with
// their number put in before its extension ("sub002.html").
std::vector<PageRow> PlanPages(const TDirectoryDesign& design, std::size_t hits);

// A file of the directory is surplus when it is named as the plan names
// sub pages, under any number, and the plan at hand does not write it.
class SurplusRule {
public:
    SurplusRule(const THtmlDesign& html, const std::vector<PageRow>& rows);

    bool IsSurplus(std::string_view fileName) const; // code page 932

private:
    std::string subBase_;
    std::string subExtension_;
    std::unordered_set<std::string> planned_; // as compared, ignoring the case of ASCII letters
};

} // namespace tessaly
