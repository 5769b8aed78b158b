#pragma once

// Commands on the chosen rows that need no editor: the status or importance
// mark and the date; and the dates already used in the collection.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/collection/LinkItem.h"

namespace tessaly {

class Project;

// True when at least one row was chosen (the rows then carry the value).
bool SetItemStatus(std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen, int32_t status);
bool SetItemDate(std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen, TDateTime date);

// Every date ("yyyy/mm/dd") of the items of all genres but the trash and of
// the shown rows, each once, sorted ascending.
std::vector<std::string> RegisteredDates(const Project& project, const std::vector<TLinkItem>& shownRows);

} // namespace tessaly
