#pragma once

// The project file (".TSP"): four comment lines, then one {key}=value line
// per setting, user template, vocabulary and item. The reader takes lines in
// any order and skips what it does not understand; the writer emits them in
// a fixed order.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/AtomicFile.h"

namespace tessaly {

class Project;

// Why the reader passed over a line.
enum class SkipReason {
    NoKey, // no "=", or nothing in front of it
    UnknownKey,
    BadItemLine,
    BadAuthor,
    BadTemplate,
    MissingDirectory, // "{rootdir}" or "{bannerdir}" names no directory here
    BadFeedCount, // "{feed}" without a count of items
};

struct SkippedLine {
    std::size_t lineNumber = 0; // 1-based
    SkipReason reason = SkipReason::NoKey;
};

struct LoadOutcome {
    enum class Result {
        Loaded,
        NotFound,
        // The file exists but could not be read; nothing was changed.
        ReadFailed,
        // Not one line has a key of the project file; nothing was changed.
        NotAProjectFile,
        // "{serialmax}=" held no number; the lines before it were read.
        StoppedAtBadSerialMax,
    };
    Result result = Result::Loaded;
    std::size_t badLineNumber = 0; // 1-based, for StoppedAtBadSerialMax
    std::string badValue; // the value that was not a number
    // A number too large or small for 32 bits rather than no number at all.
    bool badValueOutOfRange = false;
    std::string error; // the system's reason for ReadFailed
    // A genre, attribute or content name holds "|".
    bool namesWithVerticalLine = false;
    // Lines that are neither empty nor comments and were passed over.
    std::vector<SkippedLine> skippedLines;
};

// Called before each line with its index and the number of lines.
using LoadProgress = std::function<void(std::size_t lineIndex, std::size_t lineCount)>;

// Reads the file into project without clearing it first (callers reset the
// project for open and reload, and do not for merge). On success the
// project's EditingName becomes path.
LoadOutcome LoadProjectFile(Project& project, const std::filesystem::path& path, const LoadProgress& progress = {});

// Reads the lines of text into project, as LoadProjectFile does.
LoadOutcome LoadProjectText(Project& project, std::string_view text, const LoadProgress& progress = {});

// The whole file as the writer emits it.
std::string ProjectFileText(const Project& project);

struct SaveOutcome {
    bool ok = true;
    WriteFailure failure = WriteFailure::None;
    std::string error; // names the file and the system's reason when not ok
};

// Writes the project to path atomically, and removes what earlier saves of
// that file left behind when they were killed. A file the user may not
// write is not replaced. On success EditingName becomes path and IsEditing
// false; on failure the old file and the project are untouched.
SaveOutcome SaveProjectFile(Project& project, const std::filesystem::path& path);

// Writes a file exported from the project (CSV, search data, bookmarks, a
// link report) as WriteFileAtomically does, but never over the project's
// own file, whatever name or link leads to it: such a write is refused and
// writes nothing.
FileWriteResult WriteExportFile(const Project& project, const std::filesystem::path& path, std::string_view data);
// The same for a writer that knows only the project's file name.
FileWriteResult WriteExportFile(
    const std::filesystem::path& projectFile, const std::filesystem::path& path, std::string_view data);

// The program's messages for load outcomes (code page 932).
std::string ProjectNotFoundMessage(std::string_view fileName);
std::string ProjectReadingMessage(std::string_view fileName);
std::string ProjectInterpretingMessage(std::string_view fileName);
std::string NotAProjectFileMessage(std::string_view fileName);
// Why a save failed, for the kinds of failure the user can act on; the
// general text for the others, to which the system's reason may be added.
std::string SaveFailureMessage(WriteFailure failure, std::string_view fileName);
const std::string& VerticalLineWarning();

} // namespace tessaly
