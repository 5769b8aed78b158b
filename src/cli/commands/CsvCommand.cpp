#include "cli/commands/CsvCommand.h"

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/tools/CsvExport.h"

namespace tessaly::cli {

CsvCommand::CsvCommand()
    : Command({
          .name = "csv",
          .summary = "export the items of one genre as a CSV file",
          .positionals = {"PROJECT.TSP", "OUT.CSV"},
          .expected = "a project file and a CSV file",
          .description = "Writes the items of the genre NAME (default \"【未整理】\") in their stored order\n"
                         "to OUT.CSV: a header line, then one line per item, Shift_JIS with CR LF line\n"
                         "ends. Prints how many text cells begin with =, +, -, @, TAB or CR, which\n"
                         "spreadsheets may run as formulas.",
          .options = {
              {.name = "--genre", .value = "NAME", .help = "the genre to export"},
              {.name = "--comments", .help = "how comments with line breaks are written: erase runs their lines "
                                             "together (the default), top keeps the first line, literal writes "
                                             "C-style escapes (\\\\, \\\" and \\n), none leaves the comment column out",
                  .choices = {"erase", "top", "literal", "none"}},
              {.name = "--safe-formulas",
                  .help = "write a cell that spreadsheets may run as a formula behind an apostrophe, so that it is "
                          "shown as text"},
          },
      })
{
}

int CsvCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::optional<std::string> genreName = TextOption(args, "--genre", UnfiledGenreName(), "csv", streams.err);
    Project project;
    if (!genreName || !LoadWholeProject(project, args.Positional(0), LoadPurpose::Reading, "csv", streams.err)) {
        return 2;
    }
    const std::optional<std::size_t> genre = project.FindGenre(*genreName);
    if (!genre) {
        streams.err << "tessaly-cli csv: --genre: the project has no genre '" << Shown(*genreName) << "'\n";
        return 2;
    }
    std::vector<TLinkItem> items;
    items.reserve(project.Genres[*genre].Lines.size());
    for (const std::string& line : project.Genres[*genre].Lines) {
        items.push_back(LineToItem(line));
    }
    const auto commentMode = static_cast<CsvCommentMode>(args.Choice("--comments"));
    const bool safe = args.Has("--safe-formulas");
    const std::string text = CsvText(items, commentMode, safe ? CsvFormulas::Defused : CsvFormulas::AsStored);
    if (!WriteOutputFile(project, args.Positional(1), text, "csv", streams.err)) {
        return 2;
    }
    if (const std::size_t formulas = CsvFormulaCells(items, commentMode); formulas > 0) {
        streams.out << formulas << " cells begin with =, +, -, @, TAB or CR, which spreadsheets may run as formulas"
                    << (safe ? "; they were written behind an apostrophe\n"
                             : " (--safe-formulas writes them as text)\n");
    }
    return 0;
}

} // namespace tessaly::cli
