#include "core/search/SearchMode.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/text/Collation.h"
#include "core/text/Url.h"

namespace tessaly {

std::vector<std::string> ExtractMatchingItems(
    Project& project, const TSqueeze& criteria, const SelectProgress& progress)
{
    // A search finds every match: page ranges belong to directory pages.
    TSqueeze unlimited = criteria;
    unlimited.rangeMode = 0;
    std::vector<std::string> lines;
    SelectItems(project, unlimited, lines, {.extract = true, .includeUnfiled = true, .sort = false}, progress);
    return lines;
}

std::vector<std::string> ExtractAllItems(Project& project)
{
    std::size_t count = 0;
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        count += project.Genres[g].Lines.size();
    }
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        std::vector<std::string>& genreLines = project.Genres[g].Lines;
        std::move(genreLines.begin(), genreLines.end(), std::back_inserter(lines));
        genreLines.clear();
    }
    return lines;
}

void ShowSearchResult(ShownItems& shown, const std::vector<std::string>& lines)
{
    shown.Clear();
    shown.SetSearchMode(true);
    shown.Rows().reserve(lines.size());
    for (const std::string& line : lines) {
        shown.AddItemRecord(LineToItem(line));
    }
}

void EndSearchMode(Project& project, ShownItems& shown)
{
    if (!shown.SearchMode()) {
        return;
    }
    // A row naming a genre that is gone goes to the first genre and keeps
    // its field, as the project reader files such an item.
    const GenreIndex genres(project);
    for (const TLinkItem& row : shown.Rows()) {
        const std::size_t genre
            = row.GenreName == kTrashGenreMark ? project.TrashIndex() : genres.FileUnder(row.GenreName);
        project.Genres[genre].Lines.push_back(ItemToLine(row));
    }
    shown.Clear();
    shown.SetSearchMode(false);
}

std::vector<std::string> RegisteredDomains(const Project& project)
{
    // One entry per host ignoring ASCII case, the first spelling kept.
    std::vector<std::string> domains;
    std::unordered_set<std::string> seen;
    const auto add = [&](std::string_view url) {
        const std::string_view host = UrlHostPart(url);
        if (host.size() > 1 && seen.insert(AsciiLower(host)).second) {
            domains.emplace_back(host.substr(0, host.size() - 1));
        }
    };
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            const TLinkItem item = LineToItem(line);
            add(item.Url);
            add(item.Banner);
        }
    }
    std::stable_sort(domains.begin(), domains.end(),
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    return domains;
}

TSqueeze SearchCriteria()
{
    return TSqueeze{};
}

} // namespace tessaly
