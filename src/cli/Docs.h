#pragma once

#include <ostream>
#include <string_view>

namespace tessaly::cli {

// The manual page of tessaly-cli (roff), from the declarations of its
// commands.
void WriteManPage(std::ostream& out, std::string_view version);

// The bash completion of tessaly-cli: its commands and their options.
void WriteBashCompletion(std::ostream& out);

} // namespace tessaly::cli
