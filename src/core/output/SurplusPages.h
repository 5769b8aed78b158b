#pragma once

// The output run's last step in a directory: deleting the pages of earlier
// runs that the plan at hand no longer writes.

#include <string>
#include <vector>

#include "core/output/PagePlan.h"
#include "core/output/ProtectedFiles.h"

namespace tessaly {

struct SurplusDeletion {
    int deleted = 0;
    std::vector<std::string> problems; // code page 932, for the log, in the order met
};

// Deletes the regular files of directory (code page 932, ending in "/")
// that rule calls surplus, but for the program's own. Entries that cannot
// be examined are passed over. Throws RunFailure for a directory that
// cannot be a file name.
SurplusDeletion DeleteSurplusPages(
    const std::string& directory, const SurplusRule& rule, const ProtectedFiles& protectedFiles);

} // namespace tessaly
