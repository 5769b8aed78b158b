// How often the suggested reading is exactly the right one, on a list of
// link titles and names with their readings (bench/readings.tsv: kind, text
// and reading, UTF-8, one entry a line). Prints per kind the share of exact
// readings and the misses, those marked uncertain or partial apart from
// those that are not (the ones a user would not be asked to check). Then
// the collection as dictionary: each miss corrected once, the text and a
// title holding it are suggested again.
//   bench-readings [LIST.tsv] [--misses] [--mecab DIR] [--without-names]

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "core/reading/KnownReadings.h"
#include "core/text/Codepage.h"
#include "core/text/Strings.h"

using namespace tessaly;

namespace {

struct Tally {
    int entries = 0;
    int exact = 0;
    int markedMisses = 0;
    int unmarkedMisses = 0;
    int markedExact = 0; // right, but marked all the same
};

struct Entry {
    std::string kind;
    std::string text; // code page 932
    std::string reading;
};

std::vector<Entry> ReadList(const std::string& path)
{
    std::ifstream list(path);
    if (!list) {
        std::cerr << "bench-readings: cannot read " << path << '\n';
        std::exit(1);
    }
    std::vector<Entry> entries;
    std::string line;
    while (std::getline(list, line)) {
        const std::vector<std::string_view> fields = SplitList(line, '\t');
        if (line.empty() || line[0] == '#' || fields.size() != 3) {
            continue;
        }
        const ConversionResult text = Utf8ToSjis(fields[1]);
        const ConversionResult expected = Utf8ToSjis(fields[2]);
        if (!text.ok || !expected.ok) {
            std::cerr << "bench-readings: not Shift_JIS: " << line << '\n';
            std::exit(1);
        }
        entries.push_back({std::string(fields[0]), text.text, expected.text});
    }
    return entries;
}

} // namespace

int main(int argc, char** argv)
{
    std::string listPath = TESSALY_READING_LIST;
    bool showMisses = false;
    ReadingDictionaryPaths paths;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--misses") {
            showMisses = true;
        } else if (arg == "--mecab" && i + 1 < argc) {
            paths.mecabDir = argv[++i];
        } else if (arg == "--without-names") {
            paths.names.clear();
            paths.words.clear();
        } else {
            listPath = arg;
        }
    }
    const ReadingServiceStatus opened = OpenReadingService(paths);
    if (!opened.service) {
        std::cerr << "bench-readings: " << opened.error << '\n';
        return 1;
    }
    const std::vector<Entry> entries = ReadList(listPath);
    opened.service->Suggest(SJ("猫")); // the dictionaries are read before the clock starts
    std::map<std::string, Tally> tallies;
    Tally all;
    std::vector<const Entry*> misses;
    std::chrono::steady_clock::duration spent{};
    for (const Entry& entry : entries) {
        const auto start = std::chrono::steady_clock::now();
        const ReadingSuggestion suggestion = opened.service->Suggest(entry.text);
        spent += std::chrono::steady_clock::now() - start;
        const bool exact = suggestion.reading == entry.reading;
        for (Tally* tally : {&tallies[entry.kind], &all}) {
            ++tally->entries;
            tally->exact += exact ? 1 : 0;
            tally->markedMisses += !exact && !suggestion.Certain() ? 1 : 0;
            tally->unmarkedMisses += !exact && suggestion.Certain() ? 1 : 0;
            tally->markedExact += exact && !suggestion.Certain() ? 1 : 0;
        }
        if (!exact) {
            misses.push_back(&entry);
            if (showMisses) {
                std::cout << (suggestion.Certain() ? "miss, unmarked  " : "miss, marked    ") << entry.kind << "  "
                          << SjisToUtf8Lossy(entry.text) << "  expected " << SjisToUtf8Lossy(entry.reading) << "  got "
                          << SjisToUtf8Lossy(suggestion.reading) << (suggestion.complete ? "" : " (partial)") << '\n';
            }
        }
    }
    tallies.emplace("all", all);
    for (const auto& [kind, tally] : tallies) {
        const auto share = [&](int count) { return tally.entries ? 100.0 * count / tally.entries : 0.0; };
        std::printf("%-8s %4d entries  %5.1f %% exact (%4.1f %% marked all the same)  misses: %4.1f %% marked, "
                    "%4.1f %% unmarked\n",
            kind.c_str(), tally.entries, share(tally.exact), share(tally.markedExact), share(tally.markedMisses),
            share(tally.unmarkedMisses));
    }
    const double micros = std::chrono::duration<double, std::micro>(spent).count();
    std::printf("%.1f microseconds a suggestion\n", all.entries ? micros / all.entries : 0.0);

    // Each miss corrected once by the user: suggested again alone and
    // inside a title.
    KnownReadings known;
    for (const Entry* miss : misses) {
        known.Add(miss->text, miss->reading);
    }
    const LearnedReadingService learned(*opened.service, known);
    int alone = 0;
    int inTitle = 0;
    for (const Entry* miss : misses) {
        alone += learned.Suggest(miss->text).reading == miss->reading ? 1 : 0;
        inTitle += learned.Suggest(miss->text + SJ("のページ")).reading == miss->reading + SJ("のぺえじ") ? 1 : 0;
    }
    std::printf("corrected once: %d of %zu right again, %d of %zu inside a title\n", alone, misses.size(), inTitle,
        misses.size());
    return 0;
}
