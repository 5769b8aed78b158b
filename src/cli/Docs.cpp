// Writes the manual page and the bash completion of tessaly-cli from the
// command table that --help prints, so that neither can fall behind it.
// Run by the build; not installed.

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/Commands.h"

namespace {

using tessaly::cli::AllCommands;
using tessaly::cli::Command;

// Text as roff input: backslashes and minus signs escaped, and no line
// starting with a control character.
std::string Roff(std::string_view text)
{
    std::string roff;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) {
            roff += "\\&";
        }
        if (c == '\\') {
            roff += "\\e";
        } else if (c == '-') {
            roff += "\\-";
        } else {
            roff += c;
        }
        lineStart = c == '\n';
    }
    return roff;
}

void WriteManPage(std::ostream& out, std::string_view version)
{
    out << ".TH TESSALY\\-CLI 1 \"\" \"Tessaly " << version << "\" \"User Commands\"\n"
        << ".SH NAME\ntessaly\\-cli \\- work on Tessaly link collections from the command line\n"
        << ".SH SYNOPSIS\n";
    for (const Command& command : AllCommands()) {
        out << ".B tessaly\\-cli " << Roff(command.name) << '\n'
            << Roff(tessaly::cli::UsageSynopsis(command)) << "\n.br\n";
    }
    out << ".B tessaly\\-cli\n.RI [ COMMAND ] \" \\-\\-help\"\n"
        << ".SH DESCRIPTION\n"
        << Roff(tessaly::cli::kToolDescription) << '\n'
        << ".SH COMMANDS\n";
    for (const Command& command : AllCommands()) {
        const std::string_view usage = command.usage;
        const std::size_t synopsisEnd = usage.find("\n\n");
        std::string description(usage.substr(usage.find_first_not_of('\n', synopsisEnd)));
        for (std::size_t paragraph; (paragraph = description.find("\n\n")) != std::string::npos;) {
            description.replace(paragraph, 2, "\n.IP\n");
        }
        out << ".TP\n\\fB" << Roff(command.name) << "\\fR " << Roff(tessaly::cli::UsageSynopsis(command)) << '\n'
            << Roff(command.summary) << ".\n.IP\n"
            << Roff(description);
    }
    out << ".SH OPTIONS\n"
        << ".TP\n.BR \\-h \", \" \\-\\-help\n"
        << "Without a command: list the commands. After a command: print its usage and what it does.\n";
    std::vector<std::pair<std::string_view, std::string>> options; // option, the commands that take it
    for (const Command& command : AllCommands()) {
        for (const std::string_view option : tessaly::cli::UsageOptions(command)) {
            auto known = std::find_if(options.begin(), options.end(), [&](const auto& o) { return o.first == option; });
            if (known == options.end()) {
                known = options.insert(options.end(), {option, {}});
            } else {
                known->second += ", ";
            }
            known->second += "\\fB" + Roff(command.name) + "\\fR";
        }
    }
    for (const auto& [option, commands] : options) {
        out << ".TP\n.B " << Roff(option) << "\nTaken by " << commands << "; see there.\n";
    }
    out << ".SH EXIT STATUS\n"
        << "0 when the command did its work; 1 when a file could not be read or written, a project was read "
           "only in part, or a run stopped; 2 for wrong arguments and for a file that is not a project file. "
           "check-links exits with 1 when a link is dead and 2 on any error.\n"
        << ".SH SEE ALSO\n.BR tessaly (1)\n";
}

void WriteBashCompletion(std::ostream& out)
{
    out << "# bash completion for tessaly-cli\n\n"
        << "_tessaly_cli()\n{\n"
        << "    local cur prev words cword\n"
        << "    _init_completion || return\n\n"
        << "    if ((cword == 1)); then\n"
        << "        COMPREPLY=($(compgen -W '--help";
    for (const Command& command : AllCommands()) {
        out << ' ' << command.name;
    }
    out << "' -- \"$cur\"))\n"
        << "        return\n"
        << "    fi\n"
        << "    if [[ $prev == --root ]]; then\n"
        << "        _filedir -d\n"
        << "        return\n"
        << "    fi\n"
        << "    if [[ $cur == -* ]]; then\n"
        << "        local options='--help'\n"
        << "        case ${words[1]} in\n";
    for (const Command& command : AllCommands()) {
        const std::vector<std::string_view> options = tessaly::cli::UsageOptions(command);
        if (options.empty()) {
            continue;
        }
        out << "        " << command.name << ")\n            options+='";
        for (const std::string_view option : options) {
            out << ' ' << option;
        }
        out << "'\n            ;;\n";
    }
    out << "        esac\n"
        << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        << "        return\n"
        << "    fi\n"
        << "    _filedir '@(tsp|TSP|tsm|TSM|csv|CSV|diz|DIZ)'\n"
        << "}\n"
        << "complete -F _tessaly_cli tessaly-cli\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::string_view what = argc > 1 ? argv[1] : "";
    if (what == "man" && argc == 3) {
        WriteManPage(std::cout, argv[2]);
    } else if (what == "bash-completion" && argc == 2) {
        WriteBashCompletion(std::cout);
    } else {
        std::cerr << "usage: tessaly-cli-docs man VERSION | bash-completion\n";
        return 2;
    }
    return std::cout.flush() ? 0 : 1;
}
