#pragma once

// A file-system error ends the output run with the system's reason.

#include <filesystem>
#include <string>

#include "core/text/EncodedText.h"

namespace tessaly {

struct RunFailure {
    Utf8Text error; // the system's reason
};

// The file-system name of a code page 932 path of the run; throws
// RunFailure for a path that cannot be one.
std::filesystem::path RequireFsPath(const std::string& path);

} // namespace tessaly
