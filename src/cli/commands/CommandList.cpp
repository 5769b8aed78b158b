#include "cli/commands/CommandList.h"

#include <algorithm>
#include <array>

#include "cli/commands/CheckLinksCommand.h"
#include "cli/commands/CheckSiteCommand.h"
#include "cli/commands/CsvCommand.h"
#include "cli/commands/DizCommand.h"
#include "cli/commands/DuplicatesCommand.h"
#include "cli/commands/ExportBookmarksCommand.h"
#include "cli/commands/ImportBookmarksCommand.h"
#include "cli/commands/ImportRkmCommand.h"
#include "cli/commands/InfoCommand.h"
#include "cli/commands/NewestCommand.h"
#include "cli/commands/OutputCommand.h"
#include "cli/commands/PublishCommand.h"
#include "cli/commands/ReadingsCommand.h"
#include "cli/commands/ReplaceDomainCommand.h"
#include "cli/commands/ResaveCommand.h"
#include "cli/commands/SearchCommand.h"
#include "cli/commands/SimpleDesignCommand.h"
#include "cli/commands/TidyCommand.h"

namespace tessaly::cli {

std::span<const Command* const> AllCommands()
{
    static const InfoCommand info;
    static const ResaveCommand resave;
    static const OutputCommand output;
    static const PublishCommand publish;
    static const SimpleDesignCommand simpleDesign;
    static const SearchCommand search;
    static const NewestCommand newest;
    static const CsvCommand csv;
    static const ImportRkmCommand importRkm;
    static const ImportBookmarksCommand importBookmarks;
    static const ExportBookmarksCommand exportBookmarks;
    static const DuplicatesCommand duplicates;
    static const DizCommand diz;
    static const ReplaceDomainCommand replaceDomain;
    static const TidyCommand tidy;
    static const CheckLinksCommand checkLinks;
    static const CheckSiteCommand checkSite;
    static const ReadingsCommand readings;
    static const std::array<const Command*, 18> commands{&info, &resave, &output, &publish, &simpleDesign, &search,
        &newest, &csv, &importRkm, &importBookmarks, &readings, &exportBookmarks, &duplicates, &diz, &replaceDomain,
        &tidy, &checkLinks, &checkSite};
    return commands;
}

const Command* FindCommand(std::string_view name)
{
    const std::span<const Command* const> commands = AllCommands();
    const auto found = std::find_if(commands.begin(), commands.end(),
        [name](const Command* command) { return command->Declaration().name == name; });
    return found == commands.end() ? nullptr : *found;
}

} // namespace tessaly::cli
