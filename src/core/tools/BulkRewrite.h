#pragma once

// The walk the bulk tools share: every item of every genre but the trash,
// decoded, edited and encoded again in its place.

#include <cstddef>
#include <functional>

#include "core/output/WorkerPool.h"

namespace tessaly {

class Project;
struct TLinkItem;

// Told after each genre its index and the index of the last genre walked,
// for a progress bar.
using GenreProgress = std::function<void(std::size_t genre, std::size_t lastGenre)>;

// Edits one item and returns how many changes it made. Called on several
// threads at once, each time with another item.
using ItemEdit = std::function<std::size_t(TLinkItem& item)>;

// Returns the sum of the changes. Every line is written back, changed or
// not, so the walk also brings each line into the form the program writes.
// The shown genre must have been written back first. The items of a genre
// are shared out over jobs threads; the result is the same for any number.
std::size_t RewriteEveryItem(
    Project& project, const ItemEdit& edit, const GenreProgress& progress, unsigned jobs = DefaultJobs());

} // namespace tessaly
