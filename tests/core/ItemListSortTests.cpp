#include <gtest/gtest.h>

#include "core/collection/ItemListSort.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TLinkItem Row(int serial, const char* title, const char* kana, int day, int hour = 0)
{
    TLinkItem item;
    item.Serial = serial;
    item.Title = SJ(title);
    item.TitleKana = SJ(kana);
    item.Author = "a" + std::to_string(10 - serial);
    item.AuthorKana = SJ("あ");
    item.Mail = serial % 2 == 0 ? "B@x" : "a@x";
    item.Date = *EncodeDateTime({2003, 5, day, hour, 0, 0});
    return item;
}

std::vector<int> Serials(std::vector<TLinkItem> rows, ItemListOrder order)
{
    const std::vector<TLinkItem> before = rows;
    const std::vector<std::size_t> from = SortItemRows(rows, order);
    std::vector<int> serials;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(rows[row], before[from[row]]); // the list says where each row came from
        serials.push_back(rows[row].Serial);
    }
    return serials;
}

TEST(ItemListSort, KeysDirectionsAndKana)
{
    const std::vector<TLinkItem> rows = {
        Row(1, "Zebra", "あ", 3), Row(2, "apple", "う", 1, 20), Row(3, "Mango", "い", 1, 8), Row(4, "banana", "あ", 2)};
    EXPECT_EQ(Serials(rows, {ItemSortKey::Title, 0, true}), (std::vector<int>{1, 4, 3, 2}));
    EXPECT_EQ(Serials(rows, {ItemSortKey::Title, 0, false}), (std::vector<int>{2, 4, 3, 1}));
    EXPECT_EQ(Serials(rows, {ItemSortKey::Title, 1, false}), (std::vector<int>{1, 3, 4, 2}));
    EXPECT_EQ(Serials(rows, {ItemSortKey::Date, 0, true}), (std::vector<int>{2, 3, 4, 1})); // same day: kept
    EXPECT_EQ(Serials(rows, {ItemSortKey::Serial, 1, true}), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(Serials(rows, {ItemSortKey::Mail, 0, true}), (std::vector<int>{1, 3, 2, 4}));
    EXPECT_EQ(Serials(rows, {ItemSortKey::Author, 0, true}), (std::vector<int>{1, 2, 3, 4})); // equal readings
    EXPECT_EQ(Serials(rows, {ItemSortKey::Author, 0, false}), (std::vector<int>{4, 3, 2, 1}));
}

TEST(ItemListSort, ComparisonMatchesTheSort)
{
    const TLinkItem a = Row(1, "x", "あ", 1, 1);
    const TLinkItem b = Row(2, "y", "あ", 1, 23);
    EXPECT_EQ(CompareItems(a, b, {ItemSortKey::Title, 0, true}), 0);
    EXPECT_LT(CompareItems(a, b, {ItemSortKey::Title, 0, false}), 0);
    EXPECT_GT(CompareItems(a, b, {ItemSortKey::Title, 1, false}), 0);
    EXPECT_EQ(CompareItems(a, b, {ItemSortKey::Date, 0, true}), 0);
    EXPECT_LT(CompareItems(a, b, {ItemSortKey::Serial, 0, true}), 0);
}

} // namespace
