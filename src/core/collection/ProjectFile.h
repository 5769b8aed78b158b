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

namespace tessaly {

class Project;

struct LoadOutcome {
    enum class Result {
        Loaded,
        NotFound,
        // The file exists but could not be read; nothing was changed.
        ReadFailed,
        // "{serialmax}=" held no number; the lines before it were read.
        StoppedAtBadSerialMax,
    };
    Result result = Result::Loaded;
    std::size_t badLineNumber = 0; // 1-based, for StoppedAtBadSerialMax
    std::string badValue; // the value that was not a number
    std::string error; // the system's reason for ReadFailed
    // A genre, attribute or content name holds "|".
    bool namesWithVerticalLine = false;
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
    std::string error; // the system's reason when not ok
};

// Writes the project to path atomically. On success EditingName becomes path
// and IsEditing false; on failure the old file and the project are untouched.
SaveOutcome SaveProjectFile(Project& project, const std::filesystem::path& path);

// The program's messages for load outcomes (code page 932).
std::string ProjectNotFoundMessage(std::string_view fileName);
std::string ProjectReadingMessage(std::string_view fileName);
std::string ProjectInterpretingMessage(std::string_view fileName);
const std::string& VerticalLineWarning();

} // namespace tessaly
