#include "tools/BulkRewrite.h"

#include "collection/LinkItem.h"
#include "collection/Project.h"

namespace tessaly {

void RewriteEveryItem(Project& project, const std::function<void(TLinkItem&)>& edit, const GenreProgress& progress)
{
    const std::size_t lastGenre = project.TrashIndex() - 1;
    for (std::size_t g = 0; g <= lastGenre; ++g) {
        for (std::string& line : project.Genres[g].Lines) {
            TLinkItem item = LineToItem(line);
            edit(item);
            line = ItemToLine(item);
        }
        if (progress) {
            progress(g, lastGenre);
        }
    }
}

} // namespace tessaly
