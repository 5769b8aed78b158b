// Times the link check against the loopback server: LINKS links spread over
// HOSTS hosts (host names mapped to 127.0.0.1 ... 127.0.0.HOSTS), each
// answering after DELAY milliseconds, with the checker's defaults. Prints
// the time and the peak memory of the process.
//   bench-link-check [LINKS [HOSTS [DELAY]]]     (default 2000 200 50)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "core/linkcheck/LinkChecker.h"
#include "support/LoopbackHttpServer.h"

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const int links = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int hosts = argc > 2 ? std::atoi(argv[2]) : 200;
    const int delay = argc > 3 ? std::atoi(argv[3]) : 50;
    if (links < 1 || hosts < 1 || hosts > 254 || delay < 0) {
        std::fprintf(stderr, "usage: bench-link-check [LINKS [HOSTS (1-254) [DELAY]]]\n");
        return 2;
    }
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy"}) {
        ::unsetenv(name);
    }
    tessaly::test::LoopbackHttpServer server(false, static_cast<unsigned>(hosts));
    server.SetDefault({200, {}, false, false, std::chrono::milliseconds(delay)});
    const std::string port = std::to_string(server.Port());

    tessaly::LinkCheckOptions options;
    options.listedNamesOnly = true;
    for (int host = 1; host <= hosts; ++host) {
        options.resolve.push_back("site" + std::to_string(host) + ".test:" + port + ":127.0.0." + std::to_string(host));
    }
    std::vector<tessaly::LinkToCheck> toCheck;
    for (int i = 0; i < links; ++i) {
        toCheck.push_back(
            {"http://site" + std::to_string(i % hosts + 1) + ".test:" + port + "/page" + std::to_string(i), false});
    }
    const long before = PeakKilobytes();
    int ok = 0;
    int reported = 0;
    const auto start = std::chrono::steady_clock::now();
    tessaly::RunLinkCheck(toCheck, options, [&](const tessaly::LinkCheckResult& result) {
        ++reported;
        ok += result.result == tessaly::LinkResult::Ok ? 1 : 0;
        if (reported % (links / 4 > 0 ? links / 4 : 1) == 0) {
            std::printf("  %5d checked, peak memory %ld KiB\n", reported, PeakKilobytes());
        }
    });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d links on %d hosts, answers after %d ms: %.2f s (%d ok), most in flight %u, "
                "peak memory %ld KiB (before the run %ld KiB)\n",
        links, hosts, delay, seconds, ok, server.MostConcurrent(), PeakKilobytes(), before);
    return ok == links ? 0 : 1;
}
