// Times the search modes and the bulk item tools over a large collection,
// best of 5 runs each: a string search over all five fields (a keyword that
// matches a fifth of the items, and one that matches none), list all and
// ending the search mode, the registered-date collection and the newest-
// attribute tool.
//   bench-search [ITEMS=100000] [GENRES=100]

#include <iostream>
#include <string>

#include "LargeCollection.h"
#include "Timing.h"
#include "core/collection/ItemMarks.h"
#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/search/SearchMode.h"
#include "core/text/Codepage.h"

using tessaly::bench::BestOfFive;
using tessaly::bench::Report;

int main(int argc, char** argv)
{
    const std::size_t items = argc > 1 ? std::stoul(argv[1]) : 100'000;
    const std::size_t genres = argc > 2 ? std::stoul(argv[2]) : 100;
    tessaly::Project project = tessaly::bench::MakeLargeCollection(items, genres);
    tessaly::ShownItems shown(project);
    const auto endSearch = [&] { tessaly::EndSearchMode(project, shown); };
    std::cout << items << " items in " << genres << " genres:\n";

    for (const char* keyword : {"星空の海辺", "見付からない"}) {
        tessaly::TSqueeze criteria = tessaly::SearchCriteria();
        criteria.keyword = SJ(keyword);
        std::size_t found = 0;
        const double seconds = BestOfFive(endSearch, [&] {
            const std::vector<std::string> lines = tessaly::ExtractMatchingItems(project, criteria);
            found = lines.size();
            tessaly::ShowSearchResult(shown, lines);
        });
        Report("string search, five fields (" + std::to_string(found) + " found)", seconds, "0.15");
    }
    endSearch();

    Report("list all",
        BestOfFive(endSearch, [&] { tessaly::ShowSearchResult(shown, tessaly::ExtractAllItems(project)); }), "0.5");
    Report("ending search mode after list all",
        BestOfFive(
            [&] {
                endSearch();
                tessaly::ShowSearchResult(shown, tessaly::ExtractAllItems(project));
            },
            endSearch),
        "0.5");

    std::size_t dates = 0;
    Report("registered-date collection",
        BestOfFive([] {}, [&] { dates = tessaly::RegisteredDates(project, shown.Rows()).size(); }), "0.2");
    std::cout << "    (" << dates << " dates)\n";

    // Two periods in turn, so that every run moves "最新" on a quarter of the
    // items rather than finding it in place.
    const tessaly::NewestPeriod periods[]
        = {{tessaly::NewestPeriodMode::From, *tessaly::EncodeDateTime({2012, 1, 1}), {}},
            {tessaly::NewestPeriodMode::Until, {}, *tessaly::EncodeDateTime({2001, 12, 31})}};
    std::size_t run = 0;
    std::size_t changed = 0;
    Report("newest-attribute tool",
        BestOfFive([] {}, [&] { changed = tessaly::AdjustNewestAttribute(project, periods[run++ % 2]); }), "0.5");
    std::cout << "    (" << changed << " items changed by the last run)\n";
    return 0;
}
