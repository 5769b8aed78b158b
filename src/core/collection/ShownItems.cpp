#include "core/collection/ShownItems.h"

#include "core/collection/Project.h"

namespace tessaly {

std::optional<std::size_t> ShownItems::AddItemRecord(TLinkItem record)
{
    if (record.Serial == kUnnumbered) {
        const std::optional<int32_t> serial = project_.NextSerial();
        if (!serial) {
            return std::nullopt;
        }
        record.Serial = *serial;
    }
    rows_.push_back(std::move(record));
    return rows_.size() - 1;
}

void ShownItems::LoadGenreIntoList()
{
    rows_.clear();
    const std::vector<std::string>& lines = project_.Genres.at(selectedGenre_).Lines;
    rows_.reserve(lines.size());
    for (const std::string& line : lines) {
        AddItemRecord(LineToItem(line));
    }
}

void ShownItems::FlushGenre()
{
    if (searchMode_) {
        return;
    }
    project_.Genres.at(selectedGenre_).Lines = GenreLines();
}

std::vector<std::string> ShownItems::GenreLines() const
{
    std::vector<std::string> lines;
    lines.reserve(rows_.size());
    for (const TLinkItem& record : rows_) {
        lines.push_back(ItemToLine(record));
    }
    return lines;
}

void NewProject(Project& project, ShownItems& shown, const SettingsStore* settings)
{
    project.Reset(settings);
    shown.Clear();
    shown.SetSearchMode(false);
    shown.SelectGenre(0);
}

} // namespace tessaly
