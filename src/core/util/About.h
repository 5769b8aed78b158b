#pragma once

// What the program says about itself: its version and its licence.

#include <string_view>

namespace tessaly {

// The version of this build ("0.1.0").
std::string_view ProgramVersion();

// The licence's short notice, as the command line prints it.
inline constexpr std::string_view kLicenceNotice
    = "Copyright (C) 2026 Brindlewood\n"
      "License GPLv3+: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl.html>.\n"
      "This is free software: you are free to change and redistribute it.\n"
      "There is NO WARRANTY, to the extent permitted by law.\n";

} // namespace tessaly
