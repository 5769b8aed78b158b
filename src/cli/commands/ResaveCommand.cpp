#include "cli/commands/ResaveCommand.h"

#include <filesystem>

#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"

namespace tessaly::cli {

ResaveCommand::ResaveCommand()
    : Command({
        .name = "resave",
        .summary = "read a project file and write it again",
        .positionals = {"IN.TSP", "OUT.TSP"},
        .expected = "an input and an output project file",
        .description = "Reads IN.TSP and writes it to OUT.TSP in the program's own form. Item lines\n"
                       "are written exactly as they were read, so a file the program wrote comes back\n"
                       "byte for byte. OUT.TSP is replaced only when the whole file was written.",
    })
{
}

int ResaveCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    LoadOutcome outcome;
    if (const int failed = LoadProject(project, std::filesystem::path(args.Positional(0)), outcome, streams.err)) {
        return failed;
    }
    if (!outcome.skippedLines.empty()) {
        streams.err << "tessaly-cli resave: " << outcome.skippedLines.size()
                    << " lines skipped and not written (see 'tessaly-cli info')\n";
    }
    if (outcome.result != LoadOutcome::Result::Loaded) {
        streams.err << "tessaly-cli resave: not saving a project that was read only in part\n";
        return 1;
    }
    const SaveOutcome saved = SaveProjectFile(project, std::filesystem::path(args.Positional(1)));
    if (!saved.ok) {
        streams.err << "tessaly-cli: cannot save " << Escaped(saved.error) << '\n';
        return 1;
    }
    return 0;
}

} // namespace tessaly::cli
