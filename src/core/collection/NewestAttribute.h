#pragma once

// The tool that keeps the attribute "最新" on exactly the items registered
// in a period.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/text/DateTime.h"

namespace tessaly {

class Project;

enum class NewestPeriodMode : uint8_t { Day = 0, Range = 1, From = 2, Until = 3 };

struct NewestPeriod {
    NewestPeriodMode mode = NewestPeriodMode::Day;
    TDateTime begin; // Day, Range, From
    TDateTime end; // Range, Until
};

// "最新" in code page 932.
const std::string& NewestAttributeName();

// Adds "最新" first to the attribute vocabulary when it lacks it, then to
// every item dated in the period and takes it from every other item, all
// genres but the trash (the shown rows must be written back first). Whole
// days count; a range given backwards is turned round. Returns how many
// items changed; IsEditing is set when any did, or when the vocabulary grew.
// progress is told the index of each genre before it is walked.
std::size_t AdjustNewestAttribute(Project& project, const NewestPeriod& period,
    const std::function<void(std::size_t genre, std::size_t genres)>& progress = {});

} // namespace tessaly
