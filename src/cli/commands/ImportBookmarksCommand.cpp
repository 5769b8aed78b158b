#include "cli/commands/ImportBookmarksCommand.h"

#include <filesystem>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/reading/KnownReadings.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"
#include "core/util/AtomicFile.h"

namespace tessaly::cli {

namespace {

// "TITLE <URL>" of a bookmark in a report line.
std::string ShownBookmark(const ReportedBookmark& bookmark)
{
    return Escaped(bookmark.title.empty() ? std::string("(no title)") : bookmark.title) + " <" + Escaped(bookmark.url)
        + ">";
}

const char* RefusalText(BookmarkImportReport::Refusal why)
{
    switch (why) {
    case BookmarkImportReport::Refusal::NotAWebAddress: return "not a web address";
    case BookmarkImportReport::Refusal::NoTitle: return "no title";
    case BookmarkImportReport::Refusal::NoReading: return "neither its title nor its address gives a reading";
    case BookmarkImportReport::Refusal::NoSerialLeft: return "no serial number is left in the project";
    }
    return "";
}

void PrintImportReport(const BookmarkImportReport& report, std::ostream& out, std::ostream& err)
{
    // The readings to check go where a script keeps them apart from the counts.
    for (const auto& doubtful : report.doubtfulReadings) {
        err << (doubtful.complete ? "uncertain reading: " : "partial reading: ") << Shown(doubtful.title) << ": "
            << Shown(doubtful.reading) << '\n';
    }
    for (const auto& refused : report.notStored) {
        out << "not imported: " << ShownBookmark(refused.bookmark) << ": " << RefusalText(refused.why) << '\n';
    }

    for (const auto& lost : report.lostCharacters) {
        out << "left out (not in Shift_JIS): " << ShownBookmark(lost.bookmark) << ":";
        for (const std::string& character : lost.characters) {
            out << ' ' << Escaped(character);
        }
        out << '\n';
    }
    for (const auto& [changes, kind] :
        {std::pair{&report.changedGenres, "genre"}, {&report.changedAttributes, "attribute"}}) {
        for (const BookmarkImportReport::ChangedName& changed : *changes) {
            out << kind << " '" << Escaped(changed.given) << "' stored as '" << Shown(changed.stored) << "'\n";
        }
    }
    out << "Imported: " << report.stored << " (new genres: " << report.newGenres
        << ", readings to check: " << report.doubtfulReadings.size()
        << "); already in the collection: " << report.duplicates << "; not imported: " << report.notStored.size()
        << '\n';
}

// The bookmark file at path; nothing (after saying why) when it cannot be
// read or is not one.
std::optional<BookmarkFile> ReadBookmarks(const std::filesystem::path& path, std::ostream& err)
{
    const FileReadResult read = ReadWholeFile(path);
    if (!read.ok) {
        err << "tessaly-cli import-bookmarks: "
            << (read.failure == ReadFailure::NotFound ? ShownPath(path) + ": no such file"
                                                      : "cannot read " + Escaped(read.error))
            << '\n';
        return std::nullopt;
    }
    BookmarkFile file = ReadBookmarkFile(read.data);
    if (file.tooDeep) {
        err << "tessaly-cli import-bookmarks: " << ShownPath(path) << ": its markup is nested more than "
            << kMostBookmarkNesting << " levels deep, which no browser writes; nothing was imported\n";
        return std::nullopt;
    }
    if (!file.isBookmarkFile) {
        err << "tessaly-cli import-bookmarks: " << ShownPath(path)
            << ": not a browser bookmark file (Netscape bookmark format)\n";
        return std::nullopt;
    }
    return file;
}

} // namespace

ImportBookmarksCommand::ImportBookmarksCommand()
    : Command({
          .name = "import-bookmarks",
          .summary = "add the links of a browser's bookmark file",
          .positionals = {"PROJECT.TSP", "BOOKMARKS.HTML", "OUT.TSP"},
          .expected = "a project file, a bookmark file and an output project file",
          .description = "Adds the bookmarks of a bookmark file as browsers export it (Netscape bookmark\n"
                         "format; Firefox, Chromium and others) to the project and writes it to OUT.TSP\n"
                         "(which may be PROJECT.TSP). Each folder becomes a genre. Tags become\n"
                         "attributes, the date the bookmark was added its date (the local day; links\n"
                         "without one are dated today, or TESSALY_TODAY), the description its comment.\n"
                         "Readings are suggested from the titles as for the readings command, with the\n"
                         "project's own readings first; Latin letters and digits are read by rule. Links\n"
                         "whose page is already in the collection are skipped. Prints on standard error\n"
                         "the links whose reading is uncertain or partial, to be checked; on standard\n"
                         "output what was not imported, the characters Shift_JIS lacks and the names\n"
                         "changed to fit the genre rules, then the counts.",
          .options = {
              {.name = "--genre-from",
                  .help = "the genre of a bookmark: its innermost folder (the default), its outermost folder "
                          "(top-folder), or none (all links unfiled)",
                  .choices = {"folder", "top-folder", "none"}},
          },
      })
{
}

int ImportBookmarksCommand::Execute(const Arguments& args, Streams streams) const
{
    if (WouldOverwriteInput(args.Positional(2), args.Positional(1), "import-bookmarks", streams.err)) {
        return 2;
    }
    const std::optional<TDateTime> today = ImportToday("import-bookmarks", streams.err);
    if (!today) {
        return 2;
    }
    const ReadingServiceStatus opened = OpenReadingService();
    if (!opened.service) {
        streams.err << "tessaly-cli import-bookmarks: no readings can be suggested, so no link could be stored: "
                    << Escaped(opened.error) << '\n';
        return 2;
    }
    Project project;
    if (!LoadWholeProject(project, args.Positional(0), LoadPurpose::Rewriting, "import-bookmarks", streams.err)) {
        return 2;
    }
    const KnownReadings known = KnownReadingsOf(project, UserDictionaryPath());
    const LearnedReadingService readings(*opened.service, known);
    const std::optional<BookmarkFile> file = ReadBookmarks(std::filesystem::path(args.Positional(1)), streams.err);
    if (!file) {
        return 2;
    }
    const FixedClock clock(*today);
    const BookmarkImportReport report = ImportBookmarks(
        project, file->bookmarks, readings, clock, static_cast<GenreSource>(args.Choice("--genre-from")));
    PrintImportReport(report, streams.out, streams.err);
    return SaveProject(project, args.Positional(2), "import-bookmarks", streams.err) ? 0 : 2;
}

} // namespace tessaly::cli
