#pragma once

// The collection behind the expected pages in tests/data/site: two genres
// of 45 and 3 items (the second named with HTML characters) and one user
// item template.

#include <string>

#include "core/collection/Project.h"

namespace tessaly::test {

// root: the site's root directory (code page 932, ending in "/"); the
// banner directory is its "img" and the parent site lies beside it.
Project SampleSiteProject(const std::string& root);

} // namespace tessaly::test
