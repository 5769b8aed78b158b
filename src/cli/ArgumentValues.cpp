#include "cli/ArgumentValues.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "cli/TerminalText.h"
#include "core/text/Codepage.h"
#include "core/text/Strings.h"

namespace tessaly::cli {

std::optional<std::string> ArgumentText(
    std::string_view utf8, std::string_view what, std::string_view command, std::ostream& err)
{
    ConversionResult converted = Utf8ToSjis(utf8);
    if (!converted.ok) {
        err << "tessaly-cli " << command << ": " << what << ": '" << Escaped(converted.badCharacter)
            << "' cannot be written in Shift_JIS\n";
        return std::nullopt;
    }
    return std::move(converted.text);
}

std::optional<std::string> TextOption(const Arguments& args, std::string_view option, const std::string& fallback,
    std::string_view command, std::ostream& err)
{
    return args.Has(option) ? ArgumentText(args.Value(option), option, command, err) : fallback;
}

std::optional<int32_t> CountOption(const Arguments& args, std::string_view option, int32_t most, int32_t fallback,
    std::string_view command, std::ostream& err)
{
    if (!args.Has(option)) {
        return fallback;
    }
    const std::optional<int32_t> number = WholeNumber(args.Value(option));
    if (!number || *number < 1 || *number > most) {
        err << "tessaly-cli " << command << ": " << option << " takes a number from 1 to " << most << '\n';
        return std::nullopt;
    }
    return number;
}

std::optional<int32_t> WholeNumber(std::string_view text)
{
    if (text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return ParseInt32(text);
}

std::optional<TDateTime> CommandLineDate(std::string_view text)
{
    const char separator = text.find('-') != std::string_view::npos ? '-' : '/';
    const std::vector<std::string_view> parts = SplitList(text, separator);
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].empty() || parts[1].size() > 2 || parts[2].empty()
        || parts[2].size() > 2) {
        return std::nullopt;
    }
    int numbers[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        for (const char c : parts[i]) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            numbers[i] = numbers[i] * 10 + (c - '0');
        }
    }
    return EncodeDateTime({numbers[0], numbers[1], numbers[2]});
}

std::optional<TDateTime> ImportToday(std::string_view command, std::ostream& err)
{
    const char* fixed = std::getenv("TESSALY_TODAY");
    if (fixed == nullptr) {
        return SystemClock().Today();
    }
    const std::optional<TDateTime> today = CommandLineDate(fixed);
    if (!today) {
        err << "tessaly-cli " << command << ": TESSALY_TODAY: '" << Escaped(fixed) << "' is not a date (YYYY/MM/DD)\n";
    }
    return today;
}

} // namespace tessaly::cli
