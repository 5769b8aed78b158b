// Someone else's RKM and bookmark files imported into a collection whose
// items then go through the item template into a page: no markup of the
// input may reach the page, but in the comment of an item from an RKM file
// (whose comments are HTML by the format's own rules).
//
// The input is an RKM file, a line "#--", and a bookmark file.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/reading/ReadingService.h"
#include "core/templates/TemplateEngine.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"
#include "KanaReadings.h"
#include "core/tools/BookmarkFile.h"
#include "core/tools/BookmarkImport.h"
#include "core/tools/RkmImport.h"

namespace {

// Every field in the places pages put them: attribute values and text.
tessaly::TTemplateRec FieldsTemplate()
{
    tessaly::TTemplateRec rec;
    rec.Body = "<A href=\"%url;\" title=\"%title;\">%title;</A><IMG src=\"%banner;\" width=%x; height=%y;>"
               "<A href=\"mailto:%mail;\">%author;</A>%titlekana;/%authorkana;/%genre;/%attribute;/%content;"
               "/%date;/%serial;";
    rec.AttrTop = "<B>";
    rec.AttrEnd = "</B>";
    rec.AttrQuot = ", ";
    return rec;
}

std::size_t Markup(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return c == '<' || c == '>' || c == '"'; }));
}

std::size_t ListNames(std::string_view list)
{
    const std::vector<std::string> names = tessaly::SplitSlashList(list);
    return static_cast<std::size_t>(
        std::count_if(names.begin(), names.end(), [](const std::string& name) { return !name.empty(); }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t separator = input.find("\n#--\n");
    const std::string_view rkm = input.substr(0, separator);
    const std::string_view bookmarks
        = separator == std::string_view::npos ? std::string_view() : input.substr(separator + 5);

    tessaly::Project project;
    const tessaly::TDateTime today = *tessaly::EncodeDateTime({2024, 4, 1});
    const tessaly::RkmImportResult fromRkm = tessaly::ImportRkmText(project, rkm, today);
    const int32_t lastRkmSerial = project.SerialMax;
    const tessaly::FixedClock clock(today);
    tessaly::ImportBookmarks(project, tessaly::ReadBookmarkFile(bookmarks).bookmarks, tessaly::fuzz::KanaReadings(), clock);

    static const tessaly::TTemplateRec fields = FieldsTemplate();
    tessaly::TTemplateRec comment;
    comment.Body = "%comment;";
    std::size_t rkmItems = 0;
    for (const tessaly::Genre& genre : project.Genres) {
        for (const std::string& line : genre.Lines) {
            const tessaly::TLinkItem item = tessaly::LineToItem(line);
            const tessaly::LinkItemView view(item);
            // The template's own markup, and "<B>" "</B>" around each list
            // name: nothing else may come from the item.
            const std::size_t names = ListNames(item.Attributes) + ListNames(item.Contents);
            if (Markup(tessaly::RenderItem(view, fields, "../banner/")) != Markup(fields.Body) + 4 * names) {
                __builtin_trap();
            }
            if (item.Serial <= lastRkmSerial) {
                ++rkmItems;
                continue; // RKM comments are HTML
            }
            std::string text = tessaly::RenderItem(view, comment, "");
            text = tessaly::sjis::ReplaceAll(text, "<BR>", "");
            if (Markup(text) != 0) {
                __builtin_trap();
            }
        }
    }
    if (rkmItems != fromRkm.stored) {
        __builtin_trap();
    }
    return 0;
}
