#include "cli/commands/SearchCommand.h"

#include <algorithm>
#include <filesystem>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/ItemClipboard.h"
#include "core/collection/Project.h"
#include "core/search/SearchMode.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Paths.h"
#include "core/text/Strings.h"

namespace tessaly::cli {

namespace {

// The fields --in names, set in criteria; false (after saying why) for an
// unknown name.
bool SetSearchedFields(std::string_view list, TSqueeze& criteria, std::ostream& err)
{
    const std::pair<std::string_view, bool TSqueeze::*> fields[]
        = {{"title", &TSqueeze::inTitle}, {"title-kana", &TSqueeze::inTitleKana}, {"author", &TSqueeze::inAuthor},
            {"author-kana", &TSqueeze::inAuthorKana}, {"comment", &TSqueeze::inComment}};
    if (SplitList(list, ',').empty()) {
        err << "tessaly-cli search: --in names no field\n";
        return false;
    }
    for (const auto& field : fields) {
        criteria.*field.second = false;
    }
    for (const std::string_view name : SplitList(list, ',')) {
        const auto found = std::find_if(
            std::begin(fields), std::end(fields), [name](const auto& field) { return field.first == name; });
        if (found == std::end(fields)) {
            err << "tessaly-cli search: --in: unknown field '" << Escaped(name)
                << "' (title, title-kana, author, author-kana, comment)\n";
            return false;
        }
        criteria.*found->second = true;
    }
    return true;
}

// The narrowing conditions of the design in the directory, without its
// page range; false (after saying why) when it has no readable design.
bool SetDesignConditions(std::string_view directory, TSqueeze& criteria, std::ostream& err)
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(directory), error);
    const std::optional<std::string> sjisPath = error ? std::nullopt : FromFsPath(path.lexically_normal());
    TDirectoryDesign design;
    std::string problem;
    if (!sjisPath || !ReadDesign(*sjisPath, *sjisPath, design, DesignDefaults{}, &problem)) {
        err << "tessaly-cli search: --design: " << Escaped(directory) << ": "
            << (problem.empty() ? "no " + std::string(kDesignFileName) + " there" : Escaped(problem)) << '\n';
        return false;
    }
    criteria = design.squeeze;
    criteria.rangeMode = 0;
    return true;
}

// The search criteria the options ask for; nothing (after saying why) when
// they cannot be had.
std::optional<TSqueeze> SearchCriteriaOf(const Arguments& args, std::ostream& err)
{
    TSqueeze criteria = SearchCriteria();
    if (args.Has("--design") && !SetDesignConditions(args.Value("--design"), criteria, err)) {
        return std::nullopt;
    }
    criteria.ignoreCase = !args.Has("--match-case");
    if (args.Has("--in") && !SetSearchedFields(args.Value("--in"), criteria, err)) {
        return std::nullopt;
    }
    for (const auto& [option, field] : {std::pair{"--keyword", &TSqueeze::keyword}, {"--domain", &TSqueeze::domain}}) {
        if (args.Has(option)) {
            std::optional<std::string> text = ArgumentText(args.Value(option), option, "search", err);
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

} // namespace

SearchCommand::SearchCommand()
    : Command({
          .name = "search",
          .summary = "find items by text, domain or a directory's conditions",
          .positionals = {"PROJECT.TSP"},
          .expected = "one project file",
          .description = "Prints the items of every genre but the trash that match all the conditions\n"
                         "given, in collection order; with no condition, every item. Without --lines or\n"
                         "--count the items are printed in the readable layout (UTF-8). The project\n"
                         "file is never written.",
          .options = {
              {.name = "--keyword", .value = "TEXT",
                  .help = "TEXT occurs in the title, title reading, author, author reading and comment, run "
                          "together"},
              {.name = "--in", .value = "FIELDS",
                  .help = "search only these fields, separated by commas: title, title-kana, author, "
                          "author-kana, comment"},
              {.name = "--match-case", .help = "tell capital from small letters (ASCII letters only)"},
              {.name = "--domain", .value = "TEXT",
                  .help = "TEXT occurs in the host part (up to the first \"/\") of the page or banner address"},
              {.name = "--design", .value = "DIR", .help = "the narrowing conditions of DIR's _design.tsd"},
              {.name = "--lines", .help = "print item lines, Shift_JIS bytes as stored, CR LF ended"},
              {.name = "--count", .help = "print the number of items only"},
          },
          .alternatives = {{.names = {"--lines", "--count"}}},
      })
{
}

int SearchCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::optional<TSqueeze> criteria = SearchCriteriaOf(args, streams.err);
    Project project;
    if (!criteria || !LoadWholeProject(project, args.Positional(0), LoadPurpose::Reading, "search", streams.err)) {
        return 2;
    }
    // The search takes the items out of the project in memory only; the
    // file is never written.
    const std::vector<std::string> found = ExtractMatchingItems(project, *criteria);
    if (args.Has("--count")) {
        streams.out << found.size() << '\n';
    } else if (args.Has("--lines")) {
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

} // namespace tessaly::cli
