#include "cli/commands/OutputCommand.h"

#include "cli/SiteOutput.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/design/DirectoryDesign.h"

namespace tessaly::cli {

OutputCommand::OutputCommand()
    : Command({
          .name = "output",
          .summary = "write the site's pages",
          .positionals = {"PROJECT.TSP"},
          .expected = "one project file",
          .description = "Writes the pages of every directory under the project's root directory (or\n"
                         "DIR) that has a design. A page whose text has not changed is left alone;\n"
                         "surplus pages of earlier runs are deleted. Prints the run log and the counts.\n"
                         "Pages are put together on N threads (default: one per core); the pages, the\n"
                         "log and the counts are the same for any N.\n"
                         "\n"
                         "The project's options decide the pages' encoding and what else is written:\n"
                         "search.html with its index, feed.xml and sitemap.xml at the root. The\n"
                         "options below override them for this run; the project file is not changed.\n"
                         "After the run, the log lists the links and images of the pages whose\n"
                         "targets do not exist.",
          .options = SiteOutputOptions(),
      })
{
}

int OutputCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    if (const int failed = RunSiteOutput(args, streams, "output", project)) {
        return failed;
    }
    streams.out << "Pages in " << Shown(WithTrailingSlash(project.RootDir)) << '\n';
    return 0;
}

} // namespace tessaly::cli
