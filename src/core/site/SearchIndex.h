#pragma once

// The data of the site's search page: one script that sets
// window.tessalySearchIndex to the searchable items of the user genres, in
// catalog order, laid out in columns so that a hundred thousand items stay
// small and load fast:
//
//   {"version":1, "count":N,
//    "genres":[names], "genreFolds":[...],           the user genres in order
//    "attributes":[names], "attributeFolds":[...], "attributesListed":K,
//    "attributeSets":[[name ids]], "attributeSet":L,
//    "contents":..., "contentFolds":..., "contentsListed":K,
//    "contentSets":..., "contentSet":L,
//    "pages":["genre001/pages2.html", ...],          percent-encoded UTF-8
//    "page":L (1 + the page's number, 0 for none), "genre":L,
//    "fields":{"title":F, "titleKana":F, "author":F, "authorKana":F,
//              "comment":F, "origin":F, "path":F}}
//
// L is a list of numbers, one per item, in a string: the width w of each
// number, then each number in w digits of "0-9A-Za-z-_" (base 64, the
// highest first). A vocabulary's own names come first in its name table
// (the first K are the ones the page offers as filters); names that only
// items carry follow. A field F is {"text":entries, "fold":entries,
// "ids":L}: entries are joined by LF in one string; "fold" (searched fields
// that are also shown, and only where some entry folds to another text)
// holds each entry's folded form, empty where it is the shown text itself;
// with "ids" the entries are the field's distinct values and ids names each
// item's, without it entry i is item i's. Title and author are shown and
// searched; the readings and the comment (its markup taken out) are kept
// only folded; "origin" (scheme and host) and "path" (the rest) make the
// item's full address, made safe for a link; both are empty when it has
// none that is.

#include <string>
#include <vector>

namespace tessaly {

class Project;
class ItemCatalog;

inline constexpr int kSearchIndexVersion = 1;

// listingPages as for SiteSearchFiles.
std::string SearchIndexScript(
    const Project& project, const ItemCatalog& catalog, const std::vector<std::string>& listingPages);

} // namespace tessaly
