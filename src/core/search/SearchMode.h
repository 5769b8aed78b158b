#pragma once

// The search modes: the found items leave their genres while the result is
// shown, and return to them when the mode ends, so every item is in exactly
// one place at any time.

#include <string>
#include <vector>

#include "core/design/DirectoryDesign.h"
#include "core/output/Selection.h"

namespace tessaly {

class Project;
class ShownItems;

// The lines of every genre but the trash that the criteria match, taken out
// of their genres, genre by genre in stored order. The shown genre must be
// written back first.
std::vector<std::string> ExtractMatchingItems(
    Project& project, const TSqueeze& criteria, const SelectProgress& progress = {});

// Every line of every genre but the trash, taken out of the genres.
std::vector<std::string> ExtractAllItems(Project& project);

// Shows a result: the rows become the records of the lines, in order, and
// the search mode is on.
void ShowSearchResult(ShownItems& shown, const std::vector<std::string>& lines);

// Ends the search mode: every row goes back to the end of its genre, found
// by its genre field (empty: the first genre; the trash mark: the trash;
// else the genre of that name, ignoring ASCII case). A row whose genre no
// longer exists goes to the first genre with its genre field kept. The
// rows are then empty and the mode is off. Nothing when the mode is off.
void EndSearchMode(Project& project, ShownItems& shown);

// The host parts (before the first "/", after a scheme of its own) of the
// page and banner addresses of every item but the trash's, each once
// ignoring case, sorted.
std::vector<std::string> RegisteredDomains(const Project& project);

// Criteria without any condition, as the search dialogs start from.
TSqueeze SearchCriteria();

} // namespace tessaly
