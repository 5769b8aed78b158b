#pragma once

// Writing one page of the output run into its file.

#include <string>

#include "core/collection/Project.h"
#include "core/output/PagePlan.h"
#include "core/output/PageProbe.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

// A page as the workers prepare it: its text as written, what its file
// holds now, and for a new page, maybe the text written ahead into a file
// without a name yet.
struct PreparedPage {
    std::string text;
    PageOnDisk onDisk;
    UnnamedFile written;
};

// directory: code page 932, ending in "/"; assembled: code page 932, put
// into the site's encoding. ahead: a new page is written into a file
// without a name, which WritePage then only names.
PreparedPage PreparePage(const std::string& directory, const std::string& fileName, std::string assembled,
    PageEncoding encoding, bool ahead);

struct PageWrite {
    PageState state = PageState::Pending;
    std::string problem; // code page 932: why the page was left alone, for the log
};

// A page is written only as a regular file of its own: a symbolic link,
// FIFO or directory in its place, or a read-only file, is left alone.
// Throws RunFailure when the system fails.
PageWrite WritePage(const std::string& directory, const std::string& fileName, PreparedPage& page);

} // namespace tessaly
