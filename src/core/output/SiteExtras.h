#pragma once

// What the output run publishes besides the pages of the directories: the
// site's own search page, the feed and the sitemap at the root, and the
// check of the pages' links. The run tells it which pages it wrote and
// which items they list; once every directory is done, it writes the rest.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/output/PageAssembly.h"
#include "core/output/PagePlan.h"
#include "core/text/DateTime.h"

namespace tessaly {

class ItemCatalog;
class Project;

class SiteExtras {
public:
    // root: code page 932, ending in "/".
    SiteExtras(const Project& project, std::string root, std::size_t itemCount);

    // The name of a page of the root that would take one of the files
    // written here, if one does.
    std::optional<std::string> TakenName(const std::string& directory, const std::vector<PageRow>& rows) const;

    // A directory's plan: the items each of its pages lists. An item is
    // found on the page of the narrowest directory that lists it (its
    // genre's, rather than a page of every item), the first such page.
    void NoteListing(const DirectoryPages& pages);
    // A page that is on disk as the run wants it.
    void NotePage(const std::string& directory, const std::string& fileName);

    // Writes the files of the options that are on and checks the links of
    // the pages; log: the run's log lines (code page 932).
    void Finish(const ItemCatalog& catalog, const Clock& clock, const RunLog& log);

private:
    std::vector<std::string> FileNames() const;
    void DeleteUnwanted(const RunLog& log);
    void WriteFile(const std::string& name, std::string bytes, const RunLog& log);
    void WriteSearch(const ItemCatalog& catalog, const RunLog& log);
    void WriteFeedAndSitemap(const Clock& clock, const RunLog& log);
    void CheckLinks(const RunLog& log);

    const Project& project_;
    std::string root_;
    std::vector<std::string> pages_; // root-relative, "/"-separated, code page 932
    std::vector<std::string> listingPages_; // by catalog index
    std::vector<std::size_t> listingHits_; // the hits of the directory of each listing page
};

} // namespace tessaly
