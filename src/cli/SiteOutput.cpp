#include "cli/SiteOutput.h"

#include <unistd.h>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/output/OutputRun.h"
#include "core/site/SiteAddress.h"
#include "core/text/Paths.h"

namespace tessaly::cli {

namespace {

// Most threads "--jobs" takes; more only cost memory.
constexpr int32_t kMaxJobs = 256;
// Most items "--feed" takes.
constexpr int32_t kMaxFeedItems = 10000;

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

// False (after saying why) when an option's value is not taken.
bool ApplySiteOptions(const Arguments& args, SitePublishing& publishing, std::string_view command, std::ostream& err)
{
    if (args.Has("--page-encoding")) {
        publishing.pageEncoding = args.Choice("--page-encoding") == 1 ? PageEncoding::Utf8 : PageEncoding::ShiftJis;
    }
    if (args.Has("--site-search")) {
        publishing.siteSearch = true;
    }
    if (args.Has("--sitemap")) {
        publishing.sitemap = true;
    }
    const std::optional<int32_t> feed = CountOption(args, "--feed-items", kMaxFeedItems,
        publishing.feedCount > 0 ? publishing.feedCount : kDefaultFeedCount, command, err);
    if (!feed) {
        return false;
    }
    if (args.Has("--feed") || args.Has("--feed-items")) {
        publishing.feedCount = *feed;
    }
    const std::optional<std::string> baseUrl
        = TextOption(args, "--base-url", publishing.baseUrl, command, err);
    if (!baseUrl) {
        return false;
    }
    if (args.Has("--base-url") && !SiteBaseUrl(args.Value("--base-url"))) {
        err << "tessaly-cli " << command << ": --base-url takes an http:// or https:// address with a host and\n"
            << "  no blanks, query or fragment, such as https://example.jp/~hanako/\n";
        return false;
    }
    publishing.baseUrl = *baseUrl;
    return true;
}

} // namespace

std::vector<Option> SiteOutputOptions()
{
    return {
        {.name = "--root", .value = "DIR", .help = "the site's root directory instead of the project's"},
        {.name = "--jobs", .value = "N", .help = "the number of threads, 1 to 256"},
        {.name = "--page-encoding", .help = "the pages' encoding instead of the project's",
            .choices = {"shift_jis", "utf-8"}},
        {.name = "--site-search", .help = "also write search.html, a search page that needs no server"},
        {.name = "--feed", .help = "also write feed.xml, an Atom feed of the newest items"},
        {.name = "--feed-items", .value = "N", .help = "the items of the feed, 1 to 10000 (default 50)"},
        {.name = "--sitemap", .help = "also write sitemap.xml"},
        {.name = "--base-url", .value = "URL",
            .help = "the address the root is published at, which the feed and sitemap need"},
    };
}

int RunSiteOutput(const Arguments& args, Streams streams, std::string_view command, Project& project)
{
    const std::optional<int32_t> jobs
        = CountOption(args, "--jobs", kMaxJobs, static_cast<int32_t>(DefaultJobs()), command, streams.err);
    if (!jobs) {
        return 2;
    }
    if (const int failed
        = LoadProjectWithRoot(project, args.Positional(0), args.Value("--root"), command, streams.err)) {
        return failed;
    }
    if (!ApplySiteOptions(args, project.Publishing, command, streams.err)) {
        return 2;
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
        streams.err << "tessaly-cli " << command << ": the run stopped: " << Escaped(result.error.view()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace tessaly::cli
