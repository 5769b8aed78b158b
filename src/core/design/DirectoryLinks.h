#pragma once

// The links a directory page shows to other places of the site: their
// stored form in a design, and the links the design dialog makes for the
// user.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design/DirectoryDesign.h"

namespace tessaly {

struct DirectoryLink {
    std::string anchor;
    std::string target; // relative URL
    friend bool operator==(const DirectoryLink&, const DirectoryLink&) = default;
};

// The stored entry: the escaped anchor, "/", the escaped target.
std::string SubLinkEntry(const DirectoryLink& link);
// Split at the first "/" and unescaped; an entry without "/" is all anchor.
DirectoryLink ParseSubLinkEntry(std::string_view entry);

// The table width as stored: digits, optionally followed by one "%", with
// leading zeros dropped ("0" becomes empty). Nothing when the text is
// neither an integer nor a percentage.
std::optional<std::string> NormaliseTableWidth(std::string_view width);

// One link per child directory of directory, in the order given: to the
// child's first page, named by the child's own title, or by its name in
// capitals when it has none.
std::vector<DirectoryLink> LinksToSubdirectories(std::string_view rootDirectory, std::string_view directory,
    const std::vector<std::string>& childNames, const DesignDefaults& defaults);

struct LinkToDirectoryResult {
    DirectoryLink link;
    bool untitled = false; // the anchor is the placeholder "新規リンク"
};

// A link from the page of shownDirectory to the first page of target.
LinkToDirectoryResult LinkToDirectory(std::string_view rootDirectory, std::string_view shownDirectory,
    std::string_view target, const DesignDefaults& defaults);

} // namespace tessaly
