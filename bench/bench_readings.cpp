// How often the suggested reading is exactly the right one, on a list of
// link titles and names with their readings (bench/readings.tsv: kind, text
// and reading, UTF-8, one entry a line). Prints the share per kind and the
// misses.
//   bench-readings [LIST.tsv] [--misses]

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"
#include "core/text/Strings.h"

using namespace tessaly;

namespace {

struct Tally {
    int entries = 0;
    int exact = 0;
    int complete = 0;
};

} // namespace

int main(int argc, char** argv)
{
    std::string listPath = TESSALY_READING_LIST;
    bool showMisses = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--misses") {
            showMisses = true;
        } else {
            listPath = arg;
        }
    }
    const ReadingServiceStatus opened = OpenReadingService();
    if (!opened.service) {
        std::cerr << "bench-readings: " << opened.error << '\n';
        return 1;
    }
    std::ifstream list(listPath);
    if (!list) {
        std::cerr << "bench-readings: cannot read " << listPath << '\n';
        return 1;
    }
    std::map<std::string, Tally> tallies;
    Tally all;
    std::string line;
    std::chrono::steady_clock::duration spent{};
    while (std::getline(list, line)) {
        const std::vector<std::string_view> fields = SplitList(line, '\t');
        if (line.empty() || line[0] == '#' || fields.size() != 3) {
            continue;
        }
        const ConversionResult text = Utf8ToSjis(fields[1]);
        const ConversionResult expected = Utf8ToSjis(fields[2]);
        if (!text.ok || !expected.ok) {
            std::cerr << "bench-readings: not Shift_JIS: " << line << '\n';
            return 1;
        }
        const auto start = std::chrono::steady_clock::now();
        const ReadingSuggestion suggestion = opened.service->Suggest(text.text);
        spent += std::chrono::steady_clock::now() - start;
        const bool exact = suggestion.reading == expected.text;
        for (Tally* tally : {&tallies[std::string(fields[0])], &all}) {
            ++tally->entries;
            tally->exact += exact ? 1 : 0;
            tally->complete += suggestion.complete ? 1 : 0;
        }
        if (!exact && showMisses) {
            std::cout << "miss  " << fields[0] << "  " << fields[1] << "  expected " << fields[2] << "  got "
                      << SjisToUtf8Lossy(suggestion.reading) << (suggestion.complete ? "" : " (partial)") << '\n';
        }
    }
    tallies.emplace("all", all);
    for (const auto& [kind, tally] : tallies) {
        std::printf("%-8s %4d entries  %5.1f %% exact  %5.1f %% complete\n", kind.c_str(), tally.entries,
            tally.entries ? 100.0 * tally.exact / tally.entries : 0.0,
            tally.entries ? 100.0 * tally.complete / tally.entries : 0.0);
    }
    const double micros = std::chrono::duration<double, std::micro>(spent).count();
    std::printf("%.1f microseconds a suggestion\n", all.entries ? micros / all.entries : 0.0);
    return 0;
}
