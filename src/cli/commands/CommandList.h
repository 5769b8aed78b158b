#pragma once

#include <span>
#include <string_view>

#include "cli/commands/Command.h"

namespace tessaly::cli {

// Every command of the tool, in the order the list of commands shows them.
std::span<const Command* const> AllCommands();

// The command of that name; nullptr when there is none.
const Command* FindCommand(std::string_view name);

} // namespace tessaly::cli
