#include "cli/commands/SimpleDesignCommand.h"

#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/design/SimpleDesign.h"
#include "core/text/Paths.h"

namespace tessaly::cli {

SimpleDesignCommand::SimpleDesignCommand()
    : Command({
          .name = "simple-design",
          .summary = "design a top menu and one directory per genre",
          .positionals = {"PROJECT.TSP"},
          .expected = "one project file",
          .description = "Writes _design.tsg and the directory designs of the simple design into the\n"
                         "project's root directory (or DIR): a top menu linking to one directory per\n"
                         "genre. Settings of an existing _design.tsg are kept.",
          .options = {
              {.name = "--root", .value = "DIR", .help = "the site's root directory instead of the project's"},
          },
      })
{
}

int SimpleDesignCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    if (const int failed
        = LoadProjectWithRoot(project, args.Positional(0), args.Value("--root"), "simple-design", streams.err)) {
        return failed;
    }
    const SimpleDesignForm form = InitialSimpleDesign(project);
    for (const std::string& refused : form.refusedRows) {
        streams.err << "tessaly-cli simple-design: _design.tsg: " << Shown(refused) << '\n';
    }
    const SimpleDesignResult result = SaveSimpleDesign(form, project, SystemClock().Today());
    if (!result.ok) {
        streams.err << "tessaly-cli simple-design: "
                    << (result.refusedName.empty() ? Escaped(result.error) : Shown(result.refusedName)) << '\n';
        return 1;
    }
    const std::string root = WithTrailingSlash(project.RootDir);
    streams.out << "Wrote the simple design to " << Shown(root) << ":\n  top menu  " << Shown(root) << '\n';
    for (const SimpleDesignRow& row : form.rows) {
        streams.out << "  " << Shown(row.genre) << "  " << Shown(root + row.directory + "/") << '\n';
    }
    return 0;
}

} // namespace tessaly::cli
