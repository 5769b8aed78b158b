#include "cli/commands/PublishCommand.h"

#include "cli/SiteOutput.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/site/PublishCommand.h"
#include "core/text/Paths.h"

namespace tessaly::cli {

PublishCommand::PublishCommand()
    : Command({
          .name = "publish",
          .summary = "write the site's pages, then run the project's publish command",
          .positionals = {"PROJECT.TSP"},
          .expected = "one project file",
          .description = "Writes the site as \"output\" does, then runs the project's publish command\n"
                         "(for example rsync or git push) through /bin/sh in the root directory, with\n"
                         "the root in the environment variable TESSALY_ROOT. Its output is printed as\n"
                         "it comes. The exit status is 1 when the run or the command fails.",
          .options = SiteOutputOptions(),
      })
{
}

int PublishCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    if (const int failed = RunSiteOutput(args, streams, "publish", project)) {
        return failed;
    }
    if (project.Publishing.publishCommand.empty()) {
        streams.err << "tessaly-cli publish: the project has no publish command; set one in the project options\n";
        return 1;
    }
    const std::optional<std::filesystem::path> root = ToFsPath(project.RootDir);
    if (!root) {
        streams.err << "tessaly-cli publish: the root directory cannot be a file name here\n";
        return 1;
    }
    PublishWatch watch;
    watch.line = [&streams](std::string_view line) { streams.out << Escaped(line) << '\n' << std::flush; };
    const PublishOutcome outcome
        = RunPublishCommand(ToUtf8(SjisText(project.Publishing.publishCommand)), *root, watch);
    streams.out << ShownLogLine(PublishOutcomeLine(outcome)) << '\n';
    return outcome.status == PublishOutcome::Status::Succeeded ? 0 : 1;
}

} // namespace tessaly::cli
