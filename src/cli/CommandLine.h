#pragma once

#include <span>
#include <string_view>

#include "cli/commands/Command.h"

namespace tessaly::cli {

// What the tool is for, under the usage line of --help and in the manual page.
inline constexpr std::string_view kToolDescription
    = "Works on Tessaly link collections (.TSP project files) without the desktop program.";

// Runs the tool on its arguments (the command and what follows it); the
// process exit code.
int RunCommand(std::span<const std::string_view> args, Streams streams);

} // namespace tessaly::cli
