#include "Commands.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <iostream>

#include <unistd.h>

#include "collection/Project.h"
#include "collection/ProjectFile.h"
#include "design/SimpleDesign.h"
#include "output/OutputRun.h"
#include "text/Codepage.h"
#include "text/FieldText.h"
#include "text/Paths.h"
#include "text/Sjis.h"

namespace tessaly::cli {

namespace {

// Control characters (C0, DEL and C1) of UTF-8 text as escapes, so that a
// name cannot move the cursor or retitle the terminal; tabs too unless
// keepTabs.
std::string Escaped(std::string_view utf8, bool keepTabs = false)
{
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F
            && static_cast<unsigned char>(utf8[i + 1]) >= 0x80;
        if ((byte < 0x20 && !(keepTabs && byte == '\t')) || byte == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : byte;
            char escape[8];
            std::snprintf(escape, sizeof escape, c1 ? "\\u%04X" : "\\x%02X", code);
            shown += escape;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

std::string Shown(std::string_view sjisText)
{
    return Escaped(SjisToUtf8Lossy(sjisText));
}

std::string ShownPath(const std::filesystem::path& path)
{
    return Escaped(path.string());
}

// A run log line keeps its tabs, which separate its parts.
std::string ShownLogLine(std::string_view sjisLine)
{
    return Escaped(SjisToUtf8Lossy(sjisLine), true);
}

const char* SkipReasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::NoKey: return "no {key}= form";
    case SkipReason::UnknownKey: return "unknown key";
    case SkipReason::BadItemLine: return "not a valid item line";
    case SkipReason::BadAuthor: return "owner not taken (name, reading in hiragana, mail)";
    case SkipReason::BadTemplate: return "template without seven fields";
    case SkipReason::MissingDirectory: return "no such directory here";
    }
    return "";
}

// Loads a project for a command; prints why and returns the exit code when
// it cannot be used, 0 when it can.
int LoadForCommand(Project& project, const std::filesystem::path& path, Streams streams, LoadOutcome& outcome)
{
    outcome = LoadProjectFile(project, path);
    switch (outcome.result) {
    case LoadOutcome::Result::Loaded: break;
    case LoadOutcome::Result::NotFound:
        streams.err << "tessaly-cli: " << ShownPath(path) << ": no such project file\n";
        return 1;
    case LoadOutcome::Result::ReadFailed:
        streams.err << "tessaly-cli: cannot read " << Escaped(outcome.error) << '\n';
        return 1;
    case LoadOutcome::Result::NotAProjectFile:
        streams.err << "tessaly-cli: " << ShownPath(path) << ": not a project file\n";
        return 2;
    case LoadOutcome::Result::StoppedAtBadSerialMax:
        streams.err << "tessaly-cli: " << ShownPath(path) << ":" << outcome.badLineNumber << ": {serialmax} is "
                    << (outcome.badValueOutOfRange ? "out of range" : "not a number") << " ('"
                    << Shown(outcome.badValue) << "'); the rest of the file was not read\n";
        break;
    }
    if (outcome.namesWithVerticalLine) {
        streams.err << "warning: " << Shown(VerticalLineWarning()) << '\n';
    }
    return 0;
}

std::string TemplateName(std::string_view stored)
{
    return UnescapeField(stored.substr(0, sjis::FindChar(stored, '/')));
}

int Info(std::span<const std::string_view> args, Streams streams)
{
    if (args.size() != 1) {
        streams.err << "tessaly-cli info: expected one project file\n";
        return 2;
    }
    Project project;
    LoadOutcome outcome;
    if (const int failed = LoadForCommand(project, std::filesystem::path(args[0]), streams, outcome)) {
        return failed;
    }
    std::ostream& out = streams.out;
    out << "Title:          " << Shown(project.Title) << '\n';
    out << "Owner:          " << Shown(project.AuthorName) << '\n';
    out << "Serial maximum: " << project.SerialMax << '\n';
    std::size_t items = 0;
    out << "Genres:\n";
    for (std::size_t i = 0; i < project.TrashIndex(); ++i) {
        const Genre& genre = project.Genres[i];
        out << "  " << Shown(genre.Name) << "  " << genre.Lines.size() << '\n';
        items += genre.Lines.size();
    }
    out << "Items:          " << items << '\n';
    out << "Attributes:     " << project.Attributes.size() << '\n';
    out << "Contents:       " << project.Contents.size() << '\n';
    out << "Templates:     ";
    for (const std::string& stored : project.Templates) {
        out << ' ' << Shown(TemplateName(stored));
    }
    out << '\n';
    out << "Skipped lines:  " << outcome.skippedLines.size() << '\n';
    for (const SkippedLine& skipped : outcome.skippedLines) {
        out << "  line " << skipped.lineNumber << ": " << SkipReasonText(skipped.reason) << '\n';
    }
    return outcome.result == LoadOutcome::Result::Loaded ? 0 : 1;
}

int Resave(std::span<const std::string_view> args, Streams streams)
{
    if (args.size() != 2) {
        streams.err << "tessaly-cli resave: expected an input and an output project file\n";
        return 2;
    }
    Project project;
    LoadOutcome outcome;
    if (const int failed = LoadForCommand(project, std::filesystem::path(args[0]), streams, outcome)) {
        return failed;
    }
    if (!outcome.skippedLines.empty()) {
        streams.err << "tessaly-cli resave: " << outcome.skippedLines.size()
                    << " lines skipped and not written (see 'tessaly-cli info')\n";
    }
    if (outcome.result != LoadOutcome::Result::Loaded) {
        streams.err << "tessaly-cli resave: not saving a project that was read only in part\n";
        return 1;
    }
    const SaveOutcome saved = SaveProjectFile(project, std::filesystem::path(args[1]));
    if (!saved.ok) {
        streams.err << "tessaly-cli: cannot save " << Escaped(saved.error) << '\n';
        return 1;
    }
    return 0;
}

// The value of the option name ("--root") at args[i]: "--root VALUE", which
// moves i on to the value, or "--root=VALUE".
std::optional<std::string_view> OptionValue(
    std::span<const std::string_view> args, std::size_t& i, std::string_view name)
{
    if (args[i] == name && i + 1 < args.size()) {
        return args[++i];
    }
    if (args[i].starts_with(name) && args[i].substr(name.size()).starts_with("=")) {
        return args[i].substr(name.size() + 1);
    }
    return std::nullopt;
}

// PROJECT.TSP [--root DIR]: the project, and its site root as code page 932
// text. Prints why and returns the exit code when either cannot be had, 0
// when both can.
int ProjectWithRoot(std::span<const std::string_view> args, std::string_view command, Streams streams, Project& project)
{
    std::vector<std::string_view> files;
    std::string_view rootArgument;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (const std::optional<std::string_view> root = OptionValue(args, i, "--root")) {
            rootArgument = *root;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 1) {
        streams.err << "tessaly-cli " << command << ": expected one project file (see --help)\n";
        return 2;
    }
    LoadOutcome outcome;
    if (const int failed = LoadForCommand(project, std::filesystem::path(files[0]), streams, outcome)) {
        return failed;
    }
    if (outcome.result != LoadOutcome::Result::Loaded) {
        return 1;
    }
    if (!rootArgument.empty()) {
        std::error_code error;
        const std::filesystem::path root = std::filesystem::absolute(std::filesystem::path(rootArgument), error);
        if (error || !std::filesystem::is_directory(root, error)) {
            streams.err << "tessaly-cli " << command << ": " << Escaped(rootArgument) << ": no such directory\n";
            return 1;
        }
        const std::optional<std::string> sjisRoot = FromFsPath(root.lexically_normal());
        if (!sjisRoot) {
            streams.err << "tessaly-cli " << command << ": " << Escaped(rootArgument)
                        << ": the path cannot be written in Shift_JIS\n";
            return 1;
        }
        project.RootDir = *sjisRoot;
    }
    if (project.RootDir.empty()) {
        streams.err << "tessaly-cli " << command
                    << ": the project has no root directory (or it does not exist here); give one with --root DIR\n";
        return 1;
    }
    return 0;
}

// Progress on a terminal: one line, rewritten in place.
class TerminalProgress final : public OutputObserver {
public:
    explicit TerminalProgress(std::ostream& out)
        : out_(out)
        , enabled_(::isatty(STDOUT_FILENO) != 0)
    {
    }
    ~TerminalProgress() override
    {
        if (enabled_ && shown_) {
            out_ << "\r\033[K" << std::flush;
        }
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void DirectoryStarted(std::size_t, const std::string& directory) override { directory_ = Shown(directory); }
    void ProgressChanged(int position, int maximum) override
    {
        if (!enabled_ || maximum <= 0) {
            return;
        }
        shown_ = true;
        out_ << "\r\033[K[" << (100 * position / maximum) << "%] " << directory_ << std::flush;
    }

private:
    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
    std::string directory_;
};

// Most threads "--jobs" takes; more only cost memory.
constexpr unsigned kMaxJobs = 256;

// Takes "--jobs N" or "--jobs=N" out of args into jobs; false when N is not
// a number from 1 to kMaxJobs.
bool TakeJobs(std::span<const std::string_view> args, std::vector<std::string_view>& rest, unsigned& jobs)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::optional<std::string_view> option = OptionValue(args, i, "--jobs");
        if (!option) {
            rest.push_back(args[i]);
            continue;
        }
        const std::string_view value = *option;
        unsigned number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || number < 1 || number > kMaxJobs) {
            return false;
        }
        jobs = number;
    }
    return true;
}

int Output(std::span<const std::string_view> args, Streams streams)
{
    std::vector<std::string_view> rest;
    unsigned jobs = DefaultJobs();
    if (!TakeJobs(args, rest, jobs)) {
        streams.err << "tessaly-cli output: --jobs takes a number from 1 to " << kMaxJobs << '\n';
        return 2;
    }
    Project project;
    if (const int failed = ProjectWithRoot(rest, "output", streams, project)) {
        return failed;
    }
    const SystemClock clock;
    OutputResult result;
    {
        TerminalProgress progress(streams.out);
        result = RunOutput(project, project.RootDir, clock, progress, jobs);
    }
    for (const std::string& line : result.log) {
        streams.out << ShownLogLine(line) << '\n';
    }
    if (result.status == OutputResult::Status::Failed) {
        streams.err << "tessaly-cli output: the run stopped: " << Escaped(result.error) << '\n';
        return 1;
    }
    streams.out << "Pages in " << Shown(WithTrailingSlash(project.RootDir)) << '\n';
    return 0;
}

int SimpleDesign(std::span<const std::string_view> args, Streams streams)
{
    Project project;
    if (const int failed = ProjectWithRoot(args, "simple-design", streams, project)) {
        return failed;
    }
    const SimpleDesignForm form = InitialSimpleDesign(project);
    for (const std::string& refused : form.refusedRows) {
        streams.err << "tessaly-cli simple-design: _design.tsg: " << Shown(refused) << '\n';
    }
    const SimpleDesignResult result = SaveSimpleDesign(form, project, SystemClock().Today());
    if (!result.ok) {
        streams.err << "tessaly-cli simple-design: "
                    << (result.refusedName.empty() ? Escaped(result.error) : Shown(result.refusedName)) << '\n';
        return 1;
    }
    const std::string root = WithTrailingSlash(project.RootDir);
    streams.out << "Wrote the simple design to " << Shown(root) << ":\n  top menu  " << Shown(root) << '\n';
    for (const SimpleDesignRow& row : form.rows) {
        streams.out << "  " << Shown(row.genre) << "  " << Shown(root + row.directory + "/") << '\n';
    }
    return 0;
}

constexpr std::array kCommands{
    Command{"info", "show what a project file holds",
        "PROJECT.TSP\n\n"
        "Prints the title, serial maximum, each genre with its item count, the sizes of\n"
        "the attribute and content vocabularies, the user template names and any\n"
        "warning from reading the file.\n",
        Info},
    Command{"resave", "read a project file and write it again",
        "IN.TSP OUT.TSP\n\n"
        "Reads IN.TSP and writes it to OUT.TSP in the program's own form. Item lines\n"
        "are written exactly as they were read, so a file the program wrote comes back\n"
        "byte for byte. OUT.TSP is replaced only when the whole file was written.\n",
        Resave},
    Command{"output", "write the site's pages",
        "PROJECT.TSP [--root DIR] [--jobs N]\n\n"
        "Writes the pages of every directory under the project's root directory (or\n"
        "DIR) that has a design. A page whose text has not changed is left alone;\n"
        "surplus pages of earlier runs are deleted. Prints the run log and the counts.\n"
        "Pages are put together on N threads (default: one per core); the pages, the\n"
        "log and the counts are the same for any N.\n",
        Output},
    Command{"simple-design", "design a top menu and one directory per genre",
        "PROJECT.TSP [--root DIR]\n\n"
        "Writes _design.tsg and the directory designs of the simple design into the\n"
        "project's root directory (or DIR): a top menu linking to one directory per\n"
        "genre. Settings of an existing _design.tsg are kept.\n",
        SimpleDesign},
};

} // namespace

std::span<const Command> AllCommands()
{
    return kCommands;
}

} // namespace tessaly::cli
