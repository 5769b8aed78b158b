#include <iostream>
#include <string_view>
#include <vector>

#include "Commands.h"

namespace {

void PrintOverview(std::ostream& out)
{
    out << "Usage: tessaly-cli COMMAND [ARGS...]\n\n" << tessaly::cli::kToolDescription << "\n\nCommands:\n";
    for (const tessaly::cli::Command& command : tessaly::cli::AllCommands()) {
        out << "  " << command.name << std::string(16 - std::min<std::size_t>(15, command.name.size()), ' ')
            << command.summary << '\n';
    }
    out << "\nRun 'tessaly-cli COMMAND --help' for the arguments of a command.\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args.front() == "--help" || args.front() == "-h" || args.front() == "help") {
        PrintOverview(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    for (const tessaly::cli::Command& command : tessaly::cli::AllCommands()) {
        if (command.name != args.front()) {
            continue;
        }
        const std::span<const std::string_view> rest(args.data() + 1, args.size() - 1);
        for (const std::string_view arg : rest) {
            if (arg == "--help" || arg == "-h") {
                std::cout << "Usage: tessaly-cli " << command.name << ' ' << command.usage;
                return 0;
            }
        }
        try {
            return command.run(rest, {std::cout, std::cerr});
        } catch (const std::exception& error) {
            std::cerr << "tessaly-cli: " << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "tessaly-cli: unknown command '" << args.front() << "'\n\n";
    PrintOverview(std::cerr);
    return 2;
}
