#include "core/tools/BulkRewrite.h"

#include <atomic>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"

namespace tessaly {

std::size_t RewriteEveryItem(Project& project, const ItemEdit& edit, const GenreProgress& progress, unsigned jobs)
{
    WorkerPool workers(jobs);
    std::atomic<std::size_t> changes = 0;
    const std::size_t lastGenre = project.TrashIndex() - 1;
    for (std::size_t g = 0; g <= lastGenre; ++g) {
        std::vector<std::string>& lines = project.Genres[g].Lines;
        workers.ForRanges(lines.size(), [&](std::size_t begin, std::size_t end) {
            std::size_t rangeChanges = 0;
            for (std::size_t i = begin; i < end; ++i) {
                TLinkItem item = LineToItem(lines[i]);
                rangeChanges += edit(item);
                lines[i] = ItemToLine(item);
            }
            changes += rangeChanges;
        });
        if (progress) {
            progress(g, lastGenre);
        }
    }
    return changes;
}

} // namespace tessaly
