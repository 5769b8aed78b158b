#include <gtest/gtest.h>

#include "core/collection/ItemMarks.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

TLinkItem Dated(int serial, TDateTime date, int32_t status = 0)
{
    TLinkItem item;
    item.Serial = serial;
    item.Status = status;
    item.Title = "t";
    item.TitleKana = SJ("て");
    item.AuthorKana = SJ("あ");
    item.Url = "u/";
    item.Date = date;
    return item;
}

TDateTime Day(int year, int month, int day, int hour = 0)
{
    return *EncodeDateTime({year, month, day, hour});
}

TEST(ItemMarks, StatusOnThreeChosenRowsReplacesTheirMarks)
{
    std::vector<TLinkItem> rows
        = {Dated(1, Day(2003, 1, 1), 1), Dated(2, Day(2003, 1, 1), 2), Dated(3, Day(2003, 1, 1)), Dated(4, {})};
    EXPECT_TRUE(SetItemStatus(rows, {0, 1, 3}, static_cast<int32_t>(ItemStatus::High)));
    const std::vector<int32_t> expected = {6, 6, 0, 6};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Status, expected[i]) << i;
    }
    EXPECT_FALSE(SetItemStatus(rows, {}, 1));
    EXPECT_FALSE(SetItemStatus(rows, {9}, 1));
    EXPECT_FALSE(SetItemStatus(rows, {0}, 7));
    EXPECT_FALSE(SetItemStatus(rows, {0}, -1));
    EXPECT_EQ(rows[0].Status, 6);
}

TEST(ItemMarks, BulkDateOnTheChosenRowsOnly)
{
    std::vector<TLinkItem> rows = {Dated(1, Day(2001, 1, 1)), Dated(2, Day(2001, 1, 1))};
    EXPECT_TRUE(SetItemDate(rows, {1}, Day(2004, 2, 29)));
    EXPECT_EQ(rows[0].Date, Day(2001, 1, 1));
    EXPECT_EQ(rows[1].Date, Day(2004, 2, 29));
    EXPECT_FALSE(SetItemDate(rows, {}, Day(2004, 2, 29)));
}

TEST(ItemMarks, RegisteredDatesOnceEachSortedWithoutTheTrash)
{
    Project project;
    project.AddGenre("A");
    project.Genres[0].Lines = {ItemToLine(Dated(1, Day(2003, 5, 17))), ItemToLine(Dated(2, Day(1999, 12, 31, 13)))};
    project.Genres[1].Lines = {ItemToLine(Dated(3, Day(2003, 5, 17, 9))), ItemToLine(Dated(4, Day(2000, 1, 1)))};
    project.Genres.back().Lines = {ItemToLine(Dated(5, Day(2010, 1, 1)))};
    const std::vector<TLinkItem> shown = {Dated(6, Day(2003, 5, 18)), Dated(7, Day(1999, 12, 31))};
    EXPECT_EQ(RegisteredDates(project, shown),
        (std::vector<std::string>{"1999/12/31", "2000/01/01", "2003/05/17", "2003/05/18"}));
    EXPECT_TRUE(RegisteredDates(Project(), {}).empty());
}

} // namespace
