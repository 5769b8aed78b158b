#include "core/collection/ItemMarks.h"

#include <algorithm>
#include <set>

#include "core/collection/Project.h"

namespace tessaly {

namespace {

// Gives every chosen row the value; false when no index names a row.
template <typename Assign>
bool AssignToChosen(std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen, Assign assign)
{
    bool any = false;
    for (const std::size_t row : chosen) {
        if (row < rows.size()) {
            assign(rows[row]);
            any = true;
        }
    }
    return any;
}

} // namespace

bool SetItemStatus(std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen, int32_t status)
{
    if (status < 0 || status >= kStatusCount) {
        return false;
    }
    return AssignToChosen(rows, chosen, [status](TLinkItem& item) { item.Status = status; });
}

bool SetItemDate(std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen, TDateTime date)
{
    return AssignToChosen(rows, chosen, [date](TLinkItem& item) { item.Date = date; });
}

std::vector<std::string> RegisteredDates(const Project& project, const std::vector<TLinkItem>& shownRows)
{
    // Items share few date values: collect the distinct ones, then format
    // each once.
    std::set<double> values;
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            values.insert(ItemLineDate(line).Value);
        }
    }
    for (const TLinkItem& item : shownRows) {
        values.insert(item.Date.Value);
    }
    std::vector<std::string> dates;
    dates.reserve(values.size());
    for (const double value : values) {
        dates.push_back(DateToText(TDateTime{value}));
    }
    // Values of one day at different times give one text, and the texts of
    // days before 1899/12/30 do not run in the order of their values.
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

} // namespace tessaly
