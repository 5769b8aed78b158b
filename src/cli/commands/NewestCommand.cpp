#include "cli/commands/NewestCommand.h"

#include <map>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"

namespace tessaly::cli {

namespace {

// The period the options ask for; nothing (after saying why) when a date is
// not a date, or --to is given without --from.
std::optional<NewestPeriod> NewestPeriodOf(const Arguments& args, const Clock& clock, std::ostream& err)
{
    if (args.Has("--to") && !args.Has("--from")) {
        err << "tessaly-cli newest: give one of --day, --from (with --to or not), --until, --last-days\n";
        return std::nullopt;
    }
    std::map<std::string_view, TDateTime> dates;
    for (const std::string_view option : {"--day", "--from", "--to", "--until"}) {
        if (!args.Has(option)) {
            continue;
        }
        const std::optional<TDateTime> date = CommandLineDate(args.Value(option));
        if (!date) {
            err << "tessaly-cli newest: " << option << ": '" << Escaped(args.Value(option))
                << "' is not a date (YYYY/MM/DD)\n";
            return std::nullopt;
        }
        dates[option] = *date;
    }
    if (args.Has("--day")) {
        return NewestPeriod{NewestPeriodMode::Day, dates["--day"], {}};
    }
    if (args.Has("--from")) {
        return args.Has("--to") ? NewestPeriod{NewestPeriodMode::Range, dates["--from"], dates["--to"]}
                                : NewestPeriod{NewestPeriodMode::From, dates["--from"], {}};
    }
    if (args.Has("--until")) {
        return NewestPeriod{NewestPeriodMode::Until, {}, dates["--until"]};
    }
    const std::optional<int32_t> days = WholeNumber(args.Value("--last-days"));
    if (!days || *days < 1) {
        err << "tessaly-cli newest: --last-days: '" << Escaped(args.Value("--last-days"))
            << "' is not a number of days (1 or more)\n";
        return std::nullopt;
    }
    const TDateTime today = clock.Today();
    return NewestPeriod{NewestPeriodMode::Range, TDateTime{today.Value - (*days - 1)}, today};
}

} // namespace

NewestCommand::NewestCommand()
    : Command({
          .name = "newest",
          .summary = "keep the attribute \"最新\" on the items of a period",
          .positionals = {"PROJECT.TSP"},
          .expected = "one project file",
          .description = "Gives \"最新\" to every item registered in the period and takes it from every\n"
                         "other item; adds \"最新\" first to the attributes when the project lacks it.\n"
                         "Dates are YYYY/MM/DD (or YYYY-MM-DD). Writes the project in place, only when\n"
                         "something changed, or always to OUT.TSP; a file is replaced only when the\n"
                         "whole file was written. Prints the number of changed items.",
          .options = {
              {.name = "--day", .value = "DATE", .help = "the period is the day DATE"},
              {.name = "--from", .value = "DATE", .help = "the period begins on DATE"},
              {.name = "--to", .value = "DATE", .help = "with --from: the period ends on DATE"},
              {.name = "--until", .value = "DATE", .help = "the period ends on DATE"},
              {.name = "--last-days", .value = "N", .help = "the period from N-1 days before today to today"},
              {.name = "--out", .value = "OUT.TSP", .help = "write the project there instead of in place"},
          },
          .alternatives = {{.names = {"--day", "--from", "--until", "--last-days"}, .required = true}},
      })
{
}

int NewestCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::optional<NewestPeriod> period = NewestPeriodOf(args, SystemClock(), streams.err);
    Project project;
    if (!period || !LoadWholeProject(project, args.Positional(0), LoadPurpose::Rewriting, "newest", streams.err)) {
        return 2;
    }
    const std::size_t changed = AdjustNewestAttribute(project, *period);
    const bool inPlace = !args.Has("--out");
    if ((!inPlace || project.IsEditing)
        && !SaveProject(project, inPlace ? args.Positional(0) : args.Value("--out"), "newest", streams.err)) {
        return 2;
    }
    streams.out << changed << '\n';
    return 0;
}

} // namespace tessaly::cli
