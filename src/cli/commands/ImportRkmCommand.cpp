#include "cli/commands/ImportRkmCommand.h"

#include <filesystem>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/reading/KnownReadings.h"
#include "core/tools/RkmImport.h"

namespace tessaly::cli {

namespace {

std::string RkmRefusalText(const RkmRefusedLink& link)
{
    switch (link.problem) {
    case ItemProblem::TitleMissing: return "no title";
    case ItemProblem::TitleKanaMissing: return "no reading of the title";
    case ItemProblem::TitleKanaNotHiragana: return "the reading of the title cannot be made hiragana";
    case ItemProblem::AuthorKanaMissing: return "no reading of the author";
    case ItemProblem::AuthorKanaNotHiragana: return "the reading of the author cannot be made hiragana";
    case ItemProblem::UrlMissing: return "no page address";
    case ItemProblem::DateInvalid: return "the date is not valid";
    case ItemProblem::NoSerialLeft: return "every serial number is taken";
    case ItemProblem::None: break;
    }
    return "not an address the pages may carry: " + Shown(link.refusedAddress);
}

} // namespace

ImportRkmCommand::ImportRkmCommand()
    : Command({
          .name = "import-rkm",
          .summary = "add the links of an RKM data file (.TSM)",
          .positionals = {"PROJECT.TSP", "FILE.TSM", "OUT.TSP"},
          .expected = "a project file, an RKM file and an output project file",
          .description = "Adds the genres, attributes, contents and links of the RKM file to the project\n"
                         "and writes it to OUT.TSP (which may be PROJECT.TSP). Readings in katakana are\n"
                         "turned into hiragana; a link that still lacks a title, a page address or a\n"
                         "hiragana reading is not imported and is named on stderr. Links without a date\n"
                         "are dated today, or the date in the environment variable TESSALY_TODAY\n"
                         "(YYYY/MM/DD).",
          .options = {
              {.name = "--suggest-readings",
                  .help = "make a missing reading from the title or author, as the desktop program's import does; "
                          "the uncertain ones are listed on standard error"},
          },
      })
{
}

int ImportRkmCommand::Execute(const Arguments& args, Streams streams) const
{
    if (WouldOverwriteInput(args.Positional(2), args.Positional(1), "import-rkm", streams.err)) {
        return 2;
    }
    const std::optional<TDateTime> today = ImportToday("import-rkm", streams.err);
    Project project;
    if (!today || !LoadWholeProject(project, args.Positional(0), LoadPurpose::Rewriting, "import-rkm", streams.err)) {
        return 2;
    }
    const std::filesystem::path rkmFile(args.Positional(1));
    // Readings are suggested only when asked for: without it the file is
    // taken exactly by its own rules.
    const ReadingServiceStatus opened
        = args.Has("--suggest-readings") ? OpenReadingService() : ReadingServiceStatus{};
    const KnownReadings known = opened.service ? KnownReadingsOf(project, UserDictionaryPath()) : KnownReadings();
    const std::optional<LearnedReadingService> readings
        = opened.service ? std::make_optional<LearnedReadingService>(*opened.service, known) : std::nullopt;
    const RkmImportResult result = ImportRkmFile(project, rkmFile, *today, {}, readings ? &*readings : nullptr);
    switch (result.status) {
    case RkmImportResult::Status::Imported: break;
    case RkmImportResult::Status::NotFound:
        streams.err << "tessaly-cli import-rkm: " << ShownPath(rkmFile) << ": no such file\n";
        return 2;
    case RkmImportResult::Status::ReadFailed:
        streams.err << "tessaly-cli import-rkm: cannot read " << Escaped(result.error) << '\n';
        return 2;
    }
    for (const RkmRefusedLink& link : result.refused) {
        streams.err << "not imported: " << Shown(link.title) << ": " << RkmRefusalText(link) << '\n';
    }
    for (const DoubtfulReading& link : result.doubtfulReadings) {
        streams.err << (link.complete ? "uncertain reading: " : "partial reading: ") << Shown(link.title) << ": "
                    << Shown(link.reading) << '\n';
    }
    for (const std::string& title : result.unclosed) {
        streams.out << "imported, though its block was not closed: " << Shown(title) << '\n';
    }
    for (const std::string& key : result.unknownKeys) {
        streams.out << "category key without a definition before it, ignored: " << Shown(key) << '\n';
    }
    for (const RkmChangedName& name : result.changedNames) {
        streams.out << "name '" << Shown(name.given) << "' "
                    << (name.stored.empty() ? std::string("not taken") : "stored as '" + Shown(name.stored) + "'")
                    << '\n';
    }
    streams.out << "Imported: " << result.stored << "; not imported: " << result.refused.size()
                << "; new genres: " << result.newGenres << ", attributes: " << result.newAttributes
                << ", contents: " << result.newContents << '\n';
    return SaveProject(project, args.Positional(2), "import-rkm", streams.err) ? 0 : 2;
}

} // namespace tessaly::cli
