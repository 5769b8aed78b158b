// Writes a project's collection as a Hugo site, for timing Hugo against the
// output run on the same items: one content file per item, genre term pages
// paginated 20 per page, no single pages, feeds or sitemap.
//   make-hugo-site PROJECT.TSP SITE_DIR

#include <filesystem>
#include <fstream>
#include <iostream>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"
#include "core/text/Codepage.h"

namespace {

std::string Quoted(const std::string& sjis)
{
    std::string text = "\"";
    for (const char c : tessaly::SjisToUtf8Lossy(sjis)) {
        if (c == '"' || c == '\\') {
            text += '\\';
        }
        text += c == '\r' || c == '\n' ? ' ' : c;
    }
    return text + "\"";
}

void Write(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make-hugo-site PROJECT.TSP SITE_DIR\n";
        return 2;
    }
    tessaly::Project project;
    if (tessaly::LoadProjectFile(project, argv[1]).result != tessaly::LoadOutcome::Result::Loaded) {
        std::cerr << "cannot load " << argv[1] << '\n';
        return 1;
    }
    const std::filesystem::path site = argv[2];
    Write(site / "config.toml",
        "baseURL = \"http://example.org/\"\n"
        "disableKinds = [\"RSS\", \"sitemap\", \"robotsTXT\", \"404\"]\n"
        "paginate = 20\n"
        "[taxonomies]\n  genre = \"genres\"\n");
    // Item pages are listed but never rendered; the cascade sits on their
    // section so the genre pages still render.
    Write(site / "content" / "links" / "_index.md",
        "---\ntitle: Links\ncascade:\n  _build:\n    render: never\n    list: always\n---\n");
    Write(site / "layouts" / "_default" / "list.html", "<html><body><h1>{{ .Title }}</h1></body></html>\n");
    Write(site / "layouts" / "_default" / "terms.html",
        "<html><body><ul>{{ range .Data.Terms.Alphabetical }}<li><a href=\"{{ .Page.RelPermalink }}\">"
        "{{ .Page.Title }}</a></li>{{ end }}</ul></body></html>\n");
    Write(site / "layouts" / "_default" / "term.html",
        "<html><body><h1>{{ .Title }}</h1><ol>{{ range .Paginator.Pages }}<li><a href=\"{{ .Params.link }}\">"
        "<b>{{ .Title }}</b> / {{ .Params.author }}</a></li>{{ end }}</ol>"
        "{{ template \"_internal/pagination.html\" . }}</body></html>\n");
    std::size_t count = 0;
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            const tessaly::TLinkItem item = tessaly::LineToItem(line);
            Write(site / "content" / "links" / ("item" + std::to_string(item.Serial) + ".md"),
                "---\ntitle: " + Quoted(item.Title) + "\nauthor: " + Quoted(item.Author) + "\nlink: \"http://"
                    + tessaly::SjisToUtf8Lossy(item.Url)
                    + "\"\ndate: " + tessaly::DateToText(item.Date).replace(4, 1, "-").replace(7, 1, "-")
                    + "\ngenres: [" + Quoted(project.Genres[g].Name) + "]\n---\n");
            ++count;
        }
    }
    std::cout << count << " content files\n";
    return 0;
}
