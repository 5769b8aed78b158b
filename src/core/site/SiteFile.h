#pragma once

// A file of the published site that the program writes besides the
// directory pages.

#include <string>

namespace tessaly {

struct SiteFile {
    std::string name; // relative to the site root, "/"-separated
    std::string bytes; // as written (UTF-8 for text)
};

} // namespace tessaly
