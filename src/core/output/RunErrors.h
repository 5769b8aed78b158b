#pragma once

// What the system says when a file of the output run fails: an error that
// ends the run, or a problem that goes into its log.

#include <filesystem>
#include <string>

namespace tessaly {

struct RunFailure {
    std::string error; // UTF-8, the system's reason
};

// The file-system name of a code page 932 path of the run; throws
// RunFailure for a path that cannot be one.
std::filesystem::path RequireFsPath(const std::string& path);

// A system message (UTF-8) for the run's log (code page 932); empty where
// code page 932 cannot hold it.
std::string Utf8ForLog(const std::string& utf8);

} // namespace tessaly
