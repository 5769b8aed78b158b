#include "cli/ProjectFiles.h"

#include <optional>
#include <string>
#include <system_error>

#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"
#include "core/util/AtomicFile.h"

namespace tessaly::cli {

int LoadProject(Project& project, const std::filesystem::path& path, LoadOutcome& outcome, std::ostream& err)
{
    outcome = LoadProjectFile(project, path);
    switch (outcome.result) {
    case LoadOutcome::Result::Loaded: break;
    case LoadOutcome::Result::NotFound:
        err << "tessaly-cli: " << ShownPath(path) << ": no such project file\n";
        return 1;
    case LoadOutcome::Result::ReadFailed:
        err << "tessaly-cli: cannot read " << Escaped(outcome.error) << '\n';
        return 1;
    case LoadOutcome::Result::NotAProjectFile:
        err << "tessaly-cli: " << ShownPath(path) << ": not a project file\n";
        return 2;
    case LoadOutcome::Result::StoppedAtBadSerialMax:
        err << "tessaly-cli: " << ShownPath(path) << ":" << outcome.badLineNumber << ": {serialmax} is "
            << (outcome.badValueOutOfRange ? "out of range" : "not a number") << " ('" << Shown(outcome.badValue)
            << "'); the rest of the file was not read\n";
        break;
    }
    if (outcome.namesWithVerticalLine) {
        // The desktop program's message, its lines run together.
        err << "warning:";
        for (const std::string_view line : SplitLines(VerticalLineWarning())) {
            err << ' ' << Shown(line);
        }
        err << '\n';
    }
    if (const std::optional<std::filesystem::path> copy = InPlaceWriteCopy(path)) {
        err << "warning: a save of " << ShownPath(path) << " was cut off; the file before it is kept in "
            << ShownPath(*copy) << '\n';
    }
    return 0;
}

bool LoadWholeProject(
    Project& project, std::string_view path, LoadPurpose purpose, std::string_view command, std::ostream& err)
{
    LoadOutcome outcome;
    if (LoadProject(project, std::filesystem::path(path), outcome, err) != 0
        || outcome.result != LoadOutcome::Result::Loaded) {
        return false;
    }
    if (!outcome.skippedLines.empty()) {
        const bool refused = purpose == LoadPurpose::Rewriting;
        err << (refused ? "tessaly-cli " + std::string(command) + ": " : std::string("warning: "))
            << outcome.skippedLines.size() << " lines could not be read (see 'tessaly-cli info')"
            << (refused ? "; not writing a project that would lose them\n" : "\n");
        return !refused;
    }
    return true;
}

int LoadProjectWithRoot(
    Project& project, std::string_view path, std::string_view rootArgument, std::string_view command, std::ostream& err)
{
    LoadOutcome outcome;
    if (const int failed = LoadProject(project, std::filesystem::path(path), outcome, err)) {
        return failed;
    }
    if (outcome.result != LoadOutcome::Result::Loaded) {
        return 1;
    }
    if (!rootArgument.empty()) {
        std::error_code error;
        const std::filesystem::path root = std::filesystem::absolute(std::filesystem::path(rootArgument), error);
        if (error || !std::filesystem::is_directory(root, error)) {
            err << "tessaly-cli " << command << ": " << Escaped(rootArgument) << ": no such directory\n";
            return 1;
        }
        const std::optional<std::string> sjisRoot = FromFsPath(root.lexically_normal());
        if (!sjisRoot) {
            err << "tessaly-cli " << command << ": " << Escaped(rootArgument)
                << ": the path cannot be written in Shift_JIS\n";
            return 1;
        }
        project.RootDir = *sjisRoot;
    }
    if (project.RootDir.empty()) {
        err << "tessaly-cli " << command
            << ": the project has no root directory (or it does not exist here); give one with --root DIR\n";
        return 1;
    }
    return 0;
}

bool SameFile(std::string_view a, std::string_view b)
{
    const std::filesystem::path first(a);
    const std::filesystem::path second(b);
    std::error_code error;
    if (std::filesystem::equivalent(first, second, error)) {
        return true;
    }
    return std::filesystem::absolute(first, error).lexically_normal()
        == std::filesystem::absolute(second, error).lexically_normal();
}

bool WouldOverwriteInput(
    std::string_view output, std::string_view input, std::string_view command, std::ostream& err)
{
    if (!SameFile(output, input)) {
        return false;
    }
    err << "tessaly-cli " << command << ": " << Escaped(output) << " is the file " << Escaped(input)
        << " the command reads; choose another output file\n";
    return true;
}

bool SaveProject(Project& project, std::string_view path, std::string_view command, std::ostream& err)
{
    const SaveOutcome saved = SaveProjectFile(project, std::filesystem::path(path));
    if (!saved.ok) {
        err << "tessaly-cli " << command << ": cannot save " << Escaped(saved.error) << '\n';
    }
    return saved.ok;
}

bool WriteOutputFile(
    const Project& project, std::string_view path, std::string_view data, std::string_view command, std::ostream& err)
{
    const FileWriteResult written = WriteExportFile(project, std::filesystem::path(path), data);
    if (!written.ok) {
        err << "tessaly-cli " << command << ": cannot write " << Escaped(written.error) << '\n';
    }
    return written.ok;
}

} // namespace tessaly::cli
