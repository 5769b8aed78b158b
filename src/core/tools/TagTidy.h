#pragma once

// The attribute/content tidy: brings every item's attribute and content
// lists into the order of the vocabularies.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/tools/BulkRewrite.h"

namespace tessaly {

class Project;

// The names of the "/" list that the vocabulary holds (exactly, after
// escaping), each once, in vocabulary order; names outside it, empty names
// and stray "/" drop out. An empty vocabulary leaves the list as it is.
class VocabularyOrder {
public:
    explicit VocabularyOrder(const std::vector<std::string>& vocabulary);
    std::string Apply(std::string_view list) const;

private:
    std::vector<std::string> escaped_;
    // Two names can escape alike (line breaks are normalised); each keeps
    // its place.
    std::unordered_map<std::string, std::vector<std::size_t>> positions_;
};

// Reorders the attribute and content lists of every item but the trash's
// and returns how many lists changed; IsEditing is set when any did.
std::size_t TidyTagLists(Project& project, const GenreProgress& progress = {});

// The tool's messages (code page 932).
// How many lists TidyTagLists would change, before it runs.
std::size_t CountUntidyLists(const Project& project);
// Asks before the tidy, saying how many lists it changes.
std::string TagTidyQuestion(std::size_t untidyLists);
const std::string& TagTidyProgressMessage();
std::string TagTidyResultMessage(std::size_t count);

} // namespace tessaly
