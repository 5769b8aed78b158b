#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// An option of a command: "--name VALUE" or "--name=VALUE" when it takes a
// value, "--name" alone for a flag. Each may be given once.
struct Option {
    std::string_view name = {}; // "--root"
    std::string_view value = {}; // what the value is ("DIR"); empty for a flag or when choices are given
    std::string_view help = {};
    // The only values it takes, the first of them the default.
    std::vector<std::string_view> choices = {};

    bool TakesValue() const { return !value.empty() || !choices.empty(); }
    // The value as the usage shows it: "DIR", or the choices ("asc|desc").
    std::string Placeholder() const;
};

// Options of which at most one may be given, or exactly one when required;
// the synopsis shows them together ("[--lines | --count]").
struct Alternatives {
    std::vector<std::string_view> names = {};
    bool required = false;
};

// Everything a command is told about on the command line, declared once for
// its parser, its --help, the manual page and the shell completion.
struct CommandDeclaration {
    std::string_view name;
    std::string_view summary; // one line, for the list of commands
    // "PROJECT.TSP", "OUT.TSP"; a last one named "TEXT..." takes one or more.
    std::vector<std::string_view> positionals;
    // What the positionals are, for the message when their number is wrong
    // ("a project file and a CSV file").
    std::string_view expected;
    // Paragraphs separated by an empty line, lines broken by hand.
    std::string_view description;
    std::vector<Option> options = {};
    std::vector<Alternatives> alternatives = {};
};

// The arguments of a command as its declaration reads them.
class Arguments {
public:
    std::string_view Positional(std::size_t i) const { return positionals_[i]; }
    std::span<const std::string_view> Positionals() const { return positionals_; }
    bool Has(std::string_view option) const { return values_.contains(option); }
    // The option's value; empty when it is not given, or is a flag.
    std::string_view Value(std::string_view option) const;
    // The index of the option's value among its choices (the parser takes
    // no other value); 0, the default, when it is not given.
    std::size_t Choice(std::string_view option) const;

private:
    friend class Command;
    const CommandDeclaration* declaration_ = nullptr;
    std::vector<std::string_view> positionals_;
    std::map<std::string_view, std::string_view, std::less<>> values_;
};

// One subcommand of the tool.
class Command {
public:
    explicit Command(CommandDeclaration declaration);
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const CommandDeclaration& Declaration() const { return declaration_; }

    // Runs the command on the arguments after its name; the exit code.
    int Run(std::span<const std::string_view> args, Streams streams) const;

    // The arguments as the declaration reads them; prints why and returns
    // nothing when they do not fit it.
    std::optional<Arguments> Parse(std::span<const std::string_view> args, std::ostream& err) const;

    // The usage, the description and the options, as --help prints them.
    void PrintHelp(std::ostream& out) const;

    // The synopsis on one line ("PROJECT.TSP [--root DIR]").
    std::string Synopsis() const;

private:
    virtual int Execute(const Arguments& args, Streams streams) const = 0;

    // The parts of the synopsis: positionals, options, alternatives.
    std::vector<std::string> SynopsisParts() const;
    const Option* FindOption(std::string_view name) const;
    bool CheckAlternatives(const Arguments& args, std::ostream& err) const;
    bool CheckChoices(const Arguments& args, std::ostream& err) const;

    CommandDeclaration declaration_;
};

} // namespace tessaly::cli
