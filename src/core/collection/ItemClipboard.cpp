#include "core/collection/ItemClipboard.h"

#include "core/collection/Project.h"
#include "core/text/Strings.h"

namespace tessaly {

namespace {

// Visits the chosen rows in the order given, passing over indexes that name
// no row.
template <typename Visit>
void ForEachChosen(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen, Visit visit)
{
    for (const std::size_t row : chosen) {
        if (row < rows.size()) {
            visit(rows[row]);
        }
    }
}

} // namespace

std::string ItemLinesText(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen)
{
    std::string text;
    ForEachChosen(rows, chosen, [&text](const TLinkItem& item) {
        text += ItemToLine(item);
        text += kLineBreak;
    });
    return text;
}

std::string ReadableItemsText(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen)
{
    std::string text;
    ForEachChosen(rows, chosen, [&text](const TLinkItem& item) { text += ItemToReadableText(item); });
    return text;
}

std::vector<TLinkItem> PastedItems(std::string_view text, const std::string& genreField)
{
    std::vector<TLinkItem> items;
    for (const std::string_view line : SplitLines(text)) {
        if (!IsValidItemLine(line)) {
            continue;
        }
        TLinkItem item = LineToItem(line);
        item.GenreName = genreField;
        // A pasted item is a new item: the serial it carried may be taken.
        item.Serial = kUnnumbered;
        items.push_back(std::move(item));
    }
    return items;
}

std::string GenreFieldOf(const Project& project, std::size_t genre)
{
    if (genre == project.TrashIndex()) {
        return std::string(kTrashGenreMark);
    }
    return project.IsUserGenre(genre) ? project.Genres[genre].Name : std::string();
}

} // namespace tessaly
