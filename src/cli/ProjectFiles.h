#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include "core/collection/ProjectFile.h"

namespace tessaly::cli {

// Loads a project for a command; prints why and returns the exit code when
// it cannot be used, 0 when it can. Warnings about the file are printed too.
int LoadProject(Project& project, const std::filesystem::path& path, LoadOutcome& outcome, std::ostream& err);

enum class LoadPurpose { Reading, Rewriting };

// Loads the project file of a command that must see all of it; one to be
// rewritten must not have lost a line on reading either, or saving would
// drop it. Prints why and returns false when it cannot be had so.
bool LoadWholeProject(
    Project& project, std::string_view path, LoadPurpose purpose, std::string_view command, std::ostream& err);

// Loads the project of a command that works on its site, with its root
// directory (as code page 932 text) taken from rootArgument unless that is
// empty. Prints why and returns the exit code when either cannot be had, 0
// when both can.
int LoadProjectWithRoot(Project& project, std::string_view path, std::string_view rootArgument,
    std::string_view command, std::ostream& err);

// The two names lead to one file, or would once it is written.
bool SameFile(std::string_view a, std::string_view b);

// True (after saying why) when output names the same file as input, which
// the command reads: writing there would lose it.
bool WouldOverwriteInput(
    std::string_view output, std::string_view input, std::string_view command, std::ostream& err);

// Saves a project the command changed; says why and returns false when it
// could not (the old file is then untouched).
bool SaveProject(Project& project, std::string_view path, std::string_view command, std::ostream& err);

// Writes a file the command made from the project, whole or not at all; says
// why and returns false when it could not.
bool WriteOutputFile(
    const Project& project, std::string_view path, std::string_view data, std::string_view command, std::ostream& err);

} // namespace tessaly::cli
