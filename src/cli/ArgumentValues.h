#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/commands/Command.h"
#include "core/text/DateTime.h"

namespace tessaly::cli {

// A text of the command line (UTF-8) in code page 932; prints why (naming
// the argument by what) and returns nothing when it holds a character that
// code page 932 lacks.
std::optional<std::string> ArgumentText(
    std::string_view utf8, std::string_view what, std::string_view command, std::ostream& err);

// The option's text in code page 932, or fallback when it is not given.
std::optional<std::string> TextOption(const Arguments& args, std::string_view option, const std::string& fallback,
    std::string_view command, std::ostream& err);

// The option's whole number from 1 to most, or fallback when it is not
// given; nothing (after saying why) when it is no such number.
std::optional<int32_t> CountOption(const Arguments& args, std::string_view option, int32_t most, int32_t fallback,
    std::string_view command, std::ostream& err);

// A number written in digits only.
std::optional<int32_t> WholeNumber(std::string_view text);

// "YYYY/MM/DD" or "YYYY-MM-DD" of a date that exists.
std::optional<TDateTime> CommandLineDate(std::string_view text);

// "Today" of an import: the date in TESSALY_TODAY when it is set, else the
// clock's; nothing (after saying why) when TESSALY_TODAY is no date.
std::optional<TDateTime> ImportToday(std::string_view command, std::ostream& err);

} // namespace tessaly::cli
