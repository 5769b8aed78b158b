#include "cli/commands/ReadingsCommand.h"

#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/reading/KnownReadings.h"
#include "core/text/Codepage.h"

namespace tessaly::cli {

namespace {

const char* CertaintyOf(const ReadingSuggestion& suggestion)
{
    if (!suggestion.complete) {
        return "partial";
    }
    return suggestion.uncertain ? "uncertain" : "certain";
}

} // namespace

ReadingsCommand::ReadingsCommand()
    : Command({
          .name = "readings",
          .summary = "print the suggested reading of titles and names",
          .positionals = {"TEXT..."},
          .expected = "one or more texts",
          .description = "Prints, for each TEXT, a line of the text, its suggested reading in hiragana and\n"
                         "how far it can be trusted, separated by tabs: \"certain\"; \"uncertain\" when a\n"
                         "word was unknown, a name has other readings as likely, or Latin letters or\n"
                         "digits were read by rule; \"partial\" when something could not be read.\n"
                         "Characters Shift_JIS lacks are read in their nearest form or left out, as an\n"
                         "import stores them; \"--\" before a text that begins with \"--\".\n"
                         "Readings the user taught the program (his dictionary of readings,\n"
                         "$XDG_DATA_HOME/tessaly/readings.txt) come first, then those of the project's\n"
                         "items with --project.",
          .options = {
              {.name = "--project", .value = "PROJECT.TSP", .help = "read as the titles and authors of this project are read"},
          },
      })
{
}

int ReadingsCommand::Execute(const Arguments& args, Streams streams) const
{
    const ReadingServiceStatus opened = OpenReadingService();
    if (!opened.service) {
        streams.err << "tessaly-cli readings: " << Escaped(opened.error) << '\n';
        return 2;
    }
    Project project;
    if (args.Has("--project")
        && !LoadWholeProject(project, args.Value("--project"), LoadPurpose::Reading, "readings", streams.err)) {
        return 2;
    }
    const KnownReadings known = KnownReadingsOf(project, UserDictionaryPath());
    const LearnedReadingService readings(*opened.service, known);
    int status = 0;
    for (const std::string_view text : args.Positionals()) {
        if (!Utf8ToUtf16(text)) {
            streams.err << "tessaly-cli readings: '" << Escaped(text) << "' is not UTF-8 text\n";
            status = 1;
            continue;
        }
        // As an import stores it: characters Shift_JIS lacks become their
        // nearest form or are left out.
        const NearestConversion sjis = Utf8ToSjisNearest(text);
        const ReadingSuggestion suggestion = readings.Suggest(sjis.text);
        streams.out << Escaped(text) << '\t' << SjisToUtf8Lossy(suggestion.reading) << '\t' << CertaintyOf(suggestion)
                    << '\n';
    }
    return status;
}

} // namespace tessaly::cli
