#include "cli/Docs.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/commands/CommandList.h"

namespace tessaly::cli {

namespace {

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

void WriteCommand(std::ostream& out, const Command& command)
{
    const CommandDeclaration& declaration = command.Declaration();
    std::string description = Roff(declaration.description);
    for (std::size_t paragraph; (paragraph = description.find("\n\n")) != std::string::npos;) {
        description.replace(paragraph, 2, "\n.IP\n");
    }
    out << ".TP\n\\fB" << Roff(declaration.name) << "\\fR " << Roff(command.Synopsis()) << '\n'
        << Roff(declaration.summary) << ".\n.IP\n"
        << description << '\n';
    if (declaration.options.empty()) {
        return;
    }
    out << ".RS\n";
    for (const Option& option : declaration.options) {
        out << ".TP\n\\fB" << Roff(option.name) << "\\fR";
        if (option.TakesValue()) {
            out << " \\fI" << Roff(option.Placeholder()) << "\\fR";
        }
        out << '\n' << Roff(option.help) << '\n';
    }
    out << ".RE\n";
}

} // namespace

void WriteManPage(std::ostream& out, std::string_view version)
{
    out << ".TH TESSALY\\-CLI 1 \"\" \"Tessaly " << version << "\" \"User Commands\"\n"
        << ".SH NAME\ntessaly\\-cli \\- work on Tessaly link collections from the command line\n"
        << ".SH SYNOPSIS\n";
    for (const Command* command : AllCommands()) {
        out << ".B tessaly\\-cli " << Roff(command->Declaration().name) << '\n'
            << Roff(command->Synopsis()) << "\n.br\n";
    }
    out << ".B tessaly\\-cli\n.RI [ COMMAND ] \" \\-\\-help\"\n"
        << ".SH DESCRIPTION\n"
        << Roff(kToolDescription) << '\n'
        << ".SH COMMANDS\n";
    for (const Command* command : AllCommands()) {
        WriteCommand(out, *command);
    }
    out << ".SH OPTIONS\n"
        << ".TP\n.BR \\-h \", \" \\-\\-help\n"
        << "Without a command: list the commands. After a command: print its usage and what it does.\n";
    std::vector<std::pair<std::string_view, std::string>> options; // option, the commands that take it
    for (const Command* command : AllCommands()) {
        for (const Option& option : command->Declaration().options) {
            auto known
                = std::find_if(options.begin(), options.end(), [&](const auto& o) { return o.first == option.name; });
            if (known == options.end()) {
                known = options.insert(options.end(), {option.name, {}});
            } else {
                known->second += ", ";
            }
            known->second += "\\fB" + Roff(command->Declaration().name) + "\\fR";
        }
    }
    for (const auto& [option, commands] : options) {
        out << ".TP\n.B " << Roff(option) << "\nTaken by " << commands << "; see there.\n";
    }
    out << ".SH EXIT STATUS\n"
        << "0 when the command did its work; 1 when a file could not be read or written, a project was read "
           "only in part, or a run stopped; 2 for wrong arguments and for a file that is not a project file. "
           "check-links exits with 1 when a link is dead, check-site when a page links to a missing file; both exit "
           "with 2 on any error.\n"
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
    for (const Command* command : AllCommands()) {
        out << ' ' << command->Declaration().name;
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
    for (const Command* command : AllCommands()) {
        const CommandDeclaration& declaration = command->Declaration();
        if (declaration.options.empty()) {
            continue;
        }
        out << "        " << declaration.name << ")\n            options+='";
        for (const Option& option : declaration.options) {
            out << ' ' << option.name;
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

} // namespace tessaly::cli
