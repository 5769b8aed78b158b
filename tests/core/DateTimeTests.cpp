#include <gtest/gtest.h>

#include "core/text/DateTime.h"

using namespace tessaly;

namespace {

TEST(DateTime, EpochAndKnownDays)
{
    EXPECT_EQ(EncodeDateTime({1899, 12, 30})->Value, 0.0);
    EXPECT_EQ(EncodeDateTime({1900, 1, 1})->Value, 2.0);
    EXPECT_EQ(EncodeDateTime({2003, 5, 17})->Value, 37758.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime({2003, 5, 17, 12, 0, 0})->Value, 37758.5);
    EXPECT_EQ(DateToText(TDateTime{37758.75}), "2003/05/17");
    EXPECT_EQ(IsoDateText(TDateTime{37758.75}), "2003-05-17");
    EXPECT_EQ(DateTimeToText(TDateTime{37758.75}), "2003/05/17 18:00:00");
    EXPECT_EQ(DateTimeToText(TDateTime{37758.0}), "2003/05/17");
    EXPECT_EQ(DateTimeToText(TDateTime{-1.25}), "1899/12/29 06:00:00");
}

struct ParseCase {
    const char* text;
    const char* expected; // nullptr: refused
};

class DateTimeParse : public ::testing::TestWithParam<ParseCase> { };

TEST_P(DateTimeParse, ReadsTheProgramsForms)
{
    const std::optional<TDateTime> parsed = ParseDateTime(GetParam().text);
    if (GetParam().expected == nullptr) {
        EXPECT_FALSE(parsed.has_value()) << GetParam().text;
    } else {
        ASSERT_TRUE(parsed.has_value()) << GetParam().text;
        EXPECT_EQ(DateTimeToText(*parsed), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, DateTimeParse,
    ::testing::Values(ParseCase{"2003/05/17", "2003/05/17"}, ParseCase{"2003/5/7", "2003/05/07"},
        ParseCase{" 2003/05/17 ", "2003/05/17"}, ParseCase{"2003/05/17 10:20:30", "2003/05/17 10:20:30"},
        ParseCase{"2003/05/17 10:20", "2003/05/17 10:20:00"}, ParseCase{"03/05/17", "2003/05/17"},
        ParseCase{"99/05/17", "1999/05/17"}, ParseCase{"2004/02/29", "2004/02/29"}, ParseCase{"2003/02/29", nullptr},
        ParseCase{"2003/13/01", nullptr}, ParseCase{"2003/00/01", nullptr}, ParseCase{"0000/01/01", nullptr},
        ParseCase{"2003-05-17", nullptr}, ParseCase{"2003/05", nullptr}, ParseCase{"2003/05/17 24:00:00", nullptr},
        ParseCase{"2003/05/17x", nullptr}, ParseCase{"", nullptr}, ParseCase{"12:00:00", nullptr},
        ParseCase{"9999/12/31", "9999/12/31"}));

TEST(DateTime, FixedClockGivesToday)
{
    const FixedClock clock(*EncodeDateTime({2026, 12, 8, 18, 43, 0}));
    EXPECT_EQ(DateTimeToText(clock.Today()), "2026/12/08");
    EXPECT_EQ(DateTimeToText(clock.Now()), "2026/12/08 18:43:00");
}

} // namespace
