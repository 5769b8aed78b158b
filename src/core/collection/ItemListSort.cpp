#include "core/collection/ItemListSort.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/text/Collation.h"

namespace tessaly {

namespace {

const std::string& TextKey(const TLinkItem& item, const ItemListOrder& order)
{
    switch (order.sortBy) {
    case ItemSortKey::Author: return order.sortKana ? item.AuthorKana : item.Author;
    case ItemSortKey::Mail: return item.Mail;
    case ItemSortKey::PageUrl: return item.Url;
    case ItemSortKey::BannerUrl: return item.Banner;
    default: return order.sortKana ? item.TitleKana : item.Title;
    }
}

int64_t NumberKey(const TLinkItem& item, const ItemListOrder& order)
{
    return order.sortBy == ItemSortKey::Date ? static_cast<int64_t>(std::trunc(item.Date.Value)) : item.Serial;
}

bool IsNumberKey(ItemSortKey key)
{
    return key == ItemSortKey::Date || key == ItemSortKey::Serial;
}

} // namespace

int CompareItems(const TLinkItem& a, const TLinkItem& b, const ItemListOrder& order)
{
    int result = 0;
    if (IsNumberKey(order.sortBy)) {
        const int64_t x = NumberKey(a, order);
        const int64_t y = NumberKey(b, order);
        result = x < y ? -1 : x > y ? 1 : 0;
    } else {
        result = CompareText(TextKey(a, order), TextKey(b, order));
    }
    return order.sortDir == 1 ? -result : result;
}

std::vector<std::size_t> SortItemRows(std::vector<TLinkItem>& rows, const ItemListOrder& order)
{
    // Keys once per row: collation keys for text, numbers otherwise.
    std::vector<std::size_t> index(rows.size());
    std::iota(index.begin(), index.end(), std::size_t{0});
    const bool descending = order.sortDir == 1;
    if (IsNumberKey(order.sortBy)) {
        std::vector<int64_t> keys(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            keys[i] = NumberKey(rows[i], order);
        }
        std::stable_sort(index.begin(), index.end(),
            [&](std::size_t x, std::size_t y) { return descending ? keys[y] < keys[x] : keys[x] < keys[y]; });
    } else {
        std::vector<std::string> keys(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            keys[i] = CollationKey(TextKey(rows[i], order));
        }
        std::stable_sort(index.begin(), index.end(),
            [&](std::size_t x, std::size_t y) { return descending ? keys[y] < keys[x] : keys[x] < keys[y]; });
    }
    std::vector<TLinkItem> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t i : index) {
        sorted.push_back(std::move(rows[i]));
    }
    rows = std::move(sorted);
    return index;
}

} // namespace tessaly
