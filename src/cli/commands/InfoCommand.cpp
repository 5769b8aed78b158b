#include "cli/commands/InfoCommand.h"

#include <filesystem>

#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"

namespace tessaly::cli {

namespace {

const char* SkipReasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::NoKey: return "no {key}= form";
    case SkipReason::UnknownKey: return "unknown key";
    case SkipReason::BadItemLine: return "not a valid item line";
    case SkipReason::BadAuthor: return "owner not taken (name, reading in hiragana, mail)";
    case SkipReason::BadTemplate: return "template without seven fields";
    case SkipReason::MissingDirectory: return "no such directory here";
    case SkipReason::BadFeedCount: return "feed without a count of items";
    }
    return "";
}

std::string TemplateName(std::string_view stored)
{
    return UnescapeField(stored.substr(0, sjis::FindChar(stored, '/')));
}

} // namespace

InfoCommand::InfoCommand()
    : Command({
        .name = "info",
        .summary = "show what a project file holds",
        .positionals = {"PROJECT.TSP"},
        .expected = "one project file",
        .description = "Prints the title, serial maximum, each genre with its item count, the sizes of\n"
                       "the attribute and content vocabularies, the user template names, what the\n"
                       "site is published with and any warning from reading the file.",
    })
{
}

int InfoCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    LoadOutcome outcome;
    if (const int failed = LoadProject(project, std::filesystem::path(args.Positional(0)), outcome, streams.err)) {
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
    const SitePublishing& publishing = project.Publishing;
    out << "Pages:          " << (publishing.pageEncoding == PageEncoding::Utf8 ? "UTF-8" : "Shift_JIS");
    if (publishing.siteSearch) {
        out << ", search page";
    }
    if (publishing.feedCount > 0) {
        out << ", feed of " << publishing.feedCount;
    }
    if (publishing.sitemap) {
        out << ", sitemap";
    }
    out << '\n';
    if (!publishing.baseUrl.empty()) {
        out << "Address:        " << Shown(publishing.baseUrl) << '\n';
    }
    if (!publishing.publishCommand.empty()) {
        out << "Publish:        " << Shown(publishing.publishCommand) << '\n';
    }
    out << "Skipped lines:  " << outcome.skippedLines.size() << '\n';
    for (const SkippedLine& skipped : outcome.skippedLines) {
        out << "  line " << skipped.lineNumber << ": " << SkipReasonText(skipped.reason) << '\n';
    }
    return outcome.result == LoadOutcome::Result::Loaded ? 0 : 1;
}

} // namespace tessaly::cli
