#include "cli/Commands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/collection/ItemClipboard.h"
#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/design/SimpleDesign.h"
#include "core/linkcheck/ItemLinks.h"
#include "core/linkcheck/LinkChecker.h"
#include "core/linkcheck/LinkReport.h"
#include "core/output/OutputRun.h"
#include "core/search/SearchMode.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/FieldText.h"
#include "core/text/Paths.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/reading/ReadingService.h"
#include "core/text/Url.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"
#include "core/tools/CsvExport.h"
#include "core/tools/DuplicateLinks.h"
#include "core/tools/DomainReplace.h"
#include "core/tools/RkmImport.h"
#include "core/tools/SearchData.h"
#include "core/tools/TagTidy.h"
#include "core/util/AtomicFile.h"

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
        // The desktop program's message, its lines run together.
        streams.err << "warning:";
        for (const std::string_view line : SplitLines(VerticalLineWarning())) {
            streams.err << ' ' << Shown(line);
        }
        streams.err << '\n';
    }
    if (const std::optional<std::filesystem::path> copy = InPlaceWriteCopy(path)) {
        streams.err << "warning: a save of " << ShownPath(path) << " was cut off; the file before it is kept in "
                    << ShownPath(*copy) << '\n';
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

// The options of a command: "--name VALUE" or "--name=VALUE" for the names
// that take a value, "--name" for flags; every other argument is a file.
class Options {
public:
    // Prints why and returns nothing when an option is unknown, repeated or
    // lacks its value.
    static std::optional<Options> Parse(std::span<const std::string_view> args,
        std::span<const std::string_view> valueNames, std::span<const std::string_view> flagNames,
        std::string_view command, Streams streams);

    const std::vector<std::string_view>& Files() const { return files_; }
    bool Has(std::string_view name) const { return values_.contains(name); }
    std::string_view Value(std::string_view name) const
    {
        const auto found = values_.find(name);
        return found == values_.end() ? std::string_view() : found->second;
    }

private:
    std::vector<std::string_view> files_;
    std::map<std::string_view, std::string_view, std::less<>> values_;
};

std::optional<Options> Options::Parse(std::span<const std::string_view> args,
    std::span<const std::string_view> valueNames, std::span<const std::string_view> flagNames, std::string_view command,
    Streams streams)
{
    const auto named = [](std::span<const std::string_view> names, std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!arg.starts_with("--")) {
            options.files_.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        std::string_view value;
        if (named(valueNames, name)) {
            if (equals == std::string_view::npos && i + 1 >= args.size()) {
                streams.err << "tessaly-cli " << command << ": " << name << " needs a value\n";
                return std::nullopt;
            }
            value = equals == std::string_view::npos ? args[++i] : arg.substr(equals + 1);
        } else if (!named(flagNames, name) || equals != std::string_view::npos) {
            streams.err << "tessaly-cli " << command << ": unknown option '" << Escaped(arg) << "' (see --help)\n";
            return std::nullopt;
        }
        if (!options.values_.emplace(name, value).second) {
            streams.err << "tessaly-cli " << command << ": " << name << " given twice\n";
            return std::nullopt;
        }
    }
    return options;
}

enum class LoadPurpose { Reading, Rewriting };

// True when the command was given exactly the files its usage names; says
// what it expected otherwise.
bool ExpectFiles(
    const Options& options, std::size_t count, std::string_view expected, std::string_view command, Streams streams)
{
    if (options.Files().size() != count) {
        streams.err << "tessaly-cli " << command << ": expected " << expected << " (see --help)\n";
        return false;
    }
    return true;
}

// Loads the project file of a command that must see all of it; one to be
// rewritten must not have lost a line on reading either, or saving would
// drop it. Prints why and returns false when it cannot be had so.
bool LoadWholeProject(
    Project& project, std::string_view path, LoadPurpose purpose, std::string_view command, Streams streams)
{
    LoadOutcome outcome;
    if (LoadForCommand(project, std::filesystem::path(path), streams, outcome) != 0
        || outcome.result != LoadOutcome::Result::Loaded) {
        return false;
    }
    if (!outcome.skippedLines.empty()) {
        const bool refused = purpose == LoadPurpose::Rewriting;
        streams.err << (refused ? "tessaly-cli " + std::string(command) + ": " : std::string("warning: "))
                    << outcome.skippedLines.size() << " lines could not be read (see 'tessaly-cli info')"
                    << (refused ? "; not writing a project that would lose them\n" : "\n");
        return !refused;
    }
    return true;
}

// A text of the command line (UTF-8) in code page 932; prints why and
// returns nothing when it holds a character that code page 932 lacks.
std::optional<std::string> ArgumentText(
    std::string_view utf8, std::string_view option, std::string_view command, Streams streams)
{
    ConversionResult converted = Utf8ToSjis(utf8);
    if (!converted.ok) {
        streams.err << "tessaly-cli " << command << ": " << option << ": '" << Escaped(converted.badCharacter)
                    << "' cannot be written in Shift_JIS\n";
        return std::nullopt;
    }
    return std::move(converted.text);
}

// The fields --in names, set in criteria; false (after saying why) for an
// unknown name.
bool SetSearchedFields(std::string_view list, TSqueeze& criteria, Streams streams)
{
    const std::pair<std::string_view, bool TSqueeze::*> fields[]
        = {{"title", &TSqueeze::inTitle}, {"title-kana", &TSqueeze::inTitleKana}, {"author", &TSqueeze::inAuthor},
            {"author-kana", &TSqueeze::inAuthorKana}, {"comment", &TSqueeze::inComment}};
    if (SplitList(list, ',').empty()) {
        streams.err << "tessaly-cli search: --in names no field\n";
        return false;
    }
    for (const auto& field : fields) {
        criteria.*field.second = false;
    }
    for (const std::string_view name : SplitList(list, ',')) {
        const auto found = std::find_if(
            std::begin(fields), std::end(fields), [name](const auto& field) { return field.first == name; });
        if (found == std::end(fields)) {
            streams.err << "tessaly-cli search: --in: unknown field '" << Escaped(name)
                        << "' (title, title-kana, author, author-kana, comment)\n";
            return false;
        }
        criteria.*found->second = true;
    }
    return true;
}

// The narrowing conditions of the design in the directory, without its
// page range; false (after saying why) when it has no readable design.
bool SetDesignConditions(std::string_view directory, TSqueeze& criteria, Streams streams)
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(directory), error);
    const std::optional<std::string> sjisPath = error ? std::nullopt : FromFsPath(path.lexically_normal());
    TDirectoryDesign design;
    std::string problem;
    if (!sjisPath || !ReadDesign(*sjisPath, *sjisPath, design, DesignDefaults{}, &problem)) {
        streams.err << "tessaly-cli search: --design: " << Escaped(directory) << ": "
                    << (problem.empty() ? "no " + std::string(kDesignFileName) + " there" : Escaped(problem)) << '\n';
        return false;
    }
    criteria = design.squeeze;
    criteria.rangeMode = 0;
    return true;
}

// The search criteria the options ask for; nothing (after saying why) when
// they cannot be had.
std::optional<TSqueeze> SearchCriteriaOf(const Options& options, Streams streams)
{
    TSqueeze criteria = SearchCriteria();
    if (options.Has("--design") && !SetDesignConditions(options.Value("--design"), criteria, streams)) {
        return std::nullopt;
    }
    criteria.ignoreCase = !options.Has("--match-case");
    if (options.Has("--in") && !SetSearchedFields(options.Value("--in"), criteria, streams)) {
        return std::nullopt;
    }
    for (const auto& [option, field] : {std::pair{"--keyword", &TSqueeze::keyword}, {"--domain", &TSqueeze::domain}}) {
        if (options.Has(option)) {
            std::optional<std::string> text = ArgumentText(options.Value(option), option, "search", streams);
            if (!text) {
                return std::nullopt;
            }
            criteria.*field = std::move(*text);
        }
    }
    return criteria;
}

void PrintReadable(const std::vector<TLinkItem>& items, std::ostream& out)
{
    std::vector<std::size_t> all(items.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    const std::string text = ReadableItemsText(items, all);
    for (const std::string_view line : SplitLines(text)) {
        out << Shown(line) << '\n';
    }
}

int Search(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kValues[] = {"--keyword", "--in", "--domain", "--design"};
    constexpr std::string_view kFlags[] = {"--match-case", "--lines", "--count"};
    const std::optional<Options> options = Options::Parse(args, kValues, kFlags, "search", streams);
    if (!options) {
        return 2;
    }
    if (options->Has("--lines") && options->Has("--count")) {
        streams.err << "tessaly-cli search: give --lines or --count, not both\n";
        return 2;
    }
    const std::optional<TSqueeze> criteria = SearchCriteriaOf(*options, streams);
    Project project;
    if (!criteria || !ExpectFiles(*options, 1, "one project file", "search", streams)
        || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Reading, "search", streams)) {
        return 2;
    }
    // The search takes the items out of the project in memory only; the
    // file is never written.
    const std::vector<std::string> found = ExtractMatchingItems(project, *criteria);
    if (options->Has("--count")) {
        streams.out << found.size() << '\n';
    } else if (options->Has("--lines")) {
        for (const std::string& line : found) {
            streams.out << line << kLineBreak;
        }
    } else {
        std::vector<TLinkItem> items;
        items.reserve(found.size());
        for (const std::string& line : found) {
            items.push_back(LineToItem(line));
        }
        PrintReadable(items, streams.out);
    }
    return 0;
}

// "YYYY/MM/DD" or "YYYY-MM-DD" of a date that exists.
std::optional<TDateTime> CommandLineDate(std::string_view text)
{
    const char separator = text.find('-') != std::string_view::npos ? '-' : '/';
    const std::vector<std::string_view> parts = SplitList(text, separator);
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].empty() || parts[1].size() > 2 || parts[2].empty()
        || parts[2].size() > 2) {
        return std::nullopt;
    }
    int numbers[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        for (const char c : parts[i]) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            numbers[i] = numbers[i] * 10 + (c - '0');
        }
    }
    return EncodeDateTime({numbers[0], numbers[1], numbers[2]});
}

// The period the options ask for; nothing (after saying why) when they do
// not name exactly one, or a date is not a date.
std::optional<NewestPeriod> NewestPeriodOf(const Options& options, const Clock& clock, Streams streams)
{
    const std::array<std::string_view, 4> kinds = {"--day", "--from", "--until", "--last-days"};
    const auto given
        = std::count_if(kinds.begin(), kinds.end(), [&](std::string_view kind) { return options.Has(kind); });
    if (given != 1 || (options.Has("--to") && !options.Has("--from"))) {
        streams.err << "tessaly-cli newest: give one of --day, --from (with --to or not), --until, --last-days\n";
        return std::nullopt;
    }
    std::map<std::string_view, TDateTime> dates;
    for (const std::string_view option : {"--day", "--from", "--to", "--until"}) {
        if (!options.Has(option)) {
            continue;
        }
        const std::optional<TDateTime> date = CommandLineDate(options.Value(option));
        if (!date) {
            streams.err << "tessaly-cli newest: " << option << ": '" << Escaped(options.Value(option))
                        << "' is not a date (YYYY/MM/DD)\n";
            return std::nullopt;
        }
        dates[option] = *date;
    }
    if (options.Has("--day")) {
        return NewestPeriod{NewestPeriodMode::Day, dates["--day"], {}};
    }
    if (options.Has("--from")) {
        return options.Has("--to") ? NewestPeriod{NewestPeriodMode::Range, dates["--from"], dates["--to"]}
                                   : NewestPeriod{NewestPeriodMode::From, dates["--from"], {}};
    }
    if (options.Has("--until")) {
        return NewestPeriod{NewestPeriodMode::Until, {}, dates["--until"]};
    }
    const std::optional<int32_t> days = ParseInt32(options.Value("--last-days"));
    if (!days || *days < 1 || options.Value("--last-days").find_first_not_of("0123456789") != std::string_view::npos) {
        streams.err << "tessaly-cli newest: --last-days: '" << Escaped(options.Value("--last-days"))
                    << "' is not a number of days (1 or more)\n";
        return std::nullopt;
    }
    const TDateTime today = clock.Today();
    return NewestPeriod{NewestPeriodMode::Range, TDateTime{today.Value - (*days - 1)}, today};
}

// Saves a project the command changed; says why and returns false when it
// could not (the old file is then untouched).
bool SaveOutput(Project& project, std::string_view path, std::string_view command, Streams streams)
{
    const SaveOutcome saved = SaveProjectFile(project, std::filesystem::path(path));
    if (!saved.ok) {
        streams.err << "tessaly-cli " << command << ": cannot save " << Escaped(saved.error) << '\n';
    }
    return saved.ok;
}

int Newest(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kValues[] = {"--day", "--from", "--to", "--until", "--last-days", "--out"};
    const std::optional<Options> options = Options::Parse(args, kValues, {}, "newest", streams);
    if (!options) {
        return 2;
    }
    const std::optional<NewestPeriod> period = NewestPeriodOf(*options, SystemClock(), streams);
    Project project;
    if (!period || !ExpectFiles(*options, 1, "one project file", "newest", streams)
        || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Rewriting, "newest", streams)) {
        return 2;
    }
    const std::size_t changed = AdjustNewestAttribute(project, *period);
    const bool inPlace = !options->Has("--out");
    if (!inPlace || project.IsEditing) {
        if (!SaveOutput(project, inPlace ? options->Files()[0] : options->Value("--out"), "newest", streams)) {
            return 2;
        }
    }
    streams.out << changed << '\n';
    return 0;
}

// Writes a file the command made from the project, whole or not at all; says
// why and returns false when it could not.
bool WriteOutput(
    const Project& project, std::string_view path, std::string_view data, std::string_view command, Streams streams)
{
    const FileWriteResult written = WriteExportFile(project, std::filesystem::path(path), data);
    if (!written.ok) {
        streams.err << "tessaly-cli " << command << ": cannot write " << Escaped(written.error) << '\n';
    }
    return written.ok;
}

// The index of the option's value among the choices, or fallback when the
// option is not given; nothing (after saying why) for another value.
std::optional<std::size_t> ChoiceOf(const Options& options, std::string_view option,
    std::span<const std::string_view> choices, std::size_t fallback, std::string_view command, Streams streams)
{
    if (!options.Has(option)) {
        return fallback;
    }
    const auto found = std::find(choices.begin(), choices.end(), options.Value(option));
    if (found != choices.end()) {
        return static_cast<std::size_t>(found - choices.begin());
    }
    streams.err << "tessaly-cli " << command << ": " << option << ": '" << Escaped(options.Value(option))
                << "' is not one of";
    for (const std::string_view choice : choices) {
        streams.err << ' ' << choice;
    }
    streams.err << '\n';
    return std::nullopt;
}

// The option's text in code page 932, or fallback when it is not given.
std::optional<std::string> NameOption(const Options& options, std::string_view option, const std::string& fallback,
    std::string_view command, Streams streams)
{
    return options.Has(option) ? ArgumentText(options.Value(option), option, command, streams) : fallback;
}

int Csv(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kValues[] = {"--genre", "--comments"};
    constexpr std::string_view kFlags[] = {"--safe-formulas"};
    constexpr std::string_view kModes[] = {"erase", "top", "literal", "none"};
    const std::optional<Options> options = Options::Parse(args, kValues, kFlags, "csv", streams);
    if (!options || !ExpectFiles(*options, 2, "a project file and a CSV file", "csv", streams)) {
        return 2;
    }
    const std::optional<std::size_t> mode = ChoiceOf(*options, "--comments", kModes, 0, "csv", streams);
    const std::optional<std::string> genreName = NameOption(*options, "--genre", UnfiledGenreName(), "csv", streams);
    Project project;
    if (!mode || !genreName || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Reading, "csv", streams)) {
        return 2;
    }
    const std::optional<std::size_t> genre = project.FindGenre(*genreName);
    if (!genre) {
        streams.err << "tessaly-cli csv: --genre: the project has no genre '" << Shown(*genreName) << "'\n";
        return 2;
    }
    std::vector<TLinkItem> items;
    items.reserve(project.Genres[*genre].Lines.size());
    for (const std::string& line : project.Genres[*genre].Lines) {
        items.push_back(LineToItem(line));
    }
    const auto commentMode = static_cast<CsvCommentMode>(*mode);
    const bool safe = options->Has("--safe-formulas");
    const std::string text = CsvText(items, commentMode, safe ? CsvFormulas::Defused : CsvFormulas::AsStored);
    if (!WriteOutput(project, options->Files()[1], text, "csv", streams)) {
        return 2;
    }
    if (const std::size_t formulas = CsvFormulaCells(items, commentMode); formulas > 0) {
        streams.out << formulas << " cells begin with =, +, -, @, TAB or CR, which spreadsheets may run as formulas"
                    << (safe ? "; they were written behind an apostrophe\n"
                             : " (--safe-formulas writes them as text)\n");
    }
    return 0;
}

// "Today" of the import: TESSALY_TODAY when set, else the clock.
std::optional<TDateTime> ImportToday(Streams streams)
{
    const char* fixed = std::getenv("TESSALY_TODAY");
    if (fixed == nullptr) {
        return SystemClock().Today();
    }
    const std::optional<TDateTime> today = CommandLineDate(fixed);
    if (!today) {
        streams.err << "tessaly-cli import-rkm: TESSALY_TODAY: '" << Escaped(fixed) << "' is not a date (YYYY/MM/DD)\n";
    }
    return today;
}

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

int ImportRkm(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kFlags[] = {"--suggest-readings"};
    const std::optional<Options> options = Options::Parse(args, {}, kFlags, "import-rkm", streams);
    if (!options
        || !ExpectFiles(*options, 3, "a project file, an RKM file and an output project file", "import-rkm", streams)) {
        return 2;
    }
    const std::optional<TDateTime> today = ImportToday(streams);
    Project project;
    if (!today || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Rewriting, "import-rkm", streams)) {
        return 2;
    }
    const std::filesystem::path rkmFile(options->Files()[1]);
    // Readings are suggested only when asked for: without it the file is
    // taken exactly by its own rules.
    const ReadingServiceStatus readings
        = options->Has("--suggest-readings") ? OpenReadingService() : ReadingServiceStatus{};
    const RkmImportResult result = ImportRkmFile(project, rkmFile, *today, {}, readings.service.get());
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
    return SaveOutput(project, options->Files()[2], "import-rkm", streams) ? 0 : 2;
}

// "TITLE <URL>" of a bookmark in a report line.
std::string ShownBookmark(const ReportedBookmark& bookmark)
{
    return Escaped(bookmark.title.empty() ? std::string("(no title)") : bookmark.title) + " <"
        + Escaped(bookmark.url) + ">";
}

const char* RefusalText(BookmarkImportReport::Refusal why)
{
    switch (why) {
    case BookmarkImportReport::Refusal::NotAWebAddress: return "not a web address";
    case BookmarkImportReport::Refusal::NoTitle: return "no title";
    case BookmarkImportReport::Refusal::NoReading: return "no reading could be made from the title";
    case BookmarkImportReport::Refusal::NoSerialLeft: return "no serial number is left in the project";
    }
    return "";
}

void PrintImportReport(const BookmarkImportReport& report, std::ostream& out)
{
    for (const auto& refused : report.notStored) {
        out << "not imported: " << ShownBookmark(refused.bookmark) << ": " << RefusalText(refused.why) << '\n';
    }
    for (const auto& partial : report.partialReadings) {
        out << "partial reading: " << ShownBookmark(partial.bookmark) << ": " << Shown(partial.reading) << '\n';
    }
    for (const auto& lost : report.lostCharacters) {
        out << "left out (not in Shift_JIS): " << ShownBookmark(lost.bookmark) << ":";
        for (const std::string& character : lost.characters) {
            out << ' ' << Escaped(character);
        }
        out << '\n';
    }
    for (const auto& [changes, kind] : {std::pair{&report.changedGenres, "genre"}, {&report.changedAttributes, "attribute"}}) {
        for (const BookmarkImportReport::ChangedName& changed : *changes) {
            out << kind << " '" << Escaped(changed.given) << "' stored as '" << Shown(changed.stored) << "'\n";
        }
    }
    out << "Imported: " << report.stored << " (new genres: " << report.newGenres
        << ", partial readings: " << report.partialReadings.size() << "); already in the collection: "
        << report.duplicates << "; not imported: " << report.notStored.size() << '\n';
}

int ImportBookmarks(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kValues[] = {"--genre-from"};
    constexpr std::string_view kSources[] = {"folder", "top-folder", "none"};
    const std::optional<Options> options = Options::Parse(args, kValues, {}, "import-bookmarks", streams);
    if (!options
        || !ExpectFiles(*options, 3, "a project file, a bookmark file and an output project file", "import-bookmarks",
            streams)) {
        return 2;
    }
    const std::optional<std::size_t> source = ChoiceOf(*options, "--genre-from", kSources, 0, "import-bookmarks", streams);
    const std::optional<TDateTime> today = ImportToday(streams);
    if (!source || !today) {
        return 2;
    }
    const ReadingServiceStatus readings = OpenReadingService();
    if (!readings.service) {
        streams.err << "tessaly-cli import-bookmarks: no readings can be suggested, so no link could be stored: "
                    << Escaped(readings.error) << '\n';
        return 2;
    }
    Project project;
    if (!LoadWholeProject(project, options->Files()[0], LoadPurpose::Rewriting, "import-bookmarks", streams)) {
        return 2;
    }
    const std::filesystem::path bookmarkPath(options->Files()[1]);
    const FileReadResult read = ReadWholeFile(bookmarkPath);
    if (!read.ok) {
        streams.err << "tessaly-cli import-bookmarks: "
                    << (read.failure == ReadFailure::NotFound ? ShownPath(bookmarkPath) + ": no such file"
                                                              : "cannot read " + Escaped(read.error))
                    << '\n';
        return 2;
    }
    const BookmarkFile file = ReadBookmarkFile(read.data);
    if (file.tooDeep) {
        streams.err << "tessaly-cli import-bookmarks: " << ShownPath(bookmarkPath)
                    << ": its markup is nested more than " << kMostBookmarkNesting
                    << " levels deep, which no browser writes; nothing was imported\n";
        return 2;
    }
    if (!file.isBookmarkFile) {
        streams.err << "tessaly-cli import-bookmarks: " << ShownPath(bookmarkPath)
                    << ": not a browser bookmark file (Netscape bookmark format)\n";
        return 2;
    }
    const FixedClock clock(*today);
    const BookmarkImportReport report
        = ImportBookmarks(project, file.bookmarks, *readings.service, clock, static_cast<GenreSource>(*source));
    PrintImportReport(report, streams.out);
    return SaveOutput(project, options->Files()[2], "import-bookmarks", streams) ? 0 : 2;
}

int ExportBookmarks(std::span<const std::string_view> args, Streams streams)
{
    const std::optional<Options> options = Options::Parse(args, {}, {}, "export-bookmarks", streams);
    Project project;
    if (!options || !ExpectFiles(*options, 2, "a project file and a bookmark file", "export-bookmarks", streams)
        || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Reading, "export-bookmarks", streams)) {
        return 2;
    }
    const BookmarkExport exported = WriteBookmarkFile(project);
    for (const std::string& name : exported.tagsWithComma) {
        streams.err << "warning: the attribute '" << Shown(name) << "' is written with a full-width comma\n";
    }
    return WriteOutput(project, options->Files()[1], exported.text, "export-bookmarks", streams) ? 0 : 2;
}

int Duplicates(std::span<const std::string_view> args, Streams streams)
{
    const std::optional<Options> options = Options::Parse(args, {}, {}, "duplicates", streams);
    Project project;
    if (!options || !ExpectFiles(*options, 1, "one project file", "duplicates", streams)
        || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Reading, "duplicates", streams)) {
        return 2;
    }
    const std::vector<std::vector<LinePlace>> groups = FindDuplicateLinks(project);
    std::size_t items = 0;
    for (const std::vector<LinePlace>& group : groups) {
        for (const LinePlace& place : group) {
            const TLinkItem item = LineToItem(project.Genres[place.genre].Lines[place.line]);
            streams.out << FormatSerial(item.Serial) << '\t' << Shown(project.Genres[place.genre].Name) << '\t'
                        << Shown(item.Title) << '\t' << Shown(FullUrl(item.Url)) << '\n';
        }
        streams.out << '\n';
        items += group.size();
    }
    streams.out << groups.size() << " pages kept more than once (" << items << " items)\n";
    return 0;
}

int Diz(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kValues[] = {"--template", "--sort-by", "--sort-dir"};
    constexpr std::string_view kFlags[] = {"--erase-breaks"};
    constexpr std::string_view kSortKeys[] = {"title-kana", "author-kana", "date", "title", "author"};
    constexpr std::string_view kDirections[] = {"asc", "desc"};
    const std::optional<Options> options = Options::Parse(args, kValues, kFlags, "diz", streams);
    if (!options || !ExpectFiles(*options, 2, "a project file and a DIZ file", "diz", streams)) {
        return 2;
    }
    const std::optional<std::size_t> sortBy = ChoiceOf(*options, "--sort-by", kSortKeys, 0, "diz", streams);
    const std::optional<std::size_t> sortDir = ChoiceOf(*options, "--sort-dir", kDirections, 0, "diz", streams);
    const std::optional<std::string> templateName
        = NameOption(*options, "--template", SimpleTemplateName(), "diz", streams);
    Project project;
    if (!sortBy || !sortDir || !templateName
        || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Reading, "diz", streams)) {
        return 2;
    }
    const std::vector<std::string> templates = ItemTemplateNames(project);
    if (std::find(templates.begin(), templates.end(), *templateName) == templates.end()) {
        streams.err << "tessaly-cli diz: --template: no item template '" << Shown(*templateName) << "' (";
        for (std::size_t i = 0; i < templates.size(); ++i) {
            streams.err << (i > 0 ? ", " : "") << Shown(templates[i]);
        }
        streams.err << ")\n";
        return 2;
    }
    const DizSettings settings{
        *templateName, options->Has("--erase-breaks"), static_cast<uint8_t>(*sortBy), static_cast<uint8_t>(*sortDir)};
    return WriteOutput(project, options->Files()[1], DizText(project, settings), "diz", streams) ? 0 : 2;
}

int ReplaceDomain(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kFlags[] = {"--match-case", "--whole-host"};
    const std::optional<Options> options = Options::Parse(args, {}, kFlags, "replace-domain", streams);
    if (!options
        || !ExpectFiles(
            *options, 4, "a project file, FIND, REPLACE and an output project file", "replace-domain", streams)) {
        return 2;
    }
    const std::optional<std::string> find = ArgumentText(options->Files()[1], "FIND", "replace-domain", streams);
    const std::optional<std::string> replace = ArgumentText(options->Files()[2], "REPLACE", "replace-domain", streams);
    if (!find || !replace) {
        return 2;
    }
    if (Trim(*find).empty()) {
        streams.err << "tessaly-cli replace-domain: FIND is blank\n";
        return 2;
    }
    // A line break would end the item line; no control character belongs in
    // a host. No byte below 0x40 is part of a double-byte character.
    const auto control = std::find_if(
        replace->begin(), replace->end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; });
    if (control != replace->end()) {
        streams.err << "tessaly-cli replace-domain: REPLACE holds the control character "
                    << Escaped(std::string_view(&*control, 1)) << "; a host has none\n";
        return 2;
    }
    Project project;
    if (!LoadWholeProject(project, options->Files()[0], LoadPurpose::Rewriting, "replace-domain", streams)) {
        return 2;
    }
    const DomainReplaceSettings settings{*find, *replace, !options->Has("--match-case"), !options->Has("--whole-host")};
    const std::size_t count = ReplaceDomains(project, settings);
    if (!SaveOutput(project, options->Files()[3], "replace-domain", streams)) {
        return 2;
    }
    streams.out << count << '\n';
    return 0;
}

int Tidy(std::span<const std::string_view> args, Streams streams)
{
    const std::optional<Options> options = Options::Parse(args, {}, {}, "tidy", streams);
    Project project;
    if (!options || !ExpectFiles(*options, 2, "a project file and an output project file", "tidy", streams)
        || !LoadWholeProject(project, options->Files()[0], LoadPurpose::Rewriting, "tidy", streams)) {
        return 2;
    }
    const std::size_t count = TidyTagLists(project);
    if (!SaveOutput(project, options->Files()[1], "tidy", streams)) {
        return 2;
    }
    streams.out << count << '\n';
    return 0;
}

// Progress of the link check on a terminal: one line, rewritten in place.
class LinkCheckProgress {
public:
    LinkCheckProgress(std::ostream& out, std::size_t total)
        : out_(out)
        , total_(total)
        , enabled_(::isatty(STDOUT_FILENO) != 0)
    {
    }
    ~LinkCheckProgress()
    {
        if (enabled_ && done_ > 0) {
            out_ << "\r\033[K" << std::flush;
        }
    }
    LinkCheckProgress(const LinkCheckProgress&) = delete;
    LinkCheckProgress& operator=(const LinkCheckProgress&) = delete;

    void Checked(const std::string& address)
    {
        ++done_;
        if (enabled_) {
            out_ << "\r\033[K[" << done_ << '/' << total_ << "] " << Shown(address).substr(0, 70) << std::flush;
        }
    }

private:
    std::ostream& out_;
    std::size_t total_;
    bool enabled_;
    std::size_t done_ = 0;
};

// Most requests "check-links --jobs" keeps in flight.
constexpr int32_t kMaxLinkJobs = 64;
constexpr int32_t kMaxLinkTimeout = 3600;

// The whole number an option gives, from 1 to most; nothing (after saying
// why) when it is none.
std::optional<int32_t> CountOption(const Options& options, std::string_view name, int32_t most, Streams streams)
{
    const std::string_view value = options.Value(name);
    const std::optional<int32_t> number = ParseInt32(value);
    if (!number || *number < 1 || *number > most || value.find_first_not_of("0123456789") != std::string_view::npos) {
        streams.err << "tessaly-cli check-links: " << name << " takes a number from 1 to " << most << '\n';
        return std::nullopt;
    }
    return number;
}

// The items of the genre --genre names, or of the whole collection.
std::optional<std::vector<PlacedItem>> ItemsToCheck(const Options& options, const Project& project, Streams streams)
{
    if (!options.Has("--genre")) {
        return ItemsOfCollection(project);
    }
    const std::optional<std::string> name = ArgumentText(options.Value("--genre"), "--genre", "check-links", streams);
    if (!name) {
        return std::nullopt;
    }
    const std::optional<std::size_t> genre = project.FindGenre(*name);
    if (!genre || *genre >= project.TrashIndex()) {
        streams.err << "tessaly-cli check-links: --genre: no genre '" << Escaped(options.Value("--genre"))
                    << "' in the project\n";
        return std::nullopt;
    }
    return ItemsOfGenre(project, *genre);
}

void PrintLinkResult(const ItemLink& link, const LinkCheckResult& result, std::ostream& out)
{
    out << LinkResultName(result.result);
    if (result.code != 0) {
        out << ' ' << result.code;
    }
    out << "  " << Shown(link.shown);
    if (!result.newUrl.empty()) {
        out << " -> " << Escaped(WithUnicodeHost(result.newUrl));
    }
    out << "  (" << FormatSerial(link.serial) << ' ' << Shown(link.title)
        << (link.field == LinkField::Banner ? ", banner" : "") << ')';
    if (!result.detail.empty()) {
        out << ": " << Escaped(result.detail);
    }
    out << '\n';
}

int CheckLinks(std::span<const std::string_view> args, Streams streams)
{
    constexpr std::string_view kValues[] = {"--genre", "--jobs", "--timeout", "--out", "--report"};
    constexpr std::string_view kFlags[] = {"--mark-failed", "--update-moved"};
    const std::optional<Options> options = Options::Parse(args, kValues, kFlags, "check-links", streams);
    if (!options) {
        return 2;
    }
    const bool rewrites = options->Has("--mark-failed") || options->Has("--update-moved");
    if (options->Has("--out") && !rewrites) {
        streams.err << "tessaly-cli check-links: --out is for --mark-failed or --update-moved\n";
        return 2;
    }
    LinkCheckOptions check;
    const std::optional<int32_t> jobs = options->Has("--jobs") ? CountOption(*options, "--jobs", kMaxLinkJobs, streams)
                                                               : static_cast<int32_t>(check.jobs);
    const std::optional<int32_t> timeout = options->Has("--timeout")
        ? CountOption(*options, "--timeout", kMaxLinkTimeout, streams)
        : static_cast<int32_t>(std::chrono::duration_cast<std::chrono::seconds>(check.timeout).count());
    if (!jobs || !timeout) {
        return 2;
    }
    check.jobs = static_cast<unsigned>(*jobs);
    check.timeout = std::chrono::seconds(*timeout);
    Project project;
    if (!ExpectFiles(*options, 1, "one project file", "check-links", streams)
        || !LoadWholeProject(project, options->Files()[0], rewrites ? LoadPurpose::Rewriting : LoadPurpose::Reading,
            "check-links", streams)) {
        return 2;
    }
    const std::optional<std::vector<PlacedItem>> items = ItemsToCheck(*options, project, streams);
    if (!items) {
        return 2;
    }
    const ItemLinks links = LinksOfItems(*items, project.BannerDir);
    std::vector<LinkCheckResult> results;
    LinkCheckSummary summary;
    {
        LinkCheckProgress progress(streams.out, links.links.size());
        summary = RunLinkCheck(links.toCheck, check, [&](const LinkCheckResult& result) {
            progress.Checked(links.links[result.index].shown);
            results.push_back(result);
        });
    }
    std::sort(results.begin(), results.end(), [](const auto& a, const auto& b) { return a.index < b.index; });

    std::array<std::size_t, kLinkResultCount> counts{};
    std::vector<ItemPlace> failed;
    std::vector<const ItemLink*> failedLinks; // of each failed place
    std::vector<AddressUpdate> moved;
    for (const LinkCheckResult& result : results) {
        const ItemLink& link = links.links[result.index];
        ++counts[static_cast<std::size_t>(result.result)];
        if (result.result != LinkResult::Ok) {
            PrintLinkResult(link, result, streams.out);
        }
        if (!IsAlive(result.result)) {
            failed.push_back(link.place);
            failedLinks.push_back(&link);
        } else if (result.result == LinkResult::Moved) {
            moved.push_back({link.place, link.field, result.newUrl});
        }
    }
    streams.out << "Links checked: " << results.size() << " of " << links.links.size();
    if (links.skipped > 0) {
        streams.out << " (" << links.skipped << " other addresses not checked)";
    }
    streams.out << '\n';
    for (std::size_t i = 0; i < kLinkResultCount; ++i) {
        if (counts[i] > 0) {
            const std::string_view name = LinkResultName(static_cast<LinkResult>(i));
            streams.out << "  " << name << std::string(20 - std::min<std::size_t>(19, name.size()), ' ') << counts[i]
                        << '\n';
        }
    }

    std::vector<TLinkItem> noRows;
    std::size_t changed = 0;
    if (options->Has("--mark-failed")) {
        std::vector<UnmarkedItem> notMarked;
        const std::size_t marked = MarkItemsFailed(project, noRows, failed, &notMarked);
        for (const UnmarkedItem& unmarked : notMarked) {
            const ItemLink* link = failedLinks[unmarked.which];
            streams.out << "not marked, keeps its mark '" << StatusName(unmarked.status) << "': ("
                        << FormatSerial(link->serial) << ' ' << Shown(link->title) << ")\n";
        }
        streams.out << "Marked " << marked << " items with the warning status\n";
        changed += marked;
    }
    if (options->Has("--update-moved")) {
        for (const AddressUpdate& update : moved) {
            if (!CanTakeNewUrl(update.newUrl)) {
                streams.out << "not updated (not an address the pages may carry): " << Escaped(update.newUrl) << '\n';
            }
        }
        const std::size_t updated = UpdateAddresses(project, noRows, moved);
        streams.out << "Updated " << updated << " moved addresses\n";
        changed += updated;
    }
    bool failedToWrite = false;
    if (options->Has("--report")) {
        const FileWriteResult written = WriteExportFile(
            project, std::filesystem::path(options->Value("--report")), LinkReportText(links.links, results));
        if (!written.ok) {
            streams.err << "tessaly-cli check-links: cannot write the report " << Escaped(written.error) << '\n';
            failedToWrite = true;
        }
    }
    if (rewrites && (changed > 0 || options->Has("--out"))) {
        const bool inPlace = !options->Has("--out");
        const SaveOutcome saved
            = SaveProjectFile(project, std::filesystem::path(inPlace ? options->Files()[0] : options->Value("--out")));
        if (!saved.ok) {
            streams.err << "tessaly-cli check-links: cannot save " << Escaped(saved.error) << '\n';
            failedToWrite = true;
        }
    }
    if (summary.deadlinePassed) {
        streams.err << "tessaly-cli check-links: the time limit for the run passed; "
                    << links.links.size() - results.size() << " links were not checked\n";
    }
    if (failedToWrite || summary.deadlinePassed) {
        return 2;
    }
    return counts[static_cast<std::size_t>(LinkResult::Ok)] + counts[static_cast<std::size_t>(LinkResult::Moved)]
            == results.size()
        ? 0
        : 1;
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
    Command{"search", "find items by text, domain or a directory's conditions",
        "PROJECT.TSP [--keyword TEXT] [--in FIELDS] [--match-case] [--domain TEXT]\n"
        "       [--design DIR] [--lines | --count]\n\n"
        "Prints the items of every genre but the trash that match all the conditions\n"
        "given, in collection order; with no condition, every item.\n\n"
        "  --keyword TEXT  TEXT occurs in the title, title reading, author, author\n"
        "                  reading and comment, run together\n"
        "  --in FIELDS     search only these fields, separated by commas: title,\n"
        "                  title-kana, author, author-kana, comment\n"
        "  --match-case    tell capital from small letters (ASCII letters only)\n"
        "  --domain TEXT   TEXT occurs in the host part (up to the first \"/\") of the\n"
        "                  page or banner address\n"
        "  --design DIR    the narrowing conditions of DIR's _design.tsd\n"
        "  --lines         print item lines, Shift_JIS bytes as stored, CR LF ended\n"
        "  --count         print the number of items only\n\n"
        "Without --lines or --count the items are printed in the readable layout\n"
        "(UTF-8). The project file is never written.\n",
        Search},
    Command{"newest", "keep the attribute \"最新\" on the items of a period",
        "PROJECT.TSP (--day DATE | --from DATE [--to DATE] | --until DATE\n"
        "       | --last-days N) [--out OUT.TSP]\n\n"
        "Gives \"最新\" to every item registered in the period and takes it from every\n"
        "other item; adds \"最新\" first to the attributes when the project lacks it.\n"
        "Dates are YYYY/MM/DD (or YYYY-MM-DD); --last-days N is the period from N-1 days\n"
        "before today to today. Writes the project in place, only when something\n"
        "changed, or always to OUT.TSP; a file is replaced only when the whole file\n"
        "was written. Prints the number of changed items.\n",
        Newest},
    Command{"csv", "export the items of one genre as a CSV file",
        "PROJECT.TSP OUT.CSV [--genre NAME] [--comments erase|top|literal|none]\n"
        "       [--safe-formulas]\n\n"
        "Writes the items of the genre NAME (default \"【未整理】\") in their stored order\n"
        "to OUT.CSV: a header line, then one line per item, Shift_JIS with CR LF line\n"
        "ends. --comments says how comments with line breaks are written: erase runs\n"
        "their lines together (the default), top keeps the first line, literal writes\n"
        "C-style escapes (\\\\, \\\" and \\n), none leaves the comment column out.\n"
        "Prints how many text cells begin with =, +, -, @, TAB or CR, which\n"
        "spreadsheets may run as formulas; --safe-formulas writes such a cell behind an\n"
        "apostrophe, so that it is shown as text.\n",
        Csv},
    Command{"import-rkm", "add the links of an RKM data file (.TSM)",
        "PROJECT.TSP FILE.TSM OUT.TSP [--suggest-readings]\n\n"
        "Adds the genres, attributes, contents and links of the RKM file to the project\n"
        "and writes it to OUT.TSP (which may be PROJECT.TSP). Readings in katakana are\n"
        "turned into hiragana; a link that still lacks a title, a page address or a\n"
        "hiragana reading is not imported and is named on stderr. With\n"
        "--suggest-readings, a missing reading is first made from the title or author\n"
        "when the whole text can be read (MeCab), as the desktop program's import does.\n"
        "Links without a date are dated today, or the date in the environment variable\n"
        "TESSALY_TODAY (YYYY/MM/DD).\n",
        ImportRkm},
    Command{"import-bookmarks", "add the links of a browser's bookmark file",
        "PROJECT.TSP BOOKMARKS.HTML OUT.TSP [--genre-from folder|top-folder|none]\n\n"
        "Adds the bookmarks of a bookmark file as browsers export it (Netscape bookmark\n"
        "format; Firefox, Chromium and others) to the project and writes it to OUT.TSP\n"
        "(which may be PROJECT.TSP). Each folder becomes a genre: the innermost folder\n"
        "of a bookmark (the default), its outermost folder (top-folder), or none (all\n"
        "links unfiled). Tags become attributes, the date the bookmark was added its\n"
        "date (the local day; links without one are dated today, or TESSALY_TODAY),\n"
        "the description its comment. Readings are suggested from the titles (MeCab);\n"
        "a link whose title gives no reading at all is not imported. Links whose page\n"
        "is already in the collection are skipped. Prints what was not imported, the\n"
        "partial readings, the characters Shift_JIS lacks and the names changed to\n"
        "fit the genre rules, then the counts.\n",
        ImportBookmarks},
    Command{"export-bookmarks", "write the links as a browser's bookmark file",
        "PROJECT.TSP OUT.HTML\n\n"
        "Writes the links of every genre but the trash to OUT.HTML as a bookmark file\n"
        "that browsers import (Netscape bookmark format, UTF-8): one folder per genre,\n"
        "the attributes as tags, the date as the date added and the comment as the\n"
        "description.\n",
        ExportBookmarks},
    Command{"duplicates", "list links whose pages are the same",
        "PROJECT.TSP\n\n"
        "Lists the items of every genre but the trash whose page addresses name the\n"
        "same page, whatever their scheme, the letter case of the host, a leading\n"
        "\"www.\" or a final \"/\" or \"index.html\": one block per page, one line per item\n"
        "(serial, genre, title, address), then the number of pages and items.\n",
        Duplicates},
    Command{"diz", "write the search data file for the search script",
        "PROJECT.TSP OUT.DIZ [--template NAME] [--erase-breaks]\n"
        "       [--sort-by title-kana|author-kana|date|title|author] [--sort-dir asc|desc]\n\n"
        "Writes the items of every user genre, with the project's owner, genres,\n"
        "vocabularies and the item template NAME (default \"標準簡易\"; the built-ins or a\n"
        "user template), to OUT.DIZ in EUC-JP. --erase-breaks removes the template's\n"
        "line breaks and tabs. Items are sorted by title reading (default), author\n"
        "reading, date (newest first), title or author, ascending unless --sort-dir desc.\n",
        Diz},
    Command{"replace-domain", "replace the host part of page and banner addresses",
        "PROJECT.TSP FIND REPLACE OUT.TSP [--match-case] [--whole-host]\n\n"
        "Replaces FIND by REPLACE (which may be empty) in the host part of every page and\n"
        "banner address (after a scheme of its own such as https://, up to the first\n"
        "\"/\"), in every genre but the trash, and writes the project to OUT.TSP (which\n"
        "may be PROJECT.TSP). Letter case is ignored unless --match-case; with\n"
        "--whole-host only hosts equal to FIND change. Prints the number of addresses\n"
        "changed.\n",
        ReplaceDomain},
    Command{"tidy", "put attribute and content lists in vocabulary order",
        "PROJECT.TSP OUT.TSP\n\n"
        "Reorders every item's attributes and contents into the order of the project's\n"
        "vocabularies, dropping names the vocabularies do not hold, and writes the\n"
        "project to OUT.TSP (which may be PROJECT.TSP). Prints the number of lists\n"
        "changed.\n",
        Tidy},
    Command{"check-links", "check the page and banner addresses of the items",
        "PROJECT.TSP [--genre NAME] [--jobs N] [--timeout SECONDS]\n"
        "       [--mark-failed] [--update-moved] [--out OUT.TSP] [--report REPORT.CSV]\n\n"
        "Asks the server of every page and banner address of the items of every genre\n"
        "but the trash (or of the genre NAME) whether the address still answers, N\n"
        "at a time (default 16), at most 4 to one host, each link with its\n"
        "redirects within SECONDS (default 15). A banner stored as \"%%\" + name is looked for as a file in the banner\n"
        "directory; mail and other addresses are not checked. Proxies are taken from\n"
        "http_proxy, https_proxy and no_proxy. Prints every link that did not simply\n"
        "answer, and the counts by result: ok, moved (redirected for good to an\n"
        "address that answers), client-error, server-error, dns-failure, refused,\n"
        "timeout, tls-error, too-many-redirects, missing, error.\n\n"
        "  --mark-failed   give the items of dead links the status \"warning\" (items\n"
        "                  with another mark keep it and are listed)\n"
        "  --update-moved  replace moved addresses by their new http or https ones\n"
        "  --out OUT.TSP   write the changed project there instead of in place\n"
        "  --report FILE   write every result as CSV (Shift_JIS)\n\n"
        "Without --mark-failed or --update-moved the project is never written; with\n"
        "them it is written when something changed, and replaced only when the whole\n"
        "file was written. Exits with 0 when every link answered, 1 when some are\n"
        "dead, 2 on errors: wrong arguments, a file that cannot be read or written,\n"
        "or the run's one-hour limit passing before every link was checked.\n",
        CheckLinks},
};

// The words of the synopsis, which runs up to the first empty line.
std::vector<std::string_view> SynopsisWords(const Command& command)
{
    std::vector<std::string_view> words;
    std::string_view synopsis = command.usage.substr(0, command.usage.find("\n\n"));
    while (!synopsis.empty()) {
        const std::size_t end = std::min(synopsis.find_first_of(" \n"), synopsis.size());
        if (end > 0) {
            words.push_back(synopsis.substr(0, end));
        }
        synopsis.remove_prefix(std::min(end + 1, synopsis.size()));
    }
    return words;
}

} // namespace

std::span<const Command> AllCommands()
{
    return kCommands;
}

std::string UsageSynopsis(const Command& command)
{
    std::string synopsis;
    for (const std::string_view word : SynopsisWords(command)) {
        synopsis += (synopsis.empty() ? "" : " ") + std::string(word);
    }
    return synopsis;
}

std::vector<std::string_view> UsageOptions(const Command& command)
{
    std::vector<std::string_view> options;
    for (std::string_view word : SynopsisWords(command)) {
        if (word.starts_with('[') || word.starts_with('(')) {
            word.remove_prefix(1);
        }
        if (word.starts_with("--")) {
            options.push_back(word.substr(0, word.find_first_of("]=")));
        }
    }
    return options;
}

} // namespace tessaly::cli
