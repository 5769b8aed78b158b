// Times loading and saving a project file and reports the peak memory of
// one load.
//   bench-project-file FILE.TSP            load and save, best of 5 runs
//   bench-project-file --memory FILE.TSP   peak resident memory of one load

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string_view>

#include <sys/resource.h>

#include "core/collection/Project.h"
#include "core/collection/ProjectFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--memory") {
        const long before = PeakKilobytes();
        tessaly::Project project;
        tessaly::LoadProjectFile(project, argv[2]);
        std::cout << "peak memory: " << PeakKilobytes() / 1024 << " MB (" << before / 1024 << " MB before loading)\n";
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: bench-project-file [--memory] FILE.TSP\n";
        return 2;
    }
    const std::filesystem::path path = argv[1];
    const std::filesystem::path copy = std::filesystem::temp_directory_path() / "tessaly-bench-save.TSP";
    double bestLoad = 1e9;
    double bestSave = 1e9;
    std::size_t items = 0;
    for (int run = 0; run < 5; ++run) {
        tessaly::Project project;
        const auto start = Clock::now();
        const tessaly::LoadOutcome outcome = tessaly::LoadProjectFile(project, path);
        bestLoad = std::min(bestLoad, Seconds(Clock::now() - start));
        if (outcome.result != tessaly::LoadOutcome::Result::Loaded) {
            std::cerr << "cannot load " << path << '\n';
            return 1;
        }
        items = 0;
        for (const tessaly::Genre& genre : project.Genres) {
            items += genre.Lines.size();
        }
        const auto saveStart = Clock::now();
        if (!tessaly::SaveProjectFile(project, copy).ok) {
            std::cerr << "cannot save " << copy << '\n';
            return 1;
        }
        bestSave = std::min(bestSave, Seconds(Clock::now() - saveStart));
    }
    std::filesystem::remove(copy);
    std::cout << "file: " << static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0) << " MB, "
              << items << " items\n"
              << "load: " << bestLoad << " s (best of 5)\n"
              << "save: " << bestSave << " s (best of 5)\n";
    return 0;
}
