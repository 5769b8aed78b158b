// Reading and importing browser bookmark files.
//   bench-bookmarks [COUNT]   COUNT links (10,000) in 50 folders, titles from
//                             bench/readings.tsv, readings from MeCab
//   bench-bookmarks links     1,000,000 links
//   bench-bookmarks folders   10,000 folders nested in each other, a link in each
//   bench-bookmarks nesting   100,000 nested lists (refused)
//   bench-bookmarks names     100,000 distinct folders and 100,000 distinct tags
// The last four take their readings from the kana of the titles, so that they
// measure the reader and the import, not MeCab; each target: under 10 s and
// 1 GB (the peak resident size of the process, so run one at a time).

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/collection/Project.h"
#include "core/reading/ReadingService.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "core/text/Strings.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"

using namespace tessaly;

namespace {

// Kana read as themselves, anything else left out.
class KanaReadings final : public ReadingService {
public:
    ReadingSuggestion Suggest(std::string_view sjisText) const override
    {
        std::vector<ReadingToken> tokens;
        const std::string utf8 = SjisToUtf8Lossy(sjisText);
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            tokens.push_back({utf8.substr(i, length), ""});
            i += length;
        }
        return ComposeReading(utf8, tokens);
    }
};

std::string Link(std::size_t i, const std::string& title, const std::string& tags)
{
    return "<DT><A HREF=\"https://site" + std::to_string(i) + ".example.jp/\" ADD_DATE=\""
        + std::to_string(1600000000 + i * 600) + "\" TAGS=\"" + tags + "\">" + title + "</A>\n";
}

std::string Repeat(const std::string& text, std::size_t times)
{
    std::string repeated;
    repeated.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

std::string MeCabFile(std::size_t count)
{
    std::vector<std::string> titles;
    std::ifstream list(TESSALY_READING_LIST);
    for (std::string line; std::getline(list, line);) {
        const std::vector<std::string_view> fields = SplitList(line, '\t');
        if (fields.size() == 3 && !line.starts_with('#')) {
            titles.emplace_back(fields[1]);
        }
    }
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (std::size_t i = 0; i < count; ++i) {
        if (i % (count / 50 + 1) == 0) {
            html += (i == 0 ? "" : "</DL><p>\n") + std::string("<DT><H3>フォルダ") + std::to_string(i) + "</H3>\n<DL><p>\n";
        }
        html += Link(i, titles[i % titles.size()], "tag" + std::to_string(i % 20));
    }
    return html + "</DL><p>\n</DL><p>\n";
}

std::string ScaleFile(const std::string& kind)
{
    std::string html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    if (kind == "links") {
        for (std::size_t i = 0; i < 1'000'000; ++i) {
            html += Link(i, "ねこのへや", "tag" + std::to_string(i % 20));
        }
    } else if (kind == "folders") {
        for (std::size_t i = 0; i < 10'000; ++i) {
            html += "<DT><H3>フォルダ" + std::to_string(i) + "</H3>\n<DL><p>\n" + Link(i, "ねこ", "");
        }
    } else if (kind == "nesting") {
        html += Repeat("<DL><p>\n", 100'000);
    } else if (kind == "names") {
        for (std::size_t i = 0; i < 100'000; ++i) {
            html += "<DT><H3>フォルダ" + std::to_string(i) + "</H3>\n<DL><p>\n"
                + Link(i, "ねこ", "tag" + std::to_string(i)) + "</DL><p>\n";
        }
    }
    return html + "</DL><p>\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc > 1 ? argv[1] : "";
    const bool scale = kind == "links" || kind == "folders" || kind == "nesting" || kind == "names";
    const std::string html = scale ? ScaleFile(kind) : MeCabFile(kind.empty() ? 10000 : std::stoul(kind));
    const ReadingServiceStatus mecab = scale ? ReadingServiceStatus{} : OpenReadingService();
    const KanaReadings kana;
    if (!scale && !mecab.service) {
        std::cerr << "bench-bookmarks: " << mecab.error << '\n';
        return 1;
    }
    const ReadingService& readings = scale ? static_cast<const ReadingService&>(kana) : *mecab.service;
    const auto start = std::chrono::steady_clock::now();
    const BookmarkFile file = ReadBookmarkFile(html);
    const auto parsed = std::chrono::steady_clock::now();
    Project project;
    const FixedClock clock(*EncodeDateTime({2024, 4, 1}));
    const BookmarkImportReport report = ImportBookmarks(project, file.bookmarks, readings, clock);
    const auto imported = std::chrono::steady_clock::now();
    const auto seconds = [](auto from, auto to) { return std::chrono::duration<double>(to - from).count(); };
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %zu bookmarks (%zu KB)%s: read %.2f s, import %.2f s (target < 10 s); stored %zu, "
                "to check %zu, not stored %zu, genres %zu, attributes %zu; peak %ld MB (target < 1024 MB)\n",
        kind.empty() ? "mecab" : kind.c_str(), file.bookmarks.size(), html.size() / 1024,
        file.tooDeep ? " refused as nested too deep" : "", seconds(start, parsed), seconds(parsed, imported),
        report.stored, report.doubtfulReadings.size(), report.notStored.size(), project.Genres.size(),
        project.Attributes.size(), usage.ru_maxrss / 1024);
    return 0;
}
