#pragma once

// Browser bookmarks into the collection: folders become genres, tags
// attributes, the link text the title with a suggested reading. What cannot
// be stored is reported, never dropped silently.

#include <cstddef>
#include <string>
#include <vector>

#include "core/reading/DoubtfulReading.h"
#include "core/tools/BookmarkFile.h"

namespace tessaly {

class Clock;
class Project;
class ReadingService;

enum class GenreSource {
    Folder, // the innermost folder
    TopFolder, // the outermost folder
    None, // everything unfiled
};

// A bookmark the report names (title and address as in the file, UTF-8).
struct ReportedBookmark {
    std::string title;
    std::string url;
};

struct BookmarkImportReport {
    enum class Refusal {
        NotAWebAddress, // not http or https (javascript:, ftp:, place:, ...), or no host
        NoTitle,
        NoReading, // neither the title nor the address gives a reading
        NoSerialLeft, // every serial of the project is taken
    };
    struct NotStored {
        ReportedBookmark bookmark;
        Refusal why;
    };
    struct LostCharacters {
        ReportedBookmark bookmark;
        std::vector<std::string> characters; // UTF-8
    };
    struct ChangedName {
        std::string given; // UTF-8
        std::string stored; // code page 932
    };

    std::size_t stored = 0;
    std::size_t duplicates = 0; // already in the collection, skipped
    std::size_t newGenres = 0;
    std::vector<NotStored> notStored;
    std::vector<DoubtfulReading> doubtfulReadings; // stored, the reading to be checked
    std::vector<LostCharacters> lostCharacters; // stored without them
    std::vector<ChangedName> changedGenres; // folder names the genre rules refuse
    std::vector<ChangedName> changedAttributes; // tags the name rules refuse
};

// Adds the bookmarks to the project, each with a new serial, at the end of
// its genre. Readings come from the service; a title without any (all
// symbols) is read as the site's address, a guess the report lists. Links whose address is already in the
// collection (UrlIdentity) are skipped. Bookmarks without a date are dated
// today. Sets IsEditing when anything was stored.
BookmarkImportReport ImportBookmarks(Project& project, const std::vector<Bookmark>& bookmarks,
    const ReadingService& readings, const Clock& clock, GenreSource genres = GenreSource::Folder);

// The closing message of the import in the program (code page 932): the
// counts, then what was not stored, the partial readings, the characters
// left out and the changed names, each list cut after a few entries.
std::string BookmarkImportMessage(const BookmarkImportReport& report);

} // namespace tessaly
