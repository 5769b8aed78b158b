#pragma once

// The HTML text of one page of one output directory.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/design/DirectoryDesign.h"
#include "core/output/Selection.h"
#include "core/templates/Resources.h"
#include "core/templates/TemplateEngine.h"
#include "core/util/AtomicFile.h"

namespace tessaly {

class Project;

// A log line sink (code page 932 text, one line per call).
using RunLog = std::function<void(std::string line)>;

// The run log's note that file (a page template or design file, code page
// 932 path) was read as UTF-8 and converted, naming the characters code page
// 932 lacks.
std::string Utf8FileNote(std::string_view file, const Utf8Conversion& conversion);

// The bar of page numbers over and under the items of every page of a
// directory: each page's number links to it, but for the page the bar is on.
// Made once per directory, as the bars of a directory grow with the square
// of its page count.
class PageBars {
public:
    PageBars() = default;
    explicit PageBars(const std::vector<std::string>& pageNames);
    // Nothing for a directory of one page.
    void AppendTo(std::string& out, std::size_t pageIndex) const;

private:
    std::string linked_; // every number linked
    std::vector<std::pair<std::size_t, std::size_t>> links_; // each page's link in linked_
};

// Everything about one directory that its pages share, prepared once.
struct DirectoryPages {
    std::string directory; // code page 932, ending in "/"
    bool isRoot = false;
    TDirectoryDesign design; // after succession
    std::string bannerPrefix; // from the directory to the banner directory
    std::vector<std::size_t> selection; // the directory's items, sorted, as catalog indexes
    std::size_t hits = 0;
    std::vector<std::string> pageNames;
    PageBars bars;
    // Item range of each page: first and last item number, 0 for "from the
    // beginning" and "to the end".
    std::vector<std::pair<int32_t, int32_t>> pageRanges;
};

// Assembles pages; reads ancestor designs and page templates once per run.
// The run's thread starts each directory and its further pages; once
// started, the pages themselves can be assembled on any thread.
class PageAssembler {
public:
    PageAssembler(const Project& project, const ItemCatalog& catalog, std::string rootDirectory,
        DesignDefaults defaults, RunLog log);

    // Prepares what the directory's pages share and reads the template of
    // its first page.
    void StartDirectory(const DirectoryPages& pages);
    // Reads the template of the further pages, once the first is written
    // (the first page may be that template).
    void StartSubPages(const DirectoryPages& pages);

    std::string AssemblePage(const DirectoryPages& pages, std::size_t pageIndex) const;

    std::string BuildReturnLinks(const DirectoryPages& pages);
    // The page bar, the page's items and the bar again.
    void AppendLinks(std::string& out, const DirectoryPages& pages, std::size_t pageIndex, const TSqueeze& range) const;
    std::string LoadPageTemplate(std::string_view path, std::string_view directory);

    // Whether a page template of the run shows the program's own banner.
    bool RefersToProgramBanner() const { return refersToProgramBanner_; }

private:
    void NoteProgramBanner(const std::string& pageTemplate);
    const TDirectoryDesign& AncestorDesign(const std::string& directory, bool& exists);
    // Replaces each "%links;" with the links of the page; pages is null
    // where the directory lists no links.
    void InsertLinks(std::string& text, const DirectoryPages* pages, std::size_t pageIndex, const TSqueeze& range) const;

    const Project& project_;
    const ItemCatalog& catalog_;
    std::string root_;
    DesignDefaults defaults_;
    RunLog log_;
    std::size_t itemCount_ = 0;
    std::map<std::string, std::pair<bool, TDirectoryDesign>> ancestors_;
    std::map<std::string, FileReadResult> templateFiles_;
    bool refersToProgramBanner_ = false;
    // Per directory: its return links, directory links, item template and
    // page templates.
    std::string returns_;
    std::string directoryLinks_;
    TTemplateRec itemTemplate_;
    std::string defTemplate_;
    std::string subTemplate_;
};

// A path in a design or the project: absolute as it stands, relative to the
// site's root otherwise.
std::string SitePath(std::string_view root, std::string_view path);

std::string BuildDirectoryLinks(const TSubLinks& subLinks);

struct PageKeywords {
    const Project& project;
    const TDirectoryDesign& design;
    std::size_t itemCount; // all genres but the unfiled one and the trash
    std::size_t hits;
    const TSqueeze& range;
};
void ReplacePageKeywords(std::string& text, const PageKeywords& keywords);

// Rewrites "%%" values and absolute local paths in the URL attributes of
// tags into paths relative to the directory.
std::string RewriteLocalReferences(std::string text, std::string_view directory, std::string_view bannerPrefix);

// Pixel size of a local GIF or JPEG image; (0, 0) for anything else.
std::pair<int32_t, int32_t> ReadImageSize(std::string_view path);

} // namespace tessaly
