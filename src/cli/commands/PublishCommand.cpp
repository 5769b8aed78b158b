#include "cli/commands/PublishCommand.h"

#include <array>
#include <csignal>

#include "cli/SiteOutput.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/site/PublishCommand.h"
#include "core/text/Paths.h"

namespace tessaly::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterrupt(int)
{
    interrupted = 1;
}

// While the publish command runs, Ctrl+C, a hang-up or a termination of
// the tool end the command and all it started, not the tool alone.
class InterruptsEndTheCommand {
public:
    InterruptsEndTheCommand()
    {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = NoteInterrupt;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            ::sigaction(kSignals[i], &action, &previous_[i]);
        }
    }
    ~InterruptsEndTheCommand()
    {
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            ::sigaction(kSignals[i], &previous_[i], nullptr);
        }
    }
    InterruptsEndTheCommand(const InterruptsEndTheCommand&) = delete;
    InterruptsEndTheCommand& operator=(const InterruptsEndTheCommand&) = delete;

    static bool Interrupted() { return interrupted != 0; }

private:
    static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
    std::array<struct sigaction, 3> previous_{};
};

} // namespace

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
    const InterruptsEndTheCommand interrupts;
    PublishWatch watch;
    watch.line = [&streams](std::string_view line) { streams.out << Escaped(line) << '\n' << std::flush; };
    watch.shouldStop = [] { return InterruptsEndTheCommand::Interrupted(); };
    const PublishOutcome outcome
        = RunPublishCommand(ToUtf8(SjisText(project.Publishing.publishCommand)), *root, watch);
    streams.out << ShownLogLine(PublishOutcomeLine(outcome)) << '\n';
    switch (outcome.status) {
    case PublishOutcome::Status::Succeeded: return 0;
    case PublishOutcome::Status::Stopped: return 130;
    default: return 1;
    }
}

} // namespace tessaly::cli
