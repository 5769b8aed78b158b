#pragma once

// The output run on a terminal, as "output" and "publish" share it: the
// project with the site options of the command line, the run with its
// progress, and the log.

#include <string_view>
#include <vector>

#include "cli/commands/Command.h"

namespace tessaly {
class Project;
}

namespace tessaly::cli {

// --root, --jobs and the options of what the run publishes besides the
// pages, each overriding the project's setting for this run.
std::vector<Option> SiteOutputOptions();

// Loads the project (PROJECT.TSP, the first positional), applies the
// options and writes the site, printing the log; 0 when the run finished,
// else the command's exit status after saying why.
int RunSiteOutput(const Arguments& args, Streams streams, std::string_view command, Project& project);

} // namespace tessaly::cli
