#pragma once

// Import of the links of an RKM data file (".TSM", the link-page tool
// Rookmere's format) into the collection: its category block defines
// genres, attributes and contents, each link block becomes a new item.
// Option, macro and template blocks are passed over.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/reading/DoubtfulReading.h"
#include "core/text/DateTime.h"

namespace tessaly {

class Project;
class ReadingService;

// A link the import did not store: the project reader would drop its line
// at the next open, or its page or banner address is none the pages may
// carry (SafeStoredUrl).
struct RkmRefusedLink {
    std::string title;
    ItemProblem problem = ItemProblem::None;
    std::string refusedAddress; // as read, when problem is None
};

// A genre, attribute or content name of the category block that the name
// rules refuse (ValidNameOf), as read and as stored; stored is empty when
// nothing of the name was left and the definition was passed over.
struct RkmChangedName {
    std::string given;
    std::string stored;
};

struct RkmImportResult {
    enum class Status { Imported, NotFound, ReadFailed };
    Status status = Status::Imported;
    std::string error; // the system's reason for ReadFailed
    std::size_t stored = 0; // links imported
    std::vector<RkmRefusedLink> refused; // links not imported
    // Titles of links imported though their block or comment was not
    // closed: they end where the next block begins or the file ends.
    std::vector<std::string> unclosed;
    std::size_t newGenres = 0;
    std::size_t newAttributes = 0;
    std::size_t newContents = 0;
    // Category keys of links that no definition before them named, each once
    // as first written.
    std::vector<std::string> unknownKeys;
    std::vector<RkmChangedName> changedNames;
    std::vector<DoubtfulReading> doubtfulReadings; // stored, the reading to be checked
};

// Told before each line its index and the index of the last line.
using RkmProgress = std::function<void(std::size_t line, std::size_t lastLine)>;

// Imports the text of an RKM file into the project (its item lines; the
// shown genre must have been written back first). Links without a valid
// date are dated today. Readings in katakana are repaired (RepairReading);
// a reading that is empty or cannot be repaired is suggested from the title
// or author name by readings, when given; the links whose suggestion is
// not certain are listed for checking. A
// link that still lacks a title, a page address or a hiragana reading, or
// whose page or banner address SafeStoredUrl refuses, is not stored and
// takes no serial. A link whose block or comment is not closed is stored
// and named. A category key the file has not defined (yet) is passed over
// and reported; names the name rules refuse are made valid (ValidNameOf)
// and reported. Sets IsEditing.
RkmImportResult ImportRkmText(Project& project, std::string_view text, TDateTime today,
    const RkmProgress& progress = {}, const ReadingService* readings = nullptr);

// Reads the file and imports it; a missing or unreadable file changes
// nothing. The status bar and progress texts are those of loading a project
// (ProjectReadingMessage, ProjectInterpretingMessage).
RkmImportResult ImportRkmFile(Project& project, const std::filesystem::path& path, TDateTime today,
    const RkmProgress& progress = {}, const ReadingService* readings = nullptr);

// The messages of the import (code page 932).
std::string RkmNotFoundMessage(std::string_view fileName);
std::string RkmRefusalReason(const RkmRefusedLink& link);
// "GIVEN -> STORED" of a changed name, its control characters and bytes
// that are no character written by their codes.
std::string RkmChangedNameText(const RkmChangedName& name);
// The closing message: the counts, then the links not imported with their
// reasons, the links not closed, the unknown category keys and the changed
// names.
std::string RkmImportMessage(const RkmImportResult& result);
// True when the closing message has more than the counts to say.
bool RkmImportHasWarnings(const RkmImportResult& result);

} // namespace tessaly
