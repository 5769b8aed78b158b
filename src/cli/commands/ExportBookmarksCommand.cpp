#include "cli/commands/ExportBookmarksCommand.h"

#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/tools/BookmarkFile.h"

namespace tessaly::cli {

ExportBookmarksCommand::ExportBookmarksCommand()
    : Command({
        .name = "export-bookmarks",
        .summary = "write the links as a browser's bookmark file",
        .positionals = {"PROJECT.TSP", "OUT.HTML"},
        .expected = "a project file and a bookmark file",
        .description = "Writes the links of every genre but the trash to OUT.HTML as a bookmark file\n"
                       "that browsers import (Netscape bookmark format, UTF-8): one folder per genre,\n"
                       "the attributes as tags, the date as the date added and the comment as the\n"
                       "description.",
    })
{
}

int ExportBookmarksCommand::Execute(const Arguments& args, Streams streams) const
{
    Project project;
    if (!LoadWholeProject(project, args.Positional(0), LoadPurpose::Reading, "export-bookmarks", streams.err)) {
        return 2;
    }
    const BookmarkExport exported = WriteBookmarkFile(project);
    for (const std::string& name : exported.tagsWithComma) {
        streams.err << "warning: the attribute '" << Shown(name) << "' is written with a full-width comma\n";
    }
    return WriteOutputFile(project, args.Positional(1), exported.text, "export-bookmarks", streams.err) ? 0 : 2;
}

} // namespace tessaly::cli
