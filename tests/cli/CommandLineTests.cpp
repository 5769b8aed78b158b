// The command declarations drive the parser, --help and the completion:
// every declared option is taken, shown and completed, and arguments that do
// not fit are refused before any file is touched.

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Docs.h"
#include "cli/commands/CommandList.h"

namespace tessaly::cli {
namespace {

// The options the completion offers after the command.
std::string CompletedOptions(std::string_view command)
{
    std::ostringstream completion;
    WriteBashCompletion(completion);
    const std::string text = completion.str();
    const std::string start = "        " + std::string(command) + ")\n            options+='";
    const std::size_t begin = text.find(start);
    if (begin == std::string::npos) {
        return {};
    }
    const std::size_t words = begin + start.size();
    return text.substr(words, text.find('\'', words) - words) + ' ';
}

// Arguments the command takes without the option: its positionals and one
// of each set of alternatives it must be given.
std::vector<std::string_view> BaseArguments(const CommandDeclaration& declaration, std::string_view option)
{
    std::vector<std::string_view> args(declaration.positionals.begin(), declaration.positionals.end());
    for (const Alternatives& alternatives : declaration.alternatives) {
        const bool chosen
            = std::find(alternatives.names.begin(), alternatives.names.end(), option) != alternatives.names.end();
        if (alternatives.required && !chosen) {
            args.insert(args.end(), {alternatives.names.front(), "1"});
        }
    }
    return args;
}

TEST(CommandLine, EveryDeclaredOptionIsParsedShownAndCompleted)
{
    for (const Command* command : AllCommands()) {
        const CommandDeclaration& declaration = command->Declaration();
        std::ostringstream help;
        command->PrintHelp(help);
        for (const Option& option : declaration.options) {
            SCOPED_TRACE(std::string(declaration.name) + " " + std::string(option.name));
            const std::string_view value = option.choices.empty() ? "1" : option.choices.back();
            const std::string joined = std::string(option.name) + "=" + std::string(value);
            std::vector<std::vector<std::string_view>> spellings{{option.name}};
            if (option.TakesValue()) {
                spellings = {{option.name, value}, {joined}};
            }
            for (const std::vector<std::string_view>& spelling : spellings) {
                std::vector<std::string_view> args = BaseArguments(declaration, option.name);
                args.insert(args.begin(), spelling.begin(), spelling.end());
                std::ostringstream err;
                const std::optional<Arguments> parsed = command->Parse(args, err);
                ASSERT_TRUE(parsed) << err.str();
                EXPECT_TRUE(parsed->Has(option.name));
                EXPECT_EQ(parsed->Value(option.name), option.TakesValue() ? value : "");
                EXPECT_EQ(parsed->Positional(0), declaration.positionals.front());
            }
            EXPECT_NE(help.str().find("\n  " + std::string(option.name) + (option.TakesValue() ? " " : "")),
                std::string::npos);
            EXPECT_NE(CompletedOptions(declaration.name).find(" " + std::string(option.name) + " "), std::string::npos);
        }
    }
}

TEST(CommandLine, ArgumentsThatDoNotFitAreRefused)
{
    const struct {
        std::vector<std::string_view> args;
        std::string_view message;
    } cases[] = {
        {{"csv", "p.TSP", "x.csv", "--colour", "red"}, "tessaly-cli csv: unknown option '--colour' (see --help)\n"},
        {{"diz", "p.TSP", "x.diz", "--erase-breaks=yes"}, "tessaly-cli diz: unknown option '--erase-breaks=yes'"},
        {{"search", "p.TSP", "--keyword"}, "tessaly-cli search: --keyword needs a value\n"},
        {{"check-links", "p.TSP", "--jobs=2", "--jobs", "3"}, "tessaly-cli check-links: --jobs given twice\n"},
        {{"tidy", "p.TSP"}, "tessaly-cli tidy: expected a project file and an output project file (see --help)\n"},
        {{"info", "p.TSP", "--help"}, "tessaly-cli info: unknown option '--help'"},
        {{"diz", "p.TSP", "x.diz", "--sort-by", "size"}, "--sort-by: 'size' is not one of title-kana author-kana"},
        {{"search", "p.TSP", "--lines", "--count"}, "tessaly-cli search: give at most one of --lines, --count\n"},
        {{"newest", "p.TSP"}, "tessaly-cli newest: give one of --day, --from, --until, --last-days\n"},
        // An output never goes over a file the command reads.
        {{"import-rkm", "p.TSP", "in.TSM", "./in.TSM"}, "tessaly-cli import-rkm: ./in.TSM is the file in.TSM the command"},
        {{"import-bookmarks", "p.TSP", "b.html", "b.html"}, "tessaly-cli import-bookmarks: b.html is the file b.html"},
        {{"check-links", "p.TSP", "--mark-failed", "--out", "r.csv", "--report", "r.csv"},
            "tessaly-cli check-links: --out and --report name the same file"},
        // "--" ends the options, and a repeated last positional wants one at least.
        {{"tidy", "--", "--match-case", "p.TSP", "q.TSP"}, "tessaly-cli tidy: expected a project file"},
        {{"readings"}, "tessaly-cli readings: expected one or more texts (see --help)\n"},
        {{"readings", "--project"}, "tessaly-cli readings: --project needs a value\n"},
    };
    for (const auto& [args, message] : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCommand(args, {out, err}), 2) << args.front();
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
    }
}

} // namespace
} // namespace tessaly::cli
