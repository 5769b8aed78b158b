#include "core/site/SiteSearch.h"

#include "core/collection/Project.h"
#include "core/site/SearchIndex.h"
#include "core/templates/Resources.h"
#include "core/text/Codepage.h"
#include "core/text/Html.h"

namespace tessaly {

namespace {

// The page template with every mark replaced; UTF-8 needs no care for
// character boundaries.
std::string Filled(std::string page, std::string_view mark, std::string_view value)
{
    for (std::size_t at = page.find(mark); at != std::string::npos; at = page.find(mark, at + value.size())) {
        page.replace(at, mark.size(), value);
    }
    return page;
}

} // namespace

std::vector<SiteFile> SiteSearchFiles(
    const Project& project, const ItemCatalog& catalog, const std::vector<std::string>& listingPages)
{
    // The title last, so that no mark in it is taken for one of the page's.
    std::string page = Filled(std::string(resources::SITE_SEARCHPAGE), "%index;", kSearchIndexName);
    page = Filled(std::move(page), "%script;", kSearchScriptName);
    page = Filled(std::move(page), "%title;", HtmlEscape(SjisToUtf8Lossy(project.Title)));
    return {{kSearchPageName, std::move(page)}, {kSearchScriptName, std::string(resources::SITE_SEARCHSCRIPT)},
        {kSearchIndexName, SearchIndexScript(project, catalog, listingPages)}};
}

} // namespace tessaly
