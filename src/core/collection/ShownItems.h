#pragma once

// The records behind the rows of the item list. Only the selected genre's
// items exist as records; every other genre keeps item lines. Records are
// flushed back to the genre's lines before anything reads all genres.

#include <cstddef>
#include <optional>
#include <vector>

#include "core/collection/LinkItem.h"

namespace tessaly {

class Project;
class SettingsStore;

class ShownItems {
public:
    explicit ShownItems(Project& project)
        : project_(project)
    {
    }

    std::size_t SelectedGenre() const { return selectedGenre_; }
    // Only moves the selection; callers flush the genre they leave first.
    void SelectGenre(std::size_t index) { selectedGenre_ = index; }

    // In a search mode the rows hold items of many genres and are never
    // flushed into the selected genre.
    bool SearchMode() const { return searchMode_; }
    void SetSearchMode(bool on) { searchMode_ = on; }

    const std::vector<TLinkItem>& Rows() const { return rows_; }
    std::vector<TLinkItem>& Rows() { return rows_; }

    // Appends a row; an unnumbered record first receives the next serial.
    // Returns the index of the new row, or nothing (and adds none) when no
    // serial is left for it.
    std::optional<std::size_t> AddItemRecord(TLinkItem record);

    // Replaces the rows by the records of the selected genre's lines, in the
    // genre's order.
    void LoadGenreIntoList();

    // Writes the rows back as the selected genre's lines, in row order.
    void FlushGenre();
    // The lines FlushGenre would write.
    std::vector<std::string> GenreLines() const;

    void Clear() { rows_.clear(); }

private:
    Project& project_;
    std::vector<TLinkItem> rows_;
    std::size_t selectedGenre_ = 0;
    bool searchMode_ = false;
};

// Resets the project to a new one and the rows to its empty first genre.
void NewProject(Project& project, ShownItems& shown, const SettingsStore* settings);

} // namespace tessaly
