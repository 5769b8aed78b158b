#include "cli/commands/DizCommand.h"

#include <algorithm>

#include "cli/ArgumentValues.h"
#include "cli/ProjectFiles.h"
#include "cli/TerminalText.h"
#include "core/collection/Project.h"
#include "core/templates/TemplateEngine.h"
#include "core/tools/SearchData.h"

namespace tessaly::cli {

DizCommand::DizCommand()
    : Command({
          .name = "diz",
          .summary = "write the search data file for the search script",
          .positionals = {"PROJECT.TSP", "OUT.DIZ"},
          .expected = "a project file and a DIZ file",
          .description = "Writes the items of every user genre, with the project's owner, genres,\n"
                         "vocabularies and the item template NAME (default \"標準簡易\"; the built-ins or a\n"
                         "user template), to OUT.DIZ in EUC-JP. Items are sorted by title reading\n"
                         "(default), author reading, date (newest first), title or author, ascending\n"
                         "unless --sort-dir desc.",
          .options = {
              {.name = "--template", .value = "NAME", .help = "the item template"},
              {.name = "--erase-breaks", .help = "remove the template's line breaks and tabs"},
              {.name = "--sort-by", .help = "the order of the items",
                  .choices = {"title-kana", "author-kana", "date", "title", "author"}},
              {.name = "--sort-dir", .help = "ascending or descending", .choices = {"asc", "desc"}},
          },
      })
{
}

int DizCommand::Execute(const Arguments& args, Streams streams) const
{
    const std::optional<std::string> templateName
        = TextOption(args, "--template", SimpleTemplateName(), "diz", streams.err);
    Project project;
    if (!templateName || !LoadWholeProject(project, args.Positional(0), LoadPurpose::Reading, "diz", streams.err)) {
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
    const DizSettings settings{*templateName, args.Has("--erase-breaks"),
        static_cast<uint8_t>(args.Choice("--sort-by")), static_cast<uint8_t>(args.Choice("--sort-dir"))};
    return WriteOutputFile(project, args.Positional(1), DizText(project, settings), "diz", streams.err) ? 0 : 2;
}

} // namespace tessaly::cli
