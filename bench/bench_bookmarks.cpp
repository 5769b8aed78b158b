// Reading and importing a browser bookmark file of 10,000 links in 50
// folders (titles from bench/readings.tsv), with readings from MeCab.
//   bench-bookmarks [COUNT]

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "collection/Project.h"
#include "reading/ReadingService.h"
#include "text/DateTime.h"
#include "text/Strings.h"
#include "tools/BookmarkFile.h"
#include "tools/BookmarkImport.h"

using namespace tessaly;

int main(int argc, char** argv)
{
    const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 10000;
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
        html += "<DT><A HREF=\"https://site" + std::to_string(i) + ".example.jp/\" ADD_DATE=\""
            + std::to_string(1600000000 + i * 600) + "\" TAGS=\"tag" + std::to_string(i % 20) + "\">"
            + titles[i % titles.size()] + "</A>\n";
    }
    html += "</DL><p>\n</DL><p>\n";

    const ReadingServiceStatus readings = OpenReadingService();
    if (!readings.service) {
        std::cerr << "bench-bookmarks: " << readings.error << '\n';
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const BookmarkFile file = ReadBookmarkFile(html);
    const auto parsed = std::chrono::steady_clock::now();
    Project project;
    const FixedClock clock(*EncodeDateTime({2024, 4, 1}));
    const BookmarkImportReport report = ImportBookmarks(project, file.bookmarks, *readings.service, clock);
    const auto imported = std::chrono::steady_clock::now();
    const auto ms = [](auto from, auto to) { return std::chrono::duration<double, std::milli>(to - from).count(); };
    std::printf("%zu bookmarks (%zu KB): read %.0f ms, import %.0f ms; stored %zu, partial %zu, not stored %zu\n",
        file.bookmarks.size(), html.size() / 1024, ms(start, parsed), ms(parsed, imported), report.stored,
        report.partialReadings.size(), report.notStored.size());
    return 0;
}
