#pragma once

// Which links a check asks about, where their items live, and the two
// changes a check can lead to: the warning mark on items whose links are
// dead, and the new address of a link that moved for good.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/linkcheck/LinkChecker.h"

namespace tessaly {

class Project;
class ShownItems;

// Where an item of a check lives: a row of the item list, or a line of a
// genre that is not shown.
struct ItemPlace {
    enum class In { Row, Line };
    In in = In::Row;
    std::size_t genre = 0; // Line: the genre's index
    std::size_t index = 0; // the row, or the line in the genre

    friend bool operator==(const ItemPlace&, const ItemPlace&) = default;
};

struct PlacedItem {
    ItemPlace place;
    TLinkItem item;
};

// The chosen rows (all rows for the shown genre).
std::vector<PlacedItem> ItemsOfRows(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen);
std::vector<PlacedItem> ItemsOfGenre(const Project& project, std::size_t genre);
// Every item but those in the trash. The shown rows stand for the selected
// genre's lines (they may be newer); in a search mode they are items taken
// out of their genres and come first.
std::vector<PlacedItem> ItemsOfCollection(const Project& project, const ShownItems* shown = nullptr);

enum class LinkField { Page, Banner };

struct ItemLink {
    ItemPlace place;
    LinkField field = LinkField::Page;
    int32_t serial = 0;
    std::string title; // code page 932
    std::string stored; // the address as the item keeps it
    std::string shown; // the address as a reader sees it: the full URL or the banner file's path
};

struct ItemLinks {
    std::vector<ItemLink> links;
    std::vector<LinkToCheck> toCheck; // one for each link, in the same order
    std::size_t skipped = 0; // addresses of other kinds (mailto:, ftp://, ...), not checked
};

// The page and banner addresses of the items. Page addresses follow the
// https rule; a banner stored as "%%" + name is the file name under the
// banner directory.
ItemLinks LinksOfItems(const std::vector<PlacedItem>& items, std::string_view bannerDirectory);

// A stored address as it goes on the wire: the full URL with the host in
// its ASCII form (WithAsciiHost) and what follows the host, in UTF-8,
// percent-encoded where a URL may not hold it as it is.
// Text that is not code page 932 has its bytes percent-encoded instead.
std::string RequestUrl(std::string_view stored);

// True for an address a stored one may be replaced by: http or https, no
// byte beyond ASCII, and one SafeStoredUrl takes.
bool CanTakeNewUrl(std::string_view url);

// An item a check found dead but did not mark: it carries a mark of the
// user's (favourite, erase, an importance), which the warning would replace.
struct UnmarkedItem {
    std::size_t which = 0; // in the places given
    ItemPlace place;
    int32_t status = 0;
};

// Gives the items at the places whose status is "normal" the status
// "warning" (2); items already marked so stay; items with any other mark
// keep it and go to notMarked (each place once). Returns how many items
// changed.
std::size_t MarkItemsFailed(Project& project, std::vector<TLinkItem>& rows, const std::vector<ItemPlace>& places,
    std::vector<UnmarkedItem>* notMarked = nullptr);

struct AddressUpdate {
    ItemPlace place;
    LinkField field = LinkField::Page;
    std::string newUrl;
};

// Replaces each address by its new one in the form SafeStoredUrl gives; an
// update CanTakeNewUrl refuses is passed over (the caller reports it).
// Returns how many addresses changed.
std::size_t UpdateAddresses(Project& project, std::vector<TLinkItem>& rows, const std::vector<AddressUpdate>& updates);

} // namespace tessaly
