// Times the output run over a large collection with a simple design (one
// directory per genre, 20 items a page): a full run into a fresh root, then
// a second run in which every page is unchanged. Reports peak memory and
// the processor time of each run (all threads).
//   bench-output ITEMS [GENRES=100] [ROOT] [JOBS=cores]

#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>

#include <sys/resource.h>

#include "LargeCollection.h"
#include "core/output/OutputRun.h"
#include "core/text/Paths.h"

namespace {

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

// Processor time of the process so far (user and system, all threads).
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: bench-output ITEMS [GENRES] [ROOT] [JOBS]\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const std::size_t items = std::stoul(argv[1]);
    const std::size_t genres = argc > 2 ? std::stoul(argv[2]) : 100;
    const fs::path root = argc > 3 ? fs::path(argv[3]) : fs::current_path() / ("bench-root-" + std::to_string(items));
    const unsigned jobs = argc > 4 ? static_cast<unsigned>(std::stoul(argv[4])) : tessaly::DefaultJobs();
    tessaly::Project project = tessaly::bench::MakeLargeCollection(items, genres);
    const tessaly::SystemClock clock;
    if (!tessaly::bench::MakeLargeSite(project, root, clock.Today())) {
        return 1;
    }
    tessaly::OutputObserver quiet;
    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const tessaly::OutputResult first = tessaly::RunOutput(project, project.RootDir, clock, quiet, jobs);
    const auto middle = std::chrono::steady_clock::now();
    const double cpuMiddle = CpuSeconds();
    const tessaly::OutputResult second = tessaly::RunOutput(project, project.RootDir, clock, quiet, jobs);
    const auto end = std::chrono::steady_clock::now();
    const double cpuEnd = CpuSeconds();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << items << " items: full run " << Seconds(middle - start) << " s (" << first.counts.created
              << " pages created), second run " << Seconds(end - middle) << " s (" << second.counts.skipped
              << " skipped), peak memory " << usage.ru_maxrss / 1024 << " MB, processor time " << cpuMiddle - cpuStart
              << " s and " << cpuEnd - cpuMiddle << " s\n";
    if (argc <= 3) {
        fs::remove_all(root);
    }
    return first.status == tessaly::OutputResult::Status::Finished ? 0 : 1;
}
