#pragma once

// The site's own search page, which finds the collection's items in the
// visitor's browser without a server: opened from disk as well as from any
// static host.

#include <string>
#include <vector>

#include "core/site/SiteFile.h"

namespace tessaly {

class Project;
class ItemCatalog;

inline constexpr const char* kSearchPageName = "search.html";
inline constexpr const char* kSearchScriptName = "search.js";
inline constexpr const char* kSearchIndexName = "search-index.js";

// The files of the site's own search page: "search.html", its script and its index.
// listingPages[i]: root-relative path ("/"-separated, code page 932, e.g. "genre001/pages2.html") of the page
// that lists catalog entry i, empty when no page lists it. Only items of user genres are searchable
// (not the unfiled genre 【未整理】 at genre index 0, not the trash at the last index).
std::vector<SiteFile> SiteSearchFiles(
    const Project& project, const ItemCatalog& catalog, const std::vector<std::string>& listingPages);

} // namespace tessaly
