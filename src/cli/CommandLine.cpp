#include "cli/CommandLine.h"

#include <algorithm>
#include <new>
#include <string>

#include "cli/commands/CommandList.h"
#include "core/util/About.h"

namespace tessaly::cli {

namespace {

void PrintOverview(std::ostream& out)
{
    out << "Usage: tessaly-cli COMMAND [ARGS...]\n\n" << kToolDescription << "\n\nCommands:\n";
    for (const Command* command : AllCommands()) {
        const std::string_view name = command->Declaration().name;
        out << "  " << name << std::string(16 - std::min<std::size_t>(15, name.size()), ' ')
            << command->Declaration().summary << '\n';
    }
    out << "\nRun 'tessaly-cli COMMAND --help' for the arguments of a command, 'tessaly-cli --version' for the\n"
           "version and the licence.\n";
}

} // namespace

int RunCommand(std::span<const std::string_view> args, Streams streams)
{
    if (!args.empty() && args.front() == "--version") {
        streams.out << "tessaly-cli " << ProgramVersion() << '\n' << kLicenceNotice;
        return 0;
    }
    if (args.empty() || args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        PrintOverview(args.empty() ? streams.err : streams.out);
        return args.empty() ? 2 : 0;
    }
    const Command* command = FindCommand(args.front());
    if (command == nullptr) {
        streams.err << "tessaly-cli: unknown command '" << args.front() << "'\n\n";
        PrintOverview(streams.err);
        return 2;
    }
    const std::span<const std::string_view> rest = args.subspan(1);
    // Only right after the command: later, "--help" may be a file name or a
    // text the command takes.
    if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
        command->PrintHelp(streams.out);
        return 0;
    }
    const std::string_view name = command->Declaration().name;
    try {
        return command->Run(rest, streams);
    } catch (const std::bad_alloc&) {
        streams.err << "tessaly-cli " << name
                    << ": not enough memory for this input; the command stopped (files are only ever replaced "
                       "whole, so none is left half-written)\n";
        return 1;
    } catch (const std::exception& error) {
        streams.err << "tessaly-cli " << name << ": the command stopped on an unexpected error (" << error.what()
                    << ")\n";
        return 1;
    }
}

} // namespace tessaly::cli
