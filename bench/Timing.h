#pragma once

// Timing for the benchmarks: the best of five runs, reported against its
// target.

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <limits>
#include <string>

namespace tessaly::bench {

// The best time of five runs of step; prepare runs untimed before each.
inline double BestOfFive(const std::function<void()>& prepare, const std::function<void()>& step)
{
    using Clock = std::chrono::steady_clock;
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < 5; ++run) {
        prepare();
        const auto start = Clock::now();
        step();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

inline void Report(const std::string& what, double seconds, const std::string& target)
{
    std::cout << "  " << what << std::string(what.size() < 44 ? 44 - what.size() : 1, ' ') << seconds << " s"
              << "  (target < " << target << " s)\n";
}

} // namespace tessaly::bench
