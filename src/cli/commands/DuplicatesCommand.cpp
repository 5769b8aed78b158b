#include "cli/commands/DuplicatesCommand.h"

#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"
#include "core/tools/DuplicateLinks.h"

namespace tessaly::cli {

DuplicatesCommand::DuplicatesCommand()
    : Command({
        .name = "duplicates",
        .summary = "list links whose pages are the same",
        .positionals = {"PROJECT.TSP"},
        .expected = "one project file",
        .description = "Lists the items of every genre but the trash whose page addresses name the\n"
                       "same page, whatever their scheme, the letter case of the host, a leading\n"
                       "\"www.\" or a final \"/\" or \"index.html\": one block per page, one line per item\n"
                       "(serial, genre, title, address), then the number of pages and items.",
    })
{
}

int DuplicatesCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    if (!LoadWholeProject(project, args.Positional(0), LoadPurpose::Reading, "duplicates", streams.err)) {
        return 2;
    }
    const std::vector<std::vector<LinePlace>> groups = FindDuplicateLinks(project);
    std::size_t items = 0;
    for (const std::vector<LinePlace>& group : groups) {
        for (const LinePlace& place : group) {
            const TLinkItem item = LineToItem(project.Genres[place.genre].Lines[place.line]);
            streams.out << FormatSerial(item.Serial) << '\t' << Shown(project.Genres[place.genre].Name) << '\t'
                        << Shown(item.Title) << '\t' << Shown(FullUrl(item.Url)) << '\n';
        }
        streams.out << '\n';
        items += group.size();
    }
    streams.out << groups.size() << " pages kept more than once (" << items << " items)\n";
    return 0;
}

} // namespace tessaly::cli
