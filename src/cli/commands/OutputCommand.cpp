#include "cli/commands/OutputCommand.h"

#include <unistd.h>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/output/OutputRun.h"
#include "core/text/Paths.h"

namespace tessaly::cli {

namespace {

// Most threads "--jobs" takes; more only cost memory.
constexpr int32_t kMaxJobs = 256;

// Progress on a terminal: one line, rewritten in place.
class TerminalProgress final : public OutputObserver {
public:
    explicit TerminalProgress(std::ostream& out)
        : out_(out)
        , enabled_(::isatty(STDOUT_FILENO) != 0)
    {
    }
    ~TerminalProgress() override
    {
        if (enabled_ && shown_) {
            out_ << "\r\033[K" << std::flush;
        }
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void DirectoryStarted(std::size_t, const std::string& directory) override { directory_ = Shown(directory); }
    void ProgressChanged(int position, int maximum) override
    {
        if (!enabled_ || maximum <= 0) {
            return;
        }
        shown_ = true;
        out_ << "\r\033[K[" << (100 * position / maximum) << "%] " << directory_ << std::flush;
    }

private:
    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
    std::string directory_;
};

} // namespace

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
                         "log and the counts are the same for any N.",
          .options = {
              {.name = "--root", .value = "DIR", .help = "the site's root directory instead of the project's"},
              {.name = "--jobs", .value = "N", .help = "the number of threads, 1 to 256"},
          },
      })
{
}

int OutputCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::optional<int32_t> jobs
        = CountOption(args, "--jobs", kMaxJobs, static_cast<int32_t>(DefaultJobs()), "output", streams.err);
    if (!jobs) {
        return 2;
    }
    Project project;
    if (const int failed
        = LoadProjectWithRoot(project, args.Positional(0), args.Value("--root"), "output", streams.err)) {
        return failed;
    }
    const SystemClock clock;
    OutputResult result;
    {
        TerminalProgress progress(streams.out);
        result = RunOutput(project, project.RootDir, clock, progress, static_cast<unsigned>(*jobs));
    }
    for (const SjisText& line : result.log) {
        streams.out << ShownLogLine(line) << '\n';
    }
    if (result.status == OutputResult::Status::Failed) {
        streams.err << "tessaly-cli output: the run stopped: " << Escaped(result.error.view()) << '\n';
        return 1;
    }
    streams.out << "Pages in " << Shown(WithTrailingSlash(project.RootDir)) << '\n';
    return 0;
}

} // namespace tessaly::cli
