// Times the side formats and bulk tools over a large collection, best of 5
// runs each: the CSV of the largest genre, the search data file of the whole
// collection, domain replace, tidy, and the import of an RKM file with one
// link per item.
//   bench-tools [ITEMS=100000] [GENRES=100]

#include <iostream>
#include <string>

#include "LargeCollection.h"
#include "Timing.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Html.h"
#include "core/tools/CsvExport.h"
#include "core/tools/DomainReplace.h"
#include "core/tools/RkmImport.h"
#include "core/tools/SearchData.h"
#include "core/tools/TagTidy.h"

using tessaly::bench::BestOfFive;
using tessaly::bench::Report;

namespace {

std::string DataLine(std::string_view key, std::string_view value)
{
    return "\t" + std::string(key) + "=" + std::string(value) + "\r\n";
}

// The collection as an RKM file: a category block with its genres and
// vocabularies, then one link block per item.
std::string RkmFileOf(const tessaly::Project& project)
{
    std::string text = "<!-- start category -->\r\n";
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        text += DataLine("1g" + std::to_string(g), project.Genres[g].Name);
    }
    for (std::size_t i = 0; i < project.Attributes.size(); ++i) {
        text += DataLine("@a" + std::to_string(i), project.Attributes[i]);
    }
    for (std::size_t i = 0; i < project.Contents.size(); ++i) {
        text += DataLine("c" + std::to_string(i), project.Contents[i]);
    }
    text += "<!-- end -->\r\n";
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            const tessaly::TLinkItem item = tessaly::LineToItem(line);
            text += "<!-- start link -->\r\n";
            text += DataLine("title", tessaly::HtmlEscape(item.Title));
            text += DataLine("title_kana", item.TitleKana);
            text += DataLine("author", tessaly::HtmlEscape(item.Author));
            text += DataLine("author_kana", item.AuthorKana);
            text += DataLine("mail", item.Mail);
            text += DataLine("page", "http://" + item.Url);
            text += DataLine("update", tessaly::DateToText(item.Date));
            text += DataLine("category", "1g" + std::to_string(g) + "/@a0/c1/c2");
            text += "\tcomment={\r\n\tone line\r\n\tand another\r\n}\r\n<!-- end -->\r\n";
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    tessaly::Project project = tessaly::bench::LargeCollectionOfArguments(argc, argv);

    std::size_t largest = 1;
    for (std::size_t g = 1; g < project.TrashIndex(); ++g) {
        largest = project.Genres[g].Lines.size() > project.Genres[largest].Lines.size() ? g : largest;
    }
    std::size_t bytes = 0;
    Report("CSV of the largest genre (" + std::to_string(project.Genres[largest].Lines.size()) + " items)",
        BestOfFive([] {},
            [&] {
                std::vector<tessaly::TLinkItem> rows;
                for (const std::string& line : project.Genres[largest].Lines) {
                    rows.push_back(tessaly::LineToItem(line));
                }
                bytes = tessaly::CsvText(rows, tessaly::CsvCommentMode::Erase).size();
            }),
        "0.1");

    Report("search data file of the whole collection",
        BestOfFive([] {},
            [&] {
                bytes = tessaly::DizText(project, {tessaly::SimpleTemplateName(), false, 0, 0}).size();
            }),
        "0.5");
    std::cout << "    (" << bytes << " bytes)\n";

    // Back and forth, so that every run replaces in every address.
    std::size_t run = 0;
    std::size_t count = 0;
    Report("domain replace",
        BestOfFive([] {},
            [&] {
                const bool forth = run++ % 2 == 0;
                count = tessaly::ReplaceDomains(
                    project, {forth ? "example.jp" : "example.net", forth ? "example.net" : "example.jp", true, true});
            }),
        "0.5");
    std::cout << "    (" << count << " addresses)\n";

    Report("attribute/content tidy", BestOfFive([] {}, [&] { count = tessaly::TidyTagLists(project); }), "0.5");

    const std::string rkm = RkmFileOf(project);
    tessaly::Project target;
    std::size_t stored = 0;
    Report("RKM import (" + std::to_string(rkm.size() >> 20) + " MB)",
        BestOfFive([&] { target = tessaly::Project(); },
            [&] { stored = tessaly::ImportRkmText(target, rkm, tessaly::DateOf(tessaly::TDateTime{40000})).stored; }),
        "1");
    std::cout << "    (" << stored << " links stored)\n";
    return 0;
}
