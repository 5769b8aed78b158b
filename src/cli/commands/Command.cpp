#include "cli/commands/Command.h"

#include <algorithm>
#include <utility>

#include "cli/TerminalText.h"
#include "core/text/Collation.h"

namespace tessaly::cli {

namespace {

// Width of the usage text, and where the help of an option begins.
constexpr std::size_t kLineWidth = 80;
constexpr std::size_t kHelpColumn = 18;

// Writes the parts separated by spaces from the column the line is at,
// breaking lines before a part that would run past kLineWidth; a new line
// begins indent spaces in.
void WriteWrapped(std::ostream& out, std::span<const std::string> parts, std::size_t column, std::size_t indent)
{
    bool lineStart = true;
    for (const std::string& part : parts) {
        if (!lineStart && column + 1 + part.size() > kLineWidth) {
            out << '\n' << std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out << ' ';
            ++column;
        }
        out << part;
        column += part.size();
        lineStart = false;
    }
    out << '\n';
}

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        if (end > 0) {
            words.emplace_back(text.substr(0, end));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return words;
}

std::string Joined(std::span<const std::string_view> names, std::string_view separator)
{
    std::string joined;
    for (const std::string_view name : names) {
        joined += (joined.empty() ? "" : std::string(separator)) + std::string(name);
    }
    return joined;
}

} // namespace

std::string Option::Placeholder() const
{
    return choices.empty() ? std::string(value) : Joined(choices, "|");
}

std::string_view Arguments::Value(std::string_view option) const
{
    const auto found = values_.find(option);
    return found == values_.end() ? std::string_view() : found->second;
}

std::size_t Arguments::Choice(std::string_view option) const
{
    const auto given = values_.find(option);
    if (given == values_.end()) {
        return 0;
    }
    for (const Option& declared : declaration_->options) {
        if (declared.name == option) {
            // "UTF-8" is "utf-8": choices are names, whatever their case.
            const auto found = std::find_if(declared.choices.begin(), declared.choices.end(),
                [&given](std::string_view choice) { return SameNameIgnoringAsciiCase(choice, given->second); });
            return static_cast<std::size_t>(found - declared.choices.begin());
        }
    }
    return 0;
}

Command::Command(CommandDeclaration declaration)
    : declaration_(std::move(declaration))
{
}

int Command::Run(std::span<const std::string_view> args, Streams streams) const
{
    const std::optional<Arguments> parsed = Parse(args, streams.err);
    return parsed ? Execute(*parsed, streams) : 2;
}

const Option* Command::FindOption(std::string_view name) const
{
    const auto found = std::find_if(declaration_.options.begin(), declaration_.options.end(),
        [name](const Option& option) { return option.name == name; });
    return found == declaration_.options.end() ? nullptr : &*found;
}

std::optional<Arguments> Command::Parse(std::span<const std::string_view> args, std::ostream& err) const
{
    const std::string prefix = "tessaly-cli " + std::string(declaration_.name) + ": ";
    Arguments parsed;
    parsed.declaration_ = &declaration_;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // "--" ends the options: what follows is taken as it is.
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !arg.starts_with("--")) {
            parsed.positionals_.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const Option* option = FindOption(name);
        std::string_view value;
        if (option != nullptr && option->TakesValue()) {
            if (equals == std::string_view::npos && i + 1 >= args.size()) {
                err << prefix << name << " needs a value\n";
                return std::nullopt;
            }
            value = equals == std::string_view::npos ? args[++i] : arg.substr(equals + 1);
        } else if (option == nullptr || equals != std::string_view::npos) {
            err << prefix << "unknown option '" << Escaped(arg) << "' (see --help)\n";
            return std::nullopt;
        }
        if (!parsed.values_.emplace(name, value).second) {
            err << prefix << name << " given twice\n";
            return std::nullopt;
        }
    }
    // A last positional named "TEXT..." takes one or more.
    const bool repeated = !declaration_.positionals.empty() && declaration_.positionals.back().ends_with("...");
    if (parsed.positionals_.size() != declaration_.positionals.size()
        && !(repeated && parsed.positionals_.size() > declaration_.positionals.size())) {
        err << prefix << "expected " << declaration_.expected << " (see --help)\n";
        return std::nullopt;
    }
    if (!CheckAlternatives(parsed, err) || !CheckChoices(parsed, err)) {
        return std::nullopt;
    }
    return parsed;
}

bool Command::CheckAlternatives(const Arguments& args, std::ostream& err) const
{
    for (const Alternatives& alternatives : declaration_.alternatives) {
        const auto given = std::count_if(alternatives.names.begin(), alternatives.names.end(),
            [&](std::string_view name) { return args.Has(name); });
        if (given > 1 || (alternatives.required && given == 0)) {
            err << "tessaly-cli " << declaration_.name << ": give " << (alternatives.required ? "" : "at most ")
                << "one of " << Joined(alternatives.names, ", ") << '\n';
            return false;
        }
    }
    return true;
}

bool Command::CheckChoices(const Arguments& args, std::ostream& err) const
{
    for (const Option& option : declaration_.options) {
        if (option.choices.empty() || !args.Has(option.name) || args.Choice(option.name) < option.choices.size()) {
            continue;
        }
        err << "tessaly-cli " << declaration_.name << ": " << option.name << ": '" << Escaped(args.Value(option.name))
            << "' is not one of";
        for (const std::string_view choice : option.choices) {
            err << ' ' << choice;
        }
        err << '\n';
        return false;
    }
    return true;
}

std::vector<std::string> Command::SynopsisParts() const
{
    std::vector<std::string> parts(declaration_.positionals.begin(), declaration_.positionals.end());
    const auto shown = [](const Option& option) {
        return std::string(option.name) + (option.TakesValue() ? " " + option.Placeholder() : "");
    };
    for (const Option& option : declaration_.options) {
        const auto group = std::find_if(
            declaration_.alternatives.begin(), declaration_.alternatives.end(), [&](const Alternatives& alternatives) {
                return std::find(alternatives.names.begin(), alternatives.names.end(), option.name)
                    != alternatives.names.end();
            });
        if (group == declaration_.alternatives.end()) {
            parts.push_back("[" + shown(option) + "]");
        } else if (group->names.front() == option.name) {
            std::string part;
            for (const std::string_view name : group->names) {
                part += (part.empty() ? "" : " | ") + shown(*FindOption(name));
            }
            parts.push_back(group->required ? "(" + part + ")" : "[" + part + "]");
        }
    }
    return parts;
}

std::string Command::Synopsis() const
{
    std::string synopsis;
    for (const std::string& part : SynopsisParts()) {
        synopsis += (synopsis.empty() ? "" : " ") + part;
    }
    return synopsis;
}

void Command::PrintHelp(std::ostream& out) const
{
    const std::string usage = "Usage: tessaly-cli " + std::string(declaration_.name);
    out << usage << ' ';
    WriteWrapped(out, SynopsisParts(), usage.size() + 1, 7);
    out << '\n' << declaration_.description << '\n';
    if (!declaration_.options.empty()) {
        out << '\n';
    }
    for (const Option& option : declaration_.options) {
        std::string head = "  " + std::string(option.name) + (option.TakesValue() ? " " + option.Placeholder() : "");
        if (head.size() + 2 > kHelpColumn) {
            out << head << '\n';
            head.clear();
        }
        out << head << std::string(kHelpColumn - head.size(), ' ');
        WriteWrapped(out, Words(option.help), kHelpColumn, kHelpColumn);
    }
}

} // namespace tessaly::cli
