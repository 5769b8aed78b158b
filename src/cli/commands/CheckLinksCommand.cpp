#include "cli/commands/CheckLinksCommand.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include <unistd.h>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"
#include "core/linkcheck/LinkReport.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly::cli {

namespace {

// Most requests "--jobs" keeps in flight.
constexpr int32_t kMaxLinkJobs = 64;
constexpr int32_t kMaxLinkTimeout = 3600;

// Progress of the link check on a terminal: one line, rewritten in place.
class LinkCheckProgress {
public:
    LinkCheckProgress(std::ostream& out, std::size_t total)
        : out_(out)
        , total_(total)
        , enabled_(::isatty(STDOUT_FILENO) != 0)
    {
    }
    ~LinkCheckProgress()
    {
        if (enabled_ && done_ > 0) {
            out_ << "\r\033[K" << std::flush;
        }
    }
    LinkCheckProgress(const LinkCheckProgress&) = delete;
    LinkCheckProgress& operator=(const LinkCheckProgress&) = delete;

    void Checked(const std::string& address)
    {
        ++done_;
        if (enabled_) {
            out_ << "\r\033[K[" << done_ << '/' << total_ << "] " << Shown(address).substr(0, 70) << std::flush;
        }
    }

private:
    std::ostream& out_;
    std::size_t total_;
    bool enabled_;
    std::size_t done_ = 0;
};

// The items of the genre --genre names, or of the whole collection.
std::optional<std::vector<PlacedItem>> ItemsToCheck(const Arguments& args, const Project& project, std::ostream& err)
{
    if (!args.Has("--genre")) {
        return ItemsOfCollection(project);
    }
    const std::optional<std::string> name = ArgumentText(args.Value("--genre"), "--genre", "check-links", err);
    if (!name) {
        return std::nullopt;
    }
    const std::optional<std::size_t> genre = project.FindGenre(*name);
    if (!genre || *genre >= project.TrashIndex()) {
        err << "tessaly-cli check-links: --genre: no genre '" << Escaped(args.Value("--genre")) << "' in the project\n";
        return std::nullopt;
    }
    return ItemsOfGenre(project, *genre);
}

void PrintLinkResult(const ItemLink& link, const LinkCheckResult& result, std::ostream& out)
{
    out << LinkResultName(result.result);
    if (result.code != 0) {
        out << ' ' << result.code;
    }
    out << "  " << Shown(link.shown);
    if (!result.newUrl.empty()) {
        out << " -> " << Escaped(WithUnicodeHost(result.newUrl));
    }
    out << "  (" << FormatSerial(link.serial) << ' ' << Shown(link.title)
        << (link.field == LinkField::Banner ? ", banner" : "") << ')';
    if (!result.detail.empty()) {
        out << ": " << Escaped(result.detail.view());
    }
    out << '\n';
}

} // namespace

CheckLinksCommand::CheckLinksCommand()
    : Command({
          .name = "check-links",
          .summary = "check the page and banner addresses of the items",
          .positionals = {"PROJECT.TSP"},
          .expected = "one project file",
          .description
          = "Asks the server of every page and banner address of the items of every genre\n"
            "but the trash (or of the genre NAME) whether the address still answers, N\n"
            "at a time (default 16), at most 4 to one host, each link with its\n"
            "redirects within SECONDS (default 15). A banner stored as \"%%\" + name is looked for as a file in the banner\n"
            "directory; mail and other addresses are not checked. Proxies are taken from\n"
            "http_proxy, https_proxy and no_proxy. Prints every link that did not simply\n"
            "answer, and the counts by result: ok, moved (redirected for good to an\n"
            "address that answers), client-error, server-error, dns-failure, refused,\n"
            "timeout, tls-error, too-many-redirects, missing, error.\n\n"
            "Without --mark-failed or --update-moved the project is never written; with\n"
            "them it is written when something changed, and replaced only when the whole\n"
            "file was written. Exits with 0 when every link answered, 1 when some are\n"
            "dead, 2 on errors: wrong arguments, a file that cannot be read or written,\n"
            "or the run's one-hour limit passing before every link was checked.",
          .options = {
              {.name = "--genre", .value = "NAME", .help = "check only the items of this genre"},
              {.name = "--jobs", .value = "N", .help = "the number of requests at a time, 1 to 64"},
              {.name = "--timeout", .value = "SECONDS", .help = "the time each link has, 1 to 3600"},
              {.name = "--mark-failed",
                  .help = "give the items of dead links the status \"warning\" (items with another mark keep it and "
                          "are listed)"},
              {.name = "--update-moved", .help = "replace moved addresses by their new http or https ones"},
              {.name = "--out", .value = "OUT.TSP", .help = "write the changed project there instead of in place"},
              {.name = "--report", .value = "REPORT.CSV", .help = "write every result as CSV (Shift_JIS)"},
          },
      })
{
}

int CheckLinksCommand::Execute(const Arguments& args, Streams streams) const
{
    const bool rewrites = args.Has("--mark-failed") || args.Has("--update-moved");
    if (args.Has("--out") && !rewrites) {
        streams.err << "tessaly-cli check-links: --out is for --mark-failed or --update-moved\n";
        return 2;
    }
    if (args.Has("--out") && args.Has("--report") && SameFile(args.Value("--out"), args.Value("--report"))) {
        streams.err << "tessaly-cli check-links: --out and --report name the same file; choose two\n";
        return 2;
    }
    LinkCheckOptions check;
    const std::optional<int32_t> jobs
        = CountOption(args, "--jobs", kMaxLinkJobs, static_cast<int32_t>(check.jobs), "check-links", streams.err);
    const std::optional<int32_t> timeout = CountOption(args, "--timeout", kMaxLinkTimeout,
        static_cast<int32_t>(std::chrono::duration_cast<std::chrono::seconds>(check.timeout).count()), "check-links",
        streams.err);
    if (!jobs || !timeout) {
        return 2;
    }
    check.jobs = static_cast<unsigned>(*jobs);
    check.timeout = std::chrono::seconds(*timeout);
    Project project;
    const LoadPurpose purpose = rewrites ? LoadPurpose::Rewriting : LoadPurpose::Reading;
    if (!LoadWholeProject(project, args.Positional(0), purpose, "check-links", streams.err)) {
        return 2;
    }
    const std::optional<std::vector<PlacedItem>> items = ItemsToCheck(args, project, streams.err);
    if (!items) {
        return 2;
    }
    const ItemLinks links = LinksOfItems(*items, project.BannerDir);
    std::vector<LinkCheckResult> results;
    LinkCheckSummary summary;
    {
        LinkCheckProgress progress(streams.out, links.links.size());
        summary = RunLinkCheck(links.toCheck, check, [&](const LinkCheckResult& result) {
            progress.Checked(links.links[result.index].shown);
            results.push_back(result);
        });
    }
    std::sort(results.begin(), results.end(), [](const auto& a, const auto& b) { return a.index < b.index; });

    std::array<std::size_t, kLinkResultCount> counts{};
    std::vector<ItemPlace> failed;
    std::vector<const ItemLink*> failedLinks; // of each failed place
    std::vector<AddressUpdate> moved;
    for (const LinkCheckResult& result : results) {
        const ItemLink& link = links.links[result.index];
        ++counts[static_cast<std::size_t>(result.result)];
        if (result.result != LinkResult::Ok) {
            PrintLinkResult(link, result, streams.out);
        }
        if (!IsAlive(result.result)) {
            failed.push_back(link.place);
            failedLinks.push_back(&link);
        } else if (result.result == LinkResult::Moved) {
            moved.push_back({link.place, link.field, result.newUrl});
        }
    }
    streams.out << "Links checked: " << results.size() << " of " << links.links.size();
    if (links.skipped > 0) {
        streams.out << " (" << links.skipped << " other addresses not checked)";
    }
    streams.out << '\n';
    for (std::size_t i = 0; i < kLinkResultCount; ++i) {
        if (counts[i] > 0) {
            const std::string_view name = LinkResultName(static_cast<LinkResult>(i));
            streams.out << "  " << name << std::string(20 - std::min<std::size_t>(19, name.size()), ' ') << counts[i]
                        << '\n';
        }
    }

    std::vector<TLinkItem> noRows;
    std::size_t changed = 0;
    if (args.Has("--mark-failed")) {
        std::vector<UnmarkedItem> notMarked;
        const std::size_t marked = MarkItemsFailed(project, noRows, failed, &notMarked);
        for (const UnmarkedItem& unmarked : notMarked) {
            const ItemLink* link = failedLinks[unmarked.which];
            streams.out << "not marked, keeps its mark '" << StatusName(unmarked.status) << "': ("
                        << FormatSerial(link->serial) << ' ' << Shown(link->title) << ")\n";
        }
        streams.out << "Marked " << marked << " items with the warning status\n";
        changed += marked;
    }
    if (args.Has("--update-moved")) {
        for (const AddressUpdate& update : moved) {
            if (!CanTakeNewUrl(update.newUrl)) {
                streams.out << "not updated (not an address the pages may carry): " << Escaped(update.newUrl) << '\n';
            }
        }
        const std::size_t updated = UpdateAddresses(project, noRows, moved);
        streams.out << "Updated " << updated << " moved addresses\n";
        changed += updated;
    }
    bool failedToWrite = false;
    if (args.Has("--report")) {
        const FileWriteResult written = WriteExportFile(
            project, std::filesystem::path(args.Value("--report")), LinkReportText(links.links, results).view());
        if (!written.ok) {
            streams.err << "tessaly-cli check-links: cannot write the report " << Escaped(written.error) << '\n';
            failedToWrite = true;
        }
    }
    if (rewrites && (changed > 0 || args.Has("--out"))) {
        const bool inPlace = !args.Has("--out");
        failedToWrite
            |= !SaveProject(project, inPlace ? args.Positional(0) : args.Value("--out"), "check-links", streams.err);
    }
    if (summary.deadlinePassed) {
        streams.err << "tessaly-cli check-links: the time limit for the run passed; "
                    << links.links.size() - results.size() << " links were not checked\n";
    }
    if (failedToWrite || summary.deadlinePassed) {
        return 2;
    }
    return counts[static_cast<std::size_t>(LinkResult::Ok)] + counts[static_cast<std::size_t>(LinkResult::Moved)]
            == results.size()
        ? 0
        : 1;
}

} // namespace tessaly::cli
