#pragma once

// The date-time value of the program: days since 1899-12-30, with the time
// of day as the fraction, and its fixed text forms "yyyy/mm/dd" and
// "yyyy/mm/dd hh:nn:ss".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

struct TDateTime {
    double Value = 0.0;

    friend bool operator==(TDateTime, TDateTime) = default;
    friend auto operator<=>(TDateTime, TDateTime) = default;
};

struct DateParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Nothing for an impossible date or time (year 1..9999).
std::optional<TDateTime> EncodeDateTime(const DateParts& parts);
DateParts DecodeDateTime(TDateTime value);

// The date part alone (time 00:00:00).
TDateTime DateOf(TDateTime value);

// The day number with the time cut off, as date conditions compare days.
int64_t WholeDays(TDateTime value);

// "yyyy/mm/dd".
std::string DateToText(TDateTime value);
// "yyyy-mm-dd", a day as XML files (feeds, sitemaps) write it.
std::string IsoDateText(TDateTime value);
// "hh:nn:ss".
std::string TimeToText(TDateTime value);
// "yyyy/mm/dd" when the time is 00:00:00, else "yyyy/mm/dd hh:nn:ss".
std::string DateTimeToText(TDateTime value);

// Reads year/month/day, optionally followed by a blank and hh:nn or
// hh:nn:ss; a one- or two-digit year means 1950..2049.
std::optional<TDateTime> ParseDateTime(std::string_view text);

// The local day (time 00:00:00) of a time in seconds since 1970; nothing
// when it lies outside the years 1..9999.
std::optional<TDateTime> LocalDateOfUnixTime(int64_t seconds);

// A local date and time in seconds since 1970.
int64_t UnixTimeOfLocalDateTime(TDateTime value);

// "Now" as the program sees it; tests fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime Now() const = 0;
    TDateTime Today() const { return DateOf(Now()); }
};

class SystemClock final : public Clock {
public:
    TDateTime Now() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(TDateTime now)
        : now_(now)
    {
    }
    TDateTime Now() const override { return now_; }
    void Set(TDateTime now) { now_ = now; }

private:
    TDateTime now_;
};

} // namespace tessaly
