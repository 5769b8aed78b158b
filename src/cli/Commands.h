#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// One subcommand of the tool. Run gets the arguments after the command name
// and returns the process exit code.
struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view usage;
    int (*run)(std::span<const std::string_view> args, Streams streams);
};

std::span<const Command> AllCommands();

// What the tool is for, under the usage line of --help and in the manual page.
inline constexpr std::string_view kToolDescription
    = "Works on Tessaly link collections (.TSP project files) without the desktop program.";

// The synopsis of a command's usage on one line ("PROJECT.TSP [--root DIR]").
std::string UsageSynopsis(const Command& command);

// The options a command's usage names ("--root" of "PROJECT.TSP [--root DIR]"),
// for the manual page and the shell completion.
std::vector<std::string_view> UsageOptions(const Command& command);

} // namespace tessaly::cli
