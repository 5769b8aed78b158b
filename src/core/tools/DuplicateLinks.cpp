#include "core/tools/DuplicateLinks.h"

#include <algorithm>
#include <unordered_map>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Url.h"

namespace tessaly {

std::vector<std::vector<LinePlace>> FindDuplicateLinks(const Project& project)
{
    std::vector<std::vector<LinePlace>> groups;
    std::unordered_map<std::string, std::size_t> groupOfPage;
    for (std::size_t genre = 0; genre < project.TrashIndex(); ++genre) {
        const std::vector<std::string>& lines = project.Genres[genre].Lines;
        for (std::size_t line = 0; line < lines.size(); ++line) {
            const auto [found, added] = groupOfPage.try_emplace(UrlIdentity(LineToItem(lines[line]).Url), groups.size());
            if (added) {
                groups.emplace_back();
            }
            groups[found->second].push_back({genre, line});
        }
    }
    std::erase_if(groups, [](const std::vector<LinePlace>& group) { return group.size() < 2; });
    return groups;
}

std::vector<std::string> ExtractDuplicateItems(Project& project)
{
    const std::vector<std::vector<LinePlace>> groups = FindDuplicateLinks(project);
    std::vector<std::string> found;
    std::vector<LinePlace> taken;
    for (const std::vector<LinePlace>& group : groups) {
        for (const LinePlace& place : group) {
            found.push_back(project.Genres[place.genre].Lines[place.line]);
            taken.push_back(place);
        }
    }
    // From the back, so that the places still to be taken stay valid.
    std::sort(taken.begin(), taken.end(), [](const LinePlace& a, const LinePlace& b) {
        return a.genre != b.genre ? a.genre > b.genre : a.line > b.line;
    });
    for (const LinePlace& place : taken) {
        std::vector<std::string>& lines = project.Genres[place.genre].Lines;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(place.line));
    }
    return found;
}

} // namespace tessaly
