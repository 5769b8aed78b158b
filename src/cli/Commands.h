#pragma once

#include <ostream>
#include <span>
#include <string_view>

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

} // namespace tessaly::cli
