#include "cli/commands/CheckSiteCommand.h"

#include <filesystem>

#include "cli/TerminalText.h"
#include "core/site/SiteAddress.h"
#include "core/site/SiteCheck.h"

namespace tessaly::cli {

namespace {

bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".."
        && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

void PrintProblems(const std::vector<SiteProblem>& problems, std::ostream& err)
{
    for (const SiteProblem& problem : problems) {
        err << "tessaly-cli check-site: cannot read " << Escaped(problem.error) << '\n';
    }
}

} // namespace

CheckSiteCommand::CheckSiteCommand()
    : Command({
          .name = "check-site",
          .summary = "find the links and images of a written site whose files are missing",
          .positionals = {"ROOT"},
          .expected = "one site root directory",
          .description
          = "Reads every .html and .htm page under ROOT and looks for the file of each link\n"
            "and image that lies in the site; addresses with a scheme (http:, mailto:, ...)\n"
            "or a host (//host/) and fragments alone (#top) are passed over, and queries\n"
            "and fragments are cut off. An address to a directory needs the directory's\n"
            "NAME (default index.html). Addresses from the root (/x) are checked only with\n"
            "--base-url, against the path of the site's address URL. Prints each missing\n"
            "file as a line of the page, a tab,\n"
            "the address as the page gives it, a tab, and \"link\" or \"image\"; then the\n"
            "counts on standard error.\n\n"
            "Exits with 0 when nothing is missing, 1 when something is, 2 on errors: wrong\n"
            "arguments, a ROOT that is no directory, or a page or directory that cannot be\n"
            "read.",
          .options = {
              {.name = "--default-file", .value = "NAME", .help = "the file a directory's address gives"},
              {.name = "--base-url", .value = "URL", .help = "the http or https address the site is published at"},
          },
      })
{
}

int CheckSiteCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::filesystem::path root(args.Positional(0));
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        streams.err << "tessaly-cli check-site: " << Escaped(args.Positional(0)) << " is not a directory\n";
        return 2;
    }
    SiteCheckOptions options;
    if (args.Has("--default-file")) {
        if (!IsPlainFileName(args.Value("--default-file"))) {
            streams.err << "tessaly-cli check-site: --default-file: '" << Escaped(args.Value("--default-file"))
                        << "' is not a file name\n";
            return 2;
        }
        options.defaultFile = args.Value("--default-file");
    }
    if (args.Has("--base-url")) {
        const std::optional<std::string> base = SiteBaseUrl(args.Value("--base-url"));
        if (!base) {
            streams.err << "tessaly-cli check-site: --base-url: '" << Escaped(args.Value("--base-url"))
                        << "' is not the http or https address of a site\n";
            return 2;
        }
        options.basePath = std::string(BaseUrlPath(*base));
    }
    const SitePages found = FindSitePages(root);
    const SiteCheckResult result = CheckSite(root, found.pages, options);
    std::size_t images = 0;
    for (const BrokenTarget& broken : result.broken) {
        const bool image = broken.kind == TargetKind::Image;
        images += image ? 1 : 0;
        streams.out << Escaped(broken.page) << '\t' << Escaped(broken.target) << '\t' << (image ? "image" : "link")
                    << '\n';
    }
    PrintProblems(found.unread, streams.err);
    PrintProblems(result.unread, streams.err);
    streams.err << "Pages checked: " << result.pages << "; missing: " << result.broken.size() - images << " links, "
                << images << " images\n";
    if (!found.unread.empty() || !result.unread.empty()) {
        return 2;
    }
    return result.broken.empty() ? 0 : 1;
}

} // namespace tessaly::cli
