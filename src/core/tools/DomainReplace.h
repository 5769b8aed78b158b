#pragma once

// The domain replace tool: changes the host part of every page and banner
// address of the collection.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "core/tools/BulkRewrite.h"

namespace tessaly {

class Project;

// What the dialog collects (code page 932, as typed).
struct DomainReplaceSettings {
    std::string find;
    std::string replace;
    bool ignoreCase = true; // "大文字小文字を同一視"
    bool allowPartial = true; // "部分置き換えを許可"
};

// The host part of a stored address is what lies between its own scheme,
// if it has one ("https://"), and the first "/" after it; an address without
// such a "/" is all host. Returns the address with the first match of find
// in the host replaced, or nothing when the host does not match (an empty
// address never does). find must not be empty.
std::optional<std::string> ReplaceDomainInUrl(std::string_view url, const DomainReplaceSettings& settings);

// Replaces in the page and banner addresses of every item but the trash's
// and returns how many addresses changed; find and replace are taken with
// blanks at both ends removed, and an empty find changes nothing. IsEditing
// is set when any address changed.
std::size_t ReplaceDomains(Project& project, const DomainReplaceSettings& settings, const GenreProgress& progress = {});

// The dialog's messages (code page 932).
// What a replacement would change, before it runs: the page and banner
// addresses of the items outside the trash, old and new, in the
// collection's order; at most limit of them, and how many there are.
struct AddressChange {
    std::string before;
    std::string after;
};
struct DomainReplacePreview {
    std::vector<AddressChange> changes;
    std::size_t total = 0;
};
DomainReplacePreview PreviewDomainReplace(const Project& project, const DomainReplaceSettings& settings, std::size_t limit);

const std::string& DomainFindMissingMessage();
const std::string& DomainReplaceEmptyQuestion();
const std::string& DomainReplaceProgressMessage();
std::string DomainReplaceResultMessage(std::size_t count);

} // namespace tessaly
