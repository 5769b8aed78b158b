#pragma once

// The walk the bulk tools share: every item of every genre but the trash,
// decoded, edited and encoded again in its place.

#include <cstddef>
#include <functional>

namespace tessaly {

class Project;
struct TLinkItem;

// Told after each genre its index and the index of the last genre walked,
// for a progress bar.
using GenreProgress = std::function<void(std::size_t genre, std::size_t lastGenre)>;

// Every line is written back, changed or not, so the walk also brings each
// line into the form the program writes. The shown genre must have been
// written back first.
void RewriteEveryItem(Project& project, const std::function<void(TLinkItem&)>& edit, const GenreProgress& progress);

} // namespace tessaly
