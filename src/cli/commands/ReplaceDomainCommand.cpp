#include "cli/commands/ReplaceDomainCommand.h"

#include <algorithm>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/text/Strings.h"
#include "core/tools/DomainReplace.h"

namespace tessaly::cli {

ReplaceDomainCommand::ReplaceDomainCommand()
    : Command({
          .name = "replace-domain",
          .summary = "replace the host part of page and banner addresses",
          .positionals = {"PROJECT.TSP", "FIND", "REPLACE", "OUT.TSP"},
          .expected = "a project file, FIND, REPLACE and an output project file",
          .description = "Replaces FIND by REPLACE (which may be empty) in the host part of every page and\n"
                         "banner address (after a scheme of its own such as https://, up to the first\n"
                         "\"/\"), in every genre but the trash, and writes the project to OUT.TSP (which\n"
                         "may be PROJECT.TSP). Prints the number of addresses changed.",
          .options = {
              {.name = "--match-case", .help = "tell capital from small letters (otherwise letter case is ignored)"},
              {.name = "--whole-host", .help = "change only hosts equal to FIND"},
          },
      })
{
}

int ReplaceDomainCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::optional<std::string> find = ArgumentText(args.Positional(1), "FIND", "replace-domain", streams.err);
    const std::optional<std::string> replace
        = ArgumentText(args.Positional(2), "REPLACE", "replace-domain", streams.err);
    if (!find || !replace) {
        return 2;
    }
    if (Trim(*find).empty()) {
        streams.err << "tessaly-cli replace-domain: FIND is blank\n";
        return 2;
    }
    // A line break would end the item line; no control character belongs in
    // a host. No byte below 0x40 is part of a double-byte character.
    const auto control = std::find_if(
        replace->begin(), replace->end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; });
    if (control != replace->end()) {
        streams.err << "tessaly-cli replace-domain: REPLACE holds the control character "
                    << Escaped(std::string_view(&*control, 1)) << "; a host has none\n";
        return 2;
    }
    Project project;
    if (!LoadWholeProject(project, args.Positional(0), LoadPurpose::Rewriting, "replace-domain", streams.err)) {
        return 2;
    }
    const DomainReplaceSettings settings{*find, *replace, !args.Has("--match-case"), !args.Has("--whole-host")};
    const std::size_t count = ReplaceDomains(project, settings);
    if (!SaveProject(project, args.Positional(3), "replace-domain", streams.err)) {
        return 2;
    }
    streams.out << count << '\n';
    return 0;
}

} // namespace tessaly::cli
