// Writes the site search page of a large collection into a directory and
// gives the sizes of its files and the time to make them (best of 5); then
// the index of the same collection with every comment its own, which the
// index cannot keep once for all items.
//   bench-site-search DIR [ITEMS=100000] [GENRES=100]

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "LargeCollection.h"
#include "Timing.h"
#include "core/collection/LinkItem.h"
#include "core/output/Selection.h"
#include "core/site/SiteSearch.h"

using namespace tessaly;

namespace {

// As the simple design's directories list them: 20 items a page, one
// directory per genre.
std::vector<std::string> ListingPages(const ItemCatalog& catalog)
{
    std::vector<std::string> pages;
    std::size_t genre = 0;
    std::size_t position = 0;
    for (const ItemCatalog::Entry& entry : catalog.Entries()) {
        position = entry.genre == genre ? position + 1 : 0;
        genre = entry.genre;
        char directory[16];
        std::snprintf(directory, sizeof directory, "genre%03zu/", genre);
        const std::size_t page = position / 20;
        pages.push_back(
            directory + (page == 0 ? std::string("index.html") : "pages" + std::to_string(page + 1) + ".html"));
    }
    return pages;
}

std::vector<SiteFile> Files(const Project& project, const std::string& what)
{
    const ItemCatalog catalog(project);
    const std::vector<std::string> pages = ListingPages(catalog);
    std::vector<SiteFile> files;
    bench::Report(what, bench::BestOfFive([] {}, [&] { files = SiteSearchFiles(project, catalog, pages); }), "2");
    for (const SiteFile& file : files) {
        std::cout << "    " << file.name << std::string(16 - file.name.size(), ' ') << file.bytes.size() << " bytes\n";
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: bench-site-search DIR [ITEMS] [GENRES]\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    Project project = bench::LargeCollectionOfArguments(argc - 1, argv + 1);
    for (const SiteFile& file : Files(project, "search page files")) {
        if (!(std::ofstream(dir / file.name, std::ios::binary) << file.bytes)) {
            std::cerr << "cannot write " << (dir / file.name).string() << '\n';
            return 1;
        }
    }
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        for (std::string& line : project.Genres[g].Lines) {
            TLinkItem item = LineToItem(line);
            item.Comment += std::to_string(item.Serial);
            line = ItemToLine(item);
        }
    }
    Files(project, "the same, every comment its own");
    return 0;
}
