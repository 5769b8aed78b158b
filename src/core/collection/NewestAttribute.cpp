#include "core/collection/NewestAttribute.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "core/collection/CollectionEditing.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"

namespace tessaly {

namespace {

// The period as whole days; a bound the mode does not use is open.
class DayPeriod {
public:
    explicit DayPeriod(const NewestPeriod& period)
    {
        const int64_t begin = WholeDays(period.begin);
        const int64_t end = WholeDays(period.end);
        switch (period.mode) {
        case NewestPeriodMode::Day: first_ = last_ = begin; break;
        case NewestPeriodMode::Range:
            first_ = std::min(begin, end);
            last_ = std::max(begin, end);
            break;
        case NewestPeriodMode::From: first_ = begin; break;
        case NewestPeriodMode::Until: last_ = end; break;
        }
    }

    bool Contains(TDateTime date) const
    {
        const int64_t day = WholeDays(date);
        return day >= first_ && day <= last_;
    }

private:
    int64_t first_ = std::numeric_limits<int64_t>::min();
    int64_t last_ = std::numeric_limits<int64_t>::max();
};

// The attribute list with "最新" added in front or taken out, as the item
// falls in the period or not; nothing when it already says so.
std::optional<std::string> AdjustedAttributes(const std::string& attributes, bool inPeriod)
{
    const std::string& newest = NewestAttributeName();
    if (ListContainsName(attributes, newest) == inPeriod) {
        return std::nullopt;
    }
    if (!inPeriod) {
        return ReplaceInTagList(attributes, newest, nullptr);
    }
    return attributes.empty() ? newest : newest + "/" + attributes;
}

} // namespace

const std::string& NewestAttributeName()
{
    return SJ("最新");
}

std::size_t AdjustNewestAttribute(Project& project, const NewestPeriod& period,
    const std::function<void(std::size_t genre, std::size_t genres)>& progress)
{
    if (!FindVocabularyName(project.Attributes, NewestAttributeName())) {
        project.Attributes.insert(project.Attributes.begin(), NewestAttributeName());
        project.IsEditing = true;
    }
    const DayPeriod days(period);
    std::size_t changed = 0;
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        if (progress) {
            progress(g, project.TrashIndex());
        }
        for (std::string& line : project.Genres[g].Lines) {
            TLinkItem item = LineToItem(line);
            std::optional<std::string> attributes = AdjustedAttributes(item.Attributes, days.Contains(item.Date));
            if (attributes) {
                item.Attributes = std::move(*attributes);
                line = ItemToLine(item);
                ++changed;
            }
        }
    }
    if (changed > 0) {
        project.IsEditing = true;
    }
    return changed;
}

} // namespace tessaly
