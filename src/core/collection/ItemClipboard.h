#pragma once

// Items as clipboard text: the item-line layout that copy, cut and paste
// exchange, and the readable layout for use outside the program.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"

namespace tessaly {

class Project;

// The item lines of the chosen rows, in the order given, each followed by CR LF.
std::string ItemLinesText(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen);

// The readable layout of the chosen rows, in the order given.
std::string ReadableItemsText(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen);

// The records of the pasted lines that pass the item-line check, in order,
// filed under genreField and unnumbered (so that adding them numbers them
// anew). Other lines are skipped.
std::vector<TLinkItem> PastedItems(std::string_view text, const std::string& genreField);

// The genre field of an item created or pasted while the genre is shown:
// empty for the first genre, the trash mark for the last, else its name.
std::string GenreFieldOf(const Project& project, std::size_t genre);

} // namespace tessaly
