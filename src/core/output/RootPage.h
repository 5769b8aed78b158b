#pragma once

// "Open the root": the first page of the site's root directory, as the
// output run writes it.

#include <string>

#include "core/design/DirectoryDesign.h"

namespace tessaly {

class Project;

// The root's first page, or the message that says why there is none (code
// page 932).
struct RootPage {
    std::string page; // code page 932 path when found
    std::string message; // when not found
};

RootPage FindRootPage(const Project& project, const DesignDefaults& defaults);

} // namespace tessaly
