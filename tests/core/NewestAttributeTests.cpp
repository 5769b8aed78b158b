#include <gtest/gtest.h>

#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"
#include "core/text/Codepage.h"

using namespace tessaly;

namespace {

// An item line of the given serial, genre field, date and attribute field.
std::string Line(int serial, std::string_view genre, std::string_view date, std::string_view attributes)
{
    return std::to_string(serial) + "/" + std::string(genre) + "/0/t/" + SJ("て") + "/a/" + SJ("あ")
        + "//u&sl;//200/40/" + std::string(attributes) + "//" + std::string(date) + "/";
}

const std::string kMay16 = "2003&sl;05&sl;16";
const std::string kMay17 = "2003&sl;05&sl;17";
const std::string kMay17Evening = "2003&sl;05&sl;17 23:59:00";
const std::string kMay18 = "2003&sl;05&sl;18";

TDateTime May(int day)
{
    return *EncodeDateTime({2003, 5, day});
}

// Unfiled: one item a day from the 16th to the 18th, one late on the 17th;
// genre A: items already marked, one with "最新" alone; the trash: marked
// and in every period.
Project SmallCollection()
{
    Project project;
    project.AddGenre("A");
    project.Attributes = {"x"};
    project.Genres[0].Lines = {Line(1, "", kMay16, ""), Line(2, "", kMay17, "x"), Line(3, "", kMay17Evening, ""),
        Line(4, "", kMay18, SJ("x&sl;最新"))};
    project.Genres[1].Lines = {Line(5, "A", kMay16, SJ("最新")), Line(6, "A", kMay17, SJ("最新&sl;x"))};
    project.Genres[2].Lines = {Line(7, "", kMay16, SJ("最新")), Line(8, "", kMay17, "")};
    return project;
}

struct PeriodCase {
    const char* name;
    NewestPeriod period;
    std::size_t changed;
    std::vector<std::string> unfiled;
    std::vector<std::string> genreA;
};

class NewestAttributeCases : public testing::TestWithParam<PeriodCase> { };

TEST_P(NewestAttributeCases, MarksExactlyTheItemsOfThePeriod)
{
    const PeriodCase& c = GetParam();
    Project project = SmallCollection();
    const std::vector<std::string> trash = project.Genres[2].Lines;
    EXPECT_EQ(AdjustNewestAttribute(project, c.period), c.changed);
    EXPECT_EQ(project.Genres[0].Lines, c.unfiled);
    EXPECT_EQ(project.Genres[1].Lines, c.genreA);
    EXPECT_EQ(project.Genres[2].Lines, trash);
    EXPECT_EQ(project.Attributes, (std::vector<std::string>{SJ("最新"), "x"}));
    EXPECT_TRUE(project.IsEditing);
}

INSTANTIATE_TEST_SUITE_P(NewestAttribute, NewestAttributeCases,
    testing::Values(PeriodCase{"Day", {NewestPeriodMode::Day, May(17), May(1)}, 4,
                        {Line(1, "", kMay16, ""), Line(2, "", kMay17, SJ("最新&sl;x")),
                            Line(3, "", kMay17Evening, SJ("最新")), Line(4, "", kMay18, "x")},
                        {Line(5, "A", kMay16, ""), Line(6, "A", kMay17, SJ("最新&sl;x"))}},
        PeriodCase{"BackwardsRange", {NewestPeriodMode::Range, May(18), May(17)}, 3,
            {Line(1, "", kMay16, ""), Line(2, "", kMay17, SJ("最新&sl;x")), Line(3, "", kMay17Evening, SJ("最新")),
                Line(4, "", kMay18, SJ("x&sl;最新"))},
            {Line(5, "A", kMay16, ""), Line(6, "A", kMay17, SJ("最新&sl;x"))}},
        PeriodCase{"From", {NewestPeriodMode::From, May(18), May(1)}, 2,
            {Line(1, "", kMay16, ""), Line(2, "", kMay17, "x"), Line(3, "", kMay17Evening, ""),
                Line(4, "", kMay18, SJ("x&sl;最新"))},
            {Line(5, "A", kMay16, ""), Line(6, "A", kMay17, "x")}},
        PeriodCase{"Until", {NewestPeriodMode::Until, May(30), May(16)}, 3,
            {Line(1, "", kMay16, SJ("最新")), Line(2, "", kMay17, "x"), Line(3, "", kMay17Evening, ""),
                Line(4, "", kMay18, "x")},
            {Line(5, "A", kMay16, SJ("最新")), Line(6, "A", kMay17, "x")}}),
    [](const testing::TestParamInfo<PeriodCase>& param) { return param.param.name; });

TEST(NewestAttribute, AddsTheNameFirstEvenWhenNoItemIsInThePeriod)
{
    Project project;
    project.Attributes = {"x", "y"};
    project.Genres[0].Lines = {Line(1, "", kMay16, "x")};
    EXPECT_EQ(AdjustNewestAttribute(project, {NewestPeriodMode::Day, May(1), May(1)}), 0u);
    EXPECT_EQ(project.Attributes, (std::vector<std::string>{SJ("最新"), "x", "y"}));
    EXPECT_EQ(project.Genres[0].Lines, std::vector<std::string>{Line(1, "", kMay16, "x")});
    EXPECT_TRUE(project.IsEditing);

    project.IsEditing = false;
    EXPECT_EQ(AdjustNewestAttribute(project, {NewestPeriodMode::Day, May(1), May(1)}), 0u);
    EXPECT_EQ(project.Attributes.size(), 3u);
    EXPECT_FALSE(project.IsEditing);
}

TEST(NewestAttribute, TellsProgressOncePerGenreButTheTrash)
{
    Project project = SmallCollection();
    std::vector<std::pair<std::size_t, std::size_t>> steps;
    AdjustNewestAttribute(project, {NewestPeriodMode::Day, May(17), May(17)},
        [&steps](std::size_t genre, std::size_t genres) { steps.emplace_back(genre, genres); });
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {1, 2}}));
}

} // namespace
