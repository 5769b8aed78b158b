#include "core/text/DateTime.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "core/text/Strings.h"

namespace tessaly {

namespace {

constexpr int64_t kMillisecondsPerDay = 86'400'000;
// Days from 1899-12-30 to 1970-01-01.
constexpr int64_t kUnixEpochDay = 25'569;

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day)
{
    days += 719'468;
    const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const int64_t dayOfEra = days - era * 146'097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int year, int month)
{
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads an unsigned decimal number at pos; advances pos past it.
std::optional<int> ReadNumber(std::string_view text, std::size_t& pos, std::size_t* digits = nullptr)
{
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 9) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start) {
        return std::nullopt;
    }
    if (digits != nullptr) {
        *digits = pos - start;
    }
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

std::optional<TDateTime> EncodeDateTime(const DateParts& parts)
{
    if (parts.Year < 1 || parts.Year > 9999 || parts.Month < 1 || parts.Month > 12 || parts.Day < 1
        || parts.Day > DaysInMonth(parts.Year, parts.Month) || parts.Hour < 0 || parts.Hour > 23 || parts.Minute < 0
        || parts.Minute > 59 || parts.Second < 0 || parts.Second > 59 || parts.Millisecond < 0
        || parts.Millisecond > 999) {
        return std::nullopt;
    }
    const int64_t day = DaysFromCivil(parts.Year, parts.Month, parts.Day) + kUnixEpochDay;
    const double time
        = static_cast<double>(((parts.Hour * 60 + parts.Minute) * 60 + parts.Second) * 1000 + parts.Millisecond)
        / static_cast<double>(kMillisecondsPerDay);
    // Before the epoch the time still counts forward from midnight.
    return TDateTime{day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time};
}

DateParts DecodeDateTime(TDateTime value)
{
    DateParts parts;
    if (!std::isfinite(value.Value) || std::fabs(value.Value) > 3.0e6) {
        return parts;
    }
    const bool negative = value.Value < 0;
    const auto total = static_cast<int64_t>(std::llround(std::fabs(value.Value) * kMillisecondsPerDay));
    const int64_t days = (negative ? -1 : 1) * (total / kMillisecondsPerDay);
    int64_t milliseconds = total % kMillisecondsPerDay;
    CivilFromDays(days - kUnixEpochDay, parts.Year, parts.Month, parts.Day);
    parts.Millisecond = static_cast<int>(milliseconds % 1000);
    milliseconds /= 1000;
    parts.Second = static_cast<int>(milliseconds % 60);
    milliseconds /= 60;
    parts.Minute = static_cast<int>(milliseconds % 60);
    parts.Hour = static_cast<int>(milliseconds / 60);
    return parts;
}

TDateTime DateOf(TDateTime value)
{
    DateParts parts = DecodeDateTime(value);
    parts.Hour = parts.Minute = parts.Second = parts.Millisecond = 0;
    return EncodeDateTime(parts).value_or(TDateTime{});
}

int64_t WholeDays(TDateTime value)
{
    return static_cast<int64_t>(std::trunc(value.Value));
}

namespace {

std::string DateText(TDateTime value, char separator)
{
    const DateParts parts = DecodeDateTime(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%c%02d%c%02d", parts.Year, separator, parts.Month, separator, parts.Day);
    return buffer;
}

} // namespace

std::string DateToText(TDateTime value)
{
    return DateText(value, '/');
}

std::string IsoDateText(TDateTime value)
{
    return DateText(value, '-');
}

std::string TimeToText(TDateTime value)
{
    const DateParts parts = DecodeDateTime(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", parts.Hour, parts.Minute, parts.Second);
    return buffer;
}

std::string DateTimeToText(TDateTime value)
{
    const DateParts parts = DecodeDateTime(value);
    if (parts.Hour == 0 && parts.Minute == 0 && parts.Second == 0) {
        return DateToText(value);
    }
    return DateToText(value) + " " + TimeToText(value);
}

std::optional<TDateTime> ParseDateTime(std::string_view text)
{
    text = Trim(text);
    std::size_t pos = 0;
    std::size_t yearDigits = 0;
    DateParts parts;
    const std::optional<int> year = ReadNumber(text, pos, &yearDigits);
    if (!year || !Expect(text, pos, '/')) {
        return std::nullopt;
    }
    const std::optional<int> month = ReadNumber(text, pos);
    if (!month || !Expect(text, pos, '/')) {
        return std::nullopt;
    }
    const std::optional<int> day = ReadNumber(text, pos);
    if (!day) {
        return std::nullopt;
    }
    parts.Year = yearDigits <= 2 ? (*year < 50 ? 2000 + *year : 1900 + *year) : *year;
    parts.Month = *month;
    parts.Day = *day;
    parts.Hour = parts.Minute = parts.Second = 0;
    if (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ') {
            ++pos;
        }
        const std::optional<int> hour = ReadNumber(text, pos);
        if (!hour || !Expect(text, pos, ':')) {
            return std::nullopt;
        }
        const std::optional<int> minute = ReadNumber(text, pos);
        if (!minute) {
            return std::nullopt;
        }
        parts.Hour = *hour;
        parts.Minute = *minute;
        if (Expect(text, pos, ':')) {
            const std::optional<int> second = ReadNumber(text, pos);
            if (!second) {
                return std::nullopt;
            }
            parts.Second = *second;
        }
        if (pos != text.size()) {
            return std::nullopt;
        }
    }
    return EncodeDateTime(parts);
}

namespace {

DateParts LocalParts(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    DateParts parts;
    parts.Year = local.tm_year + 1900;
    parts.Month = local.tm_mon + 1;
    parts.Day = local.tm_mday;
    parts.Hour = local.tm_hour;
    parts.Minute = local.tm_min;
    parts.Second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return parts;
}

} // namespace

std::optional<TDateTime> LocalDateOfUnixTime(int64_t seconds)
{
    // Beyond these the years leave 1..9999 in every time zone.
    constexpr int64_t kFirst = -62135596800 + 86400;
    constexpr int64_t kLast = 253402300799 - 86400;
    if (seconds < kFirst || seconds > kLast) {
        return std::nullopt;
    }
    DateParts parts = LocalParts(static_cast<std::time_t>(seconds));
    parts.Hour = parts.Minute = parts.Second = 0;
    return EncodeDateTime(parts);
}

int64_t UnixTimeOfLocalDateTime(TDateTime value)
{
    const DateParts parts = DecodeDateTime(value);
    std::tm local{};
    local.tm_year = parts.Year - 1900;
    local.tm_mon = parts.Month - 1;
    local.tm_mday = parts.Day;
    local.tm_hour = parts.Hour;
    local.tm_min = parts.Minute;
    local.tm_sec = parts.Second;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

TDateTime SystemClock::Now() const
{
    return EncodeDateTime(LocalParts(std::time(nullptr))).value_or(TDateTime{});
}

} // namespace tessaly
