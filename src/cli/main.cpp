#include <iostream>
#include <new>
#include <string_view>
#include <vector>

#include "cli/Commands.h"
#include "core/util/About.h"

namespace {

void PrintOverview(std::ostream& out)
{
    out << "Usage: tessaly-cli COMMAND [ARGS...]\n\n" << tessaly::cli::kToolDescription << "\n\nCommands:\n";
    for (const tessaly::cli::Command& command : tessaly::cli::AllCommands()) {
        out << "  " << command.name << std::string(16 - std::min<std::size_t>(15, command.name.size()), ' ')
            << command.summary << '\n';
    }
    out << "\nRun 'tessaly-cli COMMAND --help' for the arguments of a command, 'tessaly-cli --version' for the\n"
           "version and the licence.\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "--version") {
        std::cout << "tessaly-cli " << tessaly::ProgramVersion() << '\n' << tessaly::kLicenceNotice;
        return 0;
    }
    if (args.empty() || args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        PrintOverview(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    for (const tessaly::cli::Command& command : tessaly::cli::AllCommands()) {
        if (command.name != args.front()) {
            continue;
        }
        const std::span<const std::string_view> rest(args.data() + 1, args.size() - 1);
        // Only right after the command: later, "--help" may be a file name
        // or a text the command takes.
        if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
            std::cout << "Usage: tessaly-cli " << command.name << ' ' << command.usage;
            return 0;
        }
        try {
            return command.run(rest, {std::cout, std::cerr});
        } catch (const std::bad_alloc&) {
            std::cerr << "tessaly-cli " << command.name
                      << ": not enough memory for this input; the command stopped (files are only ever replaced "
                         "whole, so none is left half-written)\n";
            return 1;
        } catch (const std::exception& error) {
            std::cerr << "tessaly-cli " << command.name << ": the command stopped on an unexpected error ("
                      << error.what() << ")\n";
            return 1;
        }
    }
    std::cerr << "tessaly-cli: unknown command '" << args.front() << "'\n\n";
    PrintOverview(std::cerr);
    return 2;
}
