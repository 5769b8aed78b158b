#pragma once

// The order of the item list: one key (title, author, mail, page URL,
// banner URL, date or serial), ascending or descending; title and author by
// their readings when kana sorting is on.

#include <cstdint>
#include <vector>

#include "core/collection/LinkItem.h"

namespace tessaly {

enum class ItemSortKey : int32_t { Title = 0, Author = 1, Mail = 2, PageUrl = 3, BannerUrl = 4, Date = 5, Serial = 6 };

struct ItemListOrder {
    ItemSortKey sortBy = ItemSortKey::Title;
    int32_t sortDir = 0; // 0 ascending, 1 descending
    bool sortKana = true;
};

// Negative, zero or positive as a sorts before, with or after b.
int CompareItems(const TLinkItem& a, const TLinkItem& b, const ItemListOrder& order);

// Sorts the rows by the order; rows that compare equal keep their order.
// Returns where each row came from: the new row k was row result[k].
std::vector<std::size_t> SortItemRows(std::vector<TLinkItem>& rows, const ItemListOrder& order);

} // namespace tessaly
