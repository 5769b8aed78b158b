#pragma once

// Item selection: which link items a set of criteria picks, in output order.

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/design/DirectoryDesign.h"
#include "core/util/TextArena.h"

namespace tessaly {

class Project;
class WorkerPool;

// The items of every genre but the trash, each decoded once, in genre order
// and stored order; the items read their fields in the project's lines, so
// the project must outlive the catalog and stay unchanged. Sort keys are
// computed on first use. Given workers, it decodes the items and computes
// the keys of a selection on all of them.
class ItemCatalog {
public:
    struct Entry {
        const std::string* line;
        LinkItemView item;
        std::size_t genre;
    };

    explicit ItemCatalog(const Project& project, WorkerPool* workers = nullptr);

    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry& operator[](std::size_t index) const { return entries_[index]; }
    std::size_t size() const { return entries_.size(); }
    // Entries from this index on are outside the unfiled genre.
    std::size_t FirstFiled() const { return firstFiled_; }

    // Collation keys of the title, title reading, author and author reading.
    std::string_view SortKey(std::size_t index, uint8_t sortBy) const;

    // Computes the keys that sorting the selection by sortBy compares.
    void PrepareSortKeys(const std::vector<std::size_t>& selection, uint8_t sortBy) const;
    // The same for every filed entry at once, for work that sorts most of
    // them in parts.
    void PrepareSortKeys(uint8_t sortBy) const;

    // Indexes of the entries whose item names this genre, in catalog order.
    const std::vector<std::size_t>& EntriesNamingGenre(const std::string& genreName) const;

private:
    // Calls work with consecutive ranges that cover [0, count), each with an
    // arena of its own for the texts it makes.
    void ForRanges(std::size_t count,
        const std::function<void(std::size_t begin, std::size_t end, TextArena& texts)>& work) const;
    // Room for the keys of one slot, made when first needed.
    void MakeKeySlot(std::size_t slot) const;
    std::string_view MakeSortKey(std::size_t index, std::size_t slot, TextArena& texts) const;

    static constexpr std::size_t kKeySlots = 4;

    std::vector<Entry> entries_;
    WorkerPool* workers_;
    std::unordered_map<std::string_view, std::vector<std::size_t>> byGenreName_;
    std::size_t firstFiled_ = 0;
    // Decoded fields and sort keys; a deque keeps each arena in place.
    mutable std::mutex textsMutex_;
    mutable std::deque<TextArena> texts_;
    // Per slot, filled when first needed: the key of each entry, and whether
    // it is made (a key may be empty).
    mutable std::array<std::vector<std::string_view>, kKeySlots> keys_;
    mutable std::array<std::vector<char>, kKeySlots> keysReady_;
};

// Tests one item against the criteria.
class ItemMatcher {
public:
    explicit ItemMatcher(const TSqueeze& criteria);
    bool Matches(const LinkItemView& item) const;

private:
    bool TagsMatch(std::string_view list, const std::vector<std::string>& all, const std::vector<std::string>& any,
        const std::vector<std::string>& none) const;
    bool KeywordMatches(const LinkItemView& item) const;
    const TSqueeze& criteria_;
    std::string keyword_;
    std::string domain_;
};

bool MatchItem(const LinkItemView& item, const TSqueeze& criteria);

// Indexes into the catalog of the items the criteria select: optionally
// sorted (stably), then cut to the criteria's range.
std::vector<std::size_t> SelectFromCatalog(
    const ItemCatalog& catalog, const TSqueeze& criteria, bool includeUnfiled, bool sort);

// Sorts indexes into the catalog by the criteria's sort keys, stably.
void SortSelection(const ItemCatalog& catalog, const TSqueeze& criteria, std::vector<std::size_t>& selection);

// The part [first, last) of a sorted list of n items that rangeMode keeps.
std::pair<std::size_t, std::size_t> RangeBounds(std::size_t n, const TSqueeze& criteria);

// Keeps the part of a sorted list that rangeMode asks for; returns what was
// cut away (in list order) through cut when given.
template <typename T> void ApplyRange(std::vector<T>& list, const TSqueeze& criteria, std::vector<T>* cut = nullptr);

struct SelectOptions {
    bool extract = false; // take matching items out of their genres
    bool includeUnfiled = false; // search the unfiled genre too
    bool sort = false;
};

using SelectProgress = std::function<void(std::string_view message, std::size_t position, std::size_t maximum)>;

// Appends the item lines the criteria select to output. With extract, the
// items leave their genres; those the range cuts away go back to the end of
// their genres.
void SelectItems(Project& project, const TSqueeze& criteria, std::vector<std::string>& output,
    const SelectOptions& options, const SelectProgress& progress = {});

} // namespace tessaly
