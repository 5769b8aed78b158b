#include "cli/commands/TidyCommand.h"

#include "cli/ProjectFiles.h"
#include "core/collection/Project.h"
#include "core/tools/TagTidy.h"

namespace tessaly::cli {

TidyCommand::TidyCommand()
    : Command({
        .name = "tidy",
        .summary = "put attribute and content lists in vocabulary order",
        .positionals = {"PROJECT.TSP", "OUT.TSP"},
        .expected = "a project file and an output project file",
        .description = "Reorders every item's attributes and contents into the order of the project's\n"
                       "vocabularies, dropping names the vocabularies do not hold, and writes the\n"
                       "project to OUT.TSP (which may be PROJECT.TSP). Prints the number of lists\n"
                       "changed.",
    })
{
}

int TidyCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    if (!LoadWholeProject(project, args.Positional(0), LoadPurpose::Rewriting, "tidy", streams.err)) {
        return 2;
    }
    const std::size_t count = TidyTagLists(project);
    if (!SaveProject(project, args.Positional(1), "tidy", streams.err)) {
        return 2;
    }
    streams.out << count << '\n';
    return 0;
}

} // namespace tessaly::cli
