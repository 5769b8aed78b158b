// Times taking back and doing again the bulk tools over a large collection,
// best of 5 runs each, and measures what a history of 100 steps holds.
//   bench-history [ITEMS=100000] [GENRES=100]

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>

#include "LargeCollection.h"
#include "Timing.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/UndoHistory.h"
#include "core/tools/DomainReplace.h"
#include "core/tools/TagTidy.h"

using tessaly::bench::BestOfFive;
using tessaly::bench::Report;

namespace {

void TimeUndoRedo(const std::string& what, tessaly::Project& project, tessaly::UndoHistory& history)
{
    // Each run takes the last step back from the end, or does it again from
    // just before it.
    Report("undo of " + what, BestOfFive([&] { history.Redo(project); }, [&] { history.Undo(project); }), "0.5");
    history.Redo(project);
    Report("redo of " + what, BestOfFive([&] { history.Undo(project); }, [&] { history.Redo(project); }), "0.5");
}

std::string Megabytes(std::size_t bytes)
{
    return std::to_string(bytes / (1024 * 1024)) + "." + std::to_string(bytes % (1024 * 1024) * 10 / (1024 * 1024))
        + " MB";
}

} // namespace

int main(int argc, char** argv)
{
    tessaly::Project project = tessaly::bench::LargeCollectionOfArguments(argc, argv);

    tessaly::UndoHistory history;
    history.Reset(project);
    tessaly::ReplaceDomains(project, {"example.jp", "example.net", true, true});
    // Recorded once: a second record of the same state finds nothing new.
    const auto start = std::chrono::steady_clock::now();
    history.Record(project, "replace");
    Report("recording a domain replace", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        "0.5");
    TimeUndoRedo("a domain replace", project, history);

    // The vocabulary in the other order: every list of two or more names is to be sorted.
    std::reverse(project.Attributes.begin(), project.Attributes.end());
    std::reverse(project.Contents.begin(), project.Contents.end());
    history.Record(project, "order");
    std::cout << "  lists the tidy sorts: " << tessaly::TidyTagLists(project) << "\n";
    history.Record(project, "tidy");
    TimeUndoRedo("a tidy", project, history);

    // A day's work: 100 small changes, one item each in a genre of its own.
    history.Reset(project);
    for (std::size_t step = 0; step < 100; ++step) {
        std::vector<std::string>& lines = project.Genres[1 + step % project.UserGenreCount()].Lines;
        tessaly::TLinkItem item = tessaly::LineToItem(lines.front());
        item.Status = static_cast<int32_t>(step % 7);
        item.Comment += "x";
        lines.front() = tessaly::ItemToLine(item);
        history.Record(project, "edit");
    }
    std::cout << "  history of 100 one-item steps: " << history.Steps() << " steps, "
              << Megabytes(history.MemoryUse()) << "\n";

    // 100 whole-collection changes: the oldest go past the limit.
    for (std::size_t step = 0; step < 100; ++step) {
        const bool forth = step % 2 == 0;
        tessaly::ReplaceDomains(project, {forth ? "example.net" : "example.org", forth ? "example.org" : "example.net", true, true});
        history.Record(project, "replace");
    }
    std::cout << "  history after 100 domain replaces: " << history.Steps() << " steps kept, "
              << Megabytes(history.MemoryUse()) << " (limit " << Megabytes(tessaly::UndoHistory::kDefaultMemoryLimit)
              << ")\n";
    return 0;
}
