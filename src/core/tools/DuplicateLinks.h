#pragma once

// Links kept twice: items of any genres (the trash left out) whose page
// addresses name the same page by UrlIdentity.

#include <cstddef>
#include <string>
#include <vector>

namespace tessaly {

class Project;

struct LinePlace {
    std::size_t genre = 0;
    std::size_t line = 0;

    friend bool operator==(const LinePlace&, const LinePlace&) = default;
};

// The groups of two or more items with the same page, each in collection
// order, the groups in the order of their first items.
std::vector<std::vector<LinePlace>> FindDuplicateLinks(const Project& project);

// The lines of those items, taken out of their genres group by group, so
// that copies of a page stand together. The shown genre must be written
// back first.
std::vector<std::string> ExtractDuplicateItems(Project& project);

} // namespace tessaly
