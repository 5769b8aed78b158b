#include "core/output/Selection.h"

#include <algorithm>
#include <unordered_map>

#include "core/collection/Project.h"
#include "core/output/WorkerPool.h"
#include "core/text/Codepage.h"
#include "core/text/Collation.h"
#include "core/text/FieldText.h"
#include "core/text/Sjis.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

// How many entries ahead the decoding and sorting loops ask for memory.
constexpr std::size_t kLookAhead = 4;

int ImportanceGroup(int32_t status)
{
    return status >= 4 && status <= 6 ? status - 3 : 0;
}

std::size_t KeySlot(uint8_t sortBy)
{
    switch (sortBy) {
    case 1: return 1; // author reading
    case 3: return 2; // title
    case 4: return 3; // author
    default: return 0; // title reading
    }
}

std::string_view KeyField(const LinkItemView& item, std::size_t slot)
{
    switch (slot) {
    case 1: return item.AuthorKana;
    case 2: return item.Title;
    case 3: return item.Author;
    default: return item.TitleKana;
    }
}

bool InKanaRange(std::string_view reading, const KanaRange& range)
{
    if (!KanaRangeIsPartial(range)) {
        return true;
    }
    if (reading.size() < 2) {
        return false;
    }
    const unsigned code
        = (static_cast<unsigned>(static_cast<unsigned char>(reading[0])) << 8) | static_cast<unsigned char>(reading[1]);
    return code >= kFirstHiragana && code <= kLastHiragana && range.test(code - kFirstHiragana);
}

std::string HostPart(std::string_view url, bool ignoreCase)
{
    const std::string_view host = UrlHostPart(url);
    return ignoreCase ? AsciiLower(host) : std::string(host);
}

// Collation keys of tag names, computed once per name.
class TagKeys {
public:
    const std::string& Of(const std::string& name)
    {
        auto found = keys_.find(name);
        if (found == keys_.end()) {
            found = keys_.emplace(name, CollationKey(name)).first;
        }
        return found->second;
    }

private:
    std::unordered_map<std::string, std::string> keys_;
};

TagKeys& SharedTagKeys()
{
    thread_local TagKeys keys;
    return keys;
}

} // namespace

ItemCatalog::ItemCatalog(const Project& project, WorkerPool* workers)
    : workers_(workers)
{
    std::size_t count = 0;
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        count += project.Genres[g].Lines.size();
    }
    entries_.reserve(count);
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        for (const std::string& line : project.Genres[g].Lines) {
            entries_.push_back({&line, {}, g});
        }
        if (g == 0) {
            firstFiled_ = entries_.size();
        }
    }
    ForRanges(entries_.size(), [this](std::size_t begin, std::size_t end, TextArena& texts) {
        for (std::size_t i = begin; i < end; ++i) {
            // The lines lie apart in memory: ask for those a few ahead
            // while this one is read.
            if (i + kLookAhead < end) {
                __builtin_prefetch(entries_[i + kLookAhead].line->data());
            }
            entries_[i].item = ViewItemLine(*entries_[i].line, texts);
        }
    });
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        byGenreName_[entries_[i].item.GenreName].push_back(i);
    }
}

const std::vector<std::size_t>& ItemCatalog::EntriesNamingGenre(const std::string& genreName) const
{
    static const std::vector<std::size_t> kNone;
    const auto found = byGenreName_.find(genreName);
    return found == byGenreName_.end() ? kNone : found->second;
}

void ItemCatalog::MakeKeySlot(std::size_t slot) const
{
    if (keys_[slot].empty()) {
        keys_[slot].resize(entries_.size());
        keysReady_[slot].resize(entries_.size());
    }
}

std::string_view ItemCatalog::MakeSortKey(std::size_t index, std::size_t slot, TextArena& texts) const
{
    MakeKeySlot(slot);
    if (!keysReady_[slot][index]) {
        keys_[slot][index] = texts.Keep(CollationKey(KeyField(entries_[index].item, slot)));
        keysReady_[slot][index] = 1;
    }
    return keys_[slot][index];
}

std::string_view ItemCatalog::SortKey(std::size_t index, uint8_t sortBy) const
{
    const std::size_t slot = KeySlot(sortBy);
    if (!keys_[slot].empty() && keysReady_[slot][index]) {
        return keys_[slot][index];
    }
    const std::lock_guard lock(textsMutex_);
    if (texts_.empty()) {
        texts_.emplace_back();
    }
    return MakeSortKey(index, slot, texts_.front());
}

void ItemCatalog::PrepareSortKeys(const std::vector<std::size_t>& selection, uint8_t sortBy) const
{
    const std::size_t slot = KeySlot(sortBy);
    MakeKeySlot(slot);
    std::vector<std::size_t> missing;
    for (const std::size_t index : selection) {
        if (!keysReady_[slot][index]) {
            missing.push_back(index);
        }
    }
    // Each entry is in the selection once, so each range has keys of its own.
    ForRanges(missing.size(), [this, &missing, slot](std::size_t begin, std::size_t end, TextArena& texts) {
        for (std::size_t i = begin; i < end; ++i) {
            MakeSortKey(missing[i], slot, texts);
        }
    });
}

void ItemCatalog::PrepareSortKeys(uint8_t sortBy) const
{
    const std::size_t slot = KeySlot(sortBy);
    MakeKeySlot(slot);
    ForRanges(entries_.size() - firstFiled_, [this, slot](std::size_t begin, std::size_t end, TextArena& texts) {
        for (std::size_t i = firstFiled_ + begin; i < firstFiled_ + end; ++i) {
            if (i + kLookAhead < firstFiled_ + end) {
                __builtin_prefetch(KeyField(entries_[i + kLookAhead].item, slot).data());
            }
            MakeSortKey(i, slot, texts);
        }
    });
}

void ItemCatalog::ForRanges(
    std::size_t count, const std::function<void(std::size_t, std::size_t, TextArena&)>& work) const
{
    const auto withArena = [this, &work](std::size_t begin, std::size_t end) {
        TextArena* texts = nullptr;
        {
            const std::lock_guard lock(textsMutex_);
            texts = &texts_.emplace_back();
        }
        work(begin, end, *texts);
    };
    if (count == 0) {
        return;
    }
    if (workers_ != nullptr) {
        workers_->ForRanges(count, withArena);
    } else {
        withArena(0, count);
    }
}

ItemMatcher::ItemMatcher(const TSqueeze& criteria)
    : criteria_(criteria)
    , keyword_(criteria.ignoreCase ? AsciiLower(criteria.keyword) : criteria.keyword)
    , domain_(criteria.ignoreCase ? AsciiLower(criteria.domain) : criteria.domain)
{
}

bool ItemMatcher::TagsMatch(std::string_view list, const std::vector<std::string>& all,
    const std::vector<std::string>& any, const std::vector<std::string>& none) const
{
    if (all.empty() && any.empty() && none.empty()) {
        return true;
    }
    TagKeys& keys = SharedTagKeys();
    std::vector<std::string> names = SplitSlashList(list);
    const auto has = [&](const std::string& wanted) {
        const std::string& key = keys.Of(wanted);
        return std::any_of(names.begin(), names.end(), [&](const std::string& name) { return keys.Of(name) == key; });
    };
    return std::all_of(all.begin(), all.end(), has) && (any.empty() || std::any_of(any.begin(), any.end(), has))
        && std::none_of(none.begin(), none.end(), has);
}

bool ItemMatcher::KeywordMatches(const LinkItemView& item) const
{
    // The fields run together, so a keyword may span the end of one and the
    // start of the next; only single-byte letters fold, and the search keeps
    // to character boundaries.
    const TSqueeze& c = criteria_;
    thread_local std::string searched; // keeps its capacity from item to item
    searched.clear();
    const std::pair<bool, std::string_view> fields[] = {{c.inTitle, item.Title}, {c.inTitleKana, item.TitleKana},
        {c.inAuthor, item.Author}, {c.inAuthorKana, item.AuthorKana}, {c.inComment, item.Comment}};
    for (const auto& [searchIt, text] : fields) {
        if (searchIt) {
            searched += text;
        }
    }
    if (c.ignoreCase) {
        AsciiLowerInPlace(searched);
    }
    return sjis::Contains(searched, keyword_);
}

bool ItemMatcher::Matches(const LinkItemView& item) const
{
    const TSqueeze& c = criteria_;
    if (!c.genre.empty() && item.GenreName != c.genre) {
        return false;
    }
    const int64_t day = WholeDays(item.Date);
    switch (c.dateMode) {
    case 1:
        if (day != WholeDays(c.date1)) return false;
        break;
    case 2:
        if (day < WholeDays(c.date1) || day > WholeDays(c.date2)) return false;
        break;
    case 3:
        if (day < WholeDays(c.date1)) return false;
        break;
    case 4:
        if (day > WholeDays(c.date2)) return false;
        break;
    default: break;
    }
    if (!InKanaRange(item.TitleKana, c.titleRange) || !InKanaRange(item.AuthorKana, c.authorRange)) {
        return false;
    }
    if (c.status != 0 && item.Status != c.status - 1) {
        return false;
    }
    if (!TagsMatch(item.Attributes, c.attrAnd, c.attrOr, c.attrNot)
        || !TagsMatch(item.Contents, c.contentAnd, c.contentOr, c.contentNot)) {
        return false;
    }
    if (!c.keyword.empty() && !KeywordMatches(item)) {
        return false;
    }
    if (!c.domain.empty()) {
        return sjis::Contains(HostPart(item.Url, c.ignoreCase), domain_)
            || sjis::Contains(HostPart(item.Banner, c.ignoreCase), domain_);
    }
    return true;
}

bool MatchItem(const LinkItemView& item, const TSqueeze& criteria)
{
    return ItemMatcher(criteria).Matches(item);
}

void SortSelection(const ItemCatalog& catalog, const TSqueeze& criteria, std::vector<std::size_t>& selection)
{
    const uint8_t sortBy = criteria.sortBy;
    const bool descending = criteria.sortDir == 1;
    catalog.PrepareSortKeys(selection, sortBy);
    const auto less = [&](std::size_t a, std::size_t b) {
        const LinkItemView& x = catalog[a].item;
        const LinkItemView& y = catalog[b].item;
        const int groupX = ImportanceGroup(x.Status);
        const int groupY = ImportanceGroup(y.Status);
        if (groupX != groupY) {
            return groupX > groupY;
        }
        if (sortBy == 2) {
            const int64_t dayX = WholeDays(x.Date);
            const int64_t dayY = WholeDays(y.Date);
            if (dayX != dayY) {
                return descending ? dayX < dayY : dayX > dayY;
            }
            return catalog.SortKey(a, 0) < catalog.SortKey(b, 0);
        }
        const std::string_view keyX = catalog.SortKey(a, sortBy);
        const std::string_view keyY = catalog.SortKey(b, sortBy);
        return descending ? keyY < keyX : keyX < keyY;
    };
    std::stable_sort(selection.begin(), selection.end(), less);
}

std::pair<std::size_t, std::size_t> RangeBounds(std::size_t n, const TSqueeze& criteria)
{
    // The items behind the last kept one go first, then those in front of
    // the first kept one.
    const auto count = static_cast<int64_t>(n);
    int64_t first = 1;
    int64_t last = count;
    switch (criteria.rangeMode) {
    case 1: first = last = criteria.rangeStart; break;
    case 2:
        first = criteria.rangeStart;
        last = criteria.rangeEnd;
        break;
    case 3: first = criteria.rangeStart; break;
    case 4: last = criteria.rangeEnd; break;
    default: break;
    }
    last = std::clamp<int64_t>(last, 0, count);
    const int64_t front = std::clamp<int64_t>(first - 1, 0, last);
    return {static_cast<std::size_t>(front), static_cast<std::size_t>(last)};
}

template <typename T> void ApplyRange(std::vector<T>& list, const TSqueeze& criteria, std::vector<T>* cut)
{
    const auto [first, last] = RangeBounds(list.size(), criteria);
    const auto begin = list.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end = list.begin() + static_cast<std::ptrdiff_t>(last);
    if (cut != nullptr) {
        cut->assign(std::make_move_iterator(list.begin()), std::make_move_iterator(begin));
        cut->insert(cut->end(), std::make_move_iterator(end), std::make_move_iterator(list.end()));
    }
    list.erase(end, list.end());
    list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(first));
}

template void ApplyRange(std::vector<std::size_t>&, const TSqueeze&, std::vector<std::size_t>*);

namespace {

std::vector<std::size_t> MatchingEntries(const ItemCatalog& catalog, const TSqueeze& criteria, bool includeUnfiled)
{
    const ItemMatcher matcher(criteria);
    std::vector<std::size_t> selection;
    const std::size_t first = includeUnfiled ? 0 : catalog.FirstFiled();
    if (!criteria.genre.empty()) {
        // Only items that name the genre can match; look at those alone.
        for (const std::size_t i : catalog.EntriesNamingGenre(criteria.genre)) {
            if (i >= first && matcher.Matches(catalog[i].item)) {
                selection.push_back(i);
            }
        }
        return selection;
    }
    for (std::size_t i = first; i < catalog.size(); ++i) {
        if (matcher.Matches(catalog[i].item)) {
            selection.push_back(i);
        }
    }
    return selection;
}

} // namespace

std::vector<std::size_t> SelectFromCatalog(
    const ItemCatalog& catalog, const TSqueeze& criteria, bool includeUnfiled, bool sort)
{
    std::vector<std::size_t> selection = MatchingEntries(catalog, criteria, includeUnfiled);
    if (sort) {
        SortSelection(catalog, criteria, selection);
    }
    ApplyRange(selection, criteria);
    return selection;
}

namespace {

// Without sort and range every hit keeps its place: one walk over the lines,
// each decoded once and none held, takes the hits (out of their genres, with
// extract) in genre order and stored order.
void SelectInPlace(Project& project, const TSqueeze& criteria, std::vector<std::string>& output,
    const SelectOptions& options, const SelectProgress& progress)
{
    std::size_t total = 0;
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        total += project.Genres[g].Lines.size();
    }
    std::size_t done = 0;
    if (progress) {
        progress(SJ("リンクアイテムを絞り込んでいます"), done, total);
    }
    if (!options.includeUnfiled) {
        done = project.Genres[0].Lines.size();
    }
    const ItemMatcher matcher(criteria);
    for (std::size_t g = options.includeUnfiled ? 0 : 1; g < project.TrashIndex(); ++g) {
        std::vector<std::string>& lines = project.Genres[g].Lines;
        std::size_t kept = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (matcher.Matches(LineToItem(lines[k]))) {
                output.push_back(options.extract ? std::move(lines[k]) : lines[k]);
            } else if (options.extract) {
                if (kept != k) { // a string moved onto itself is left empty
                    lines[kept] = std::move(lines[k]);
                }
                ++kept;
            }
        }
        done += lines.size();
        if (options.extract) {
            lines.resize(kept);
        }
        if (progress) {
            progress(SJ("リンクアイテムを絞り込んでいます"), done, total);
        }
    }
}

} // namespace

void SelectItems(Project& project, const TSqueeze& criteria, std::vector<std::string>& output,
    const SelectOptions& options, const SelectProgress& progress)
{
    if (!options.sort && criteria.rangeMode == 0) {
        SelectInPlace(project, criteria, output, options, progress);
        return;
    }
    const ItemCatalog catalog(project);
    if (progress) {
        progress(SJ("リンクアイテムを絞り込んでいます"), 0, catalog.size());
    }
    std::vector<std::size_t> selection = MatchingEntries(catalog, criteria, options.includeUnfiled);
    if (progress) {
        progress(SJ("リンクアイテムを絞り込んでいます"), catalog.size(), catalog.size());
    }
    if (!selection.empty() && options.sort) {
        if (progress) {
            progress(SJ("リンクアイテムをソートしています..."), catalog.size(), catalog.size());
        }
        SortSelection(catalog, criteria, selection);
    }
    std::vector<std::size_t> cut;
    if (!selection.empty() && criteria.rangeMode != 0) {
        if (progress) {
            progress(SJ("出力範囲を調整しています..."), catalog.size(), catalog.size());
        }
        ApplyRange(selection, criteria, &cut);
    }
    output.reserve(output.size() + selection.size());
    for (const std::size_t i : selection) {
        output.push_back(*catalog[i].line);
    }
    if (!options.extract) {
        return;
    }
    // Take the selected items out of their genres, then give the cut ones
    // back at the end of their genres (by genre name; a name that is no
    // longer in the list goes to the unfiled genre).
    std::vector<std::string> returned;
    for (const std::size_t i : cut) {
        returned.push_back(*catalog[i].line);
    }
    std::vector<std::vector<bool>> taken(project.Genres.size());
    for (std::size_t g = 0; g < project.Genres.size(); ++g) {
        taken[g].assign(project.Genres[g].Lines.size(), false);
    }
    std::vector<std::size_t> genreStart(project.Genres.size(), 0);
    for (std::size_t i = 0, g = 0; g < project.TrashIndex(); ++g) {
        genreStart[g] = i;
        i += project.Genres[g].Lines.size();
    }
    for (const std::size_t i : selection) {
        taken[catalog[i].genre][i - genreStart[catalog[i].genre]] = true;
    }
    for (const std::size_t i : cut) {
        taken[catalog[i].genre][i - genreStart[catalog[i].genre]] = true;
    }
    for (std::size_t g = 0; g < project.TrashIndex(); ++g) {
        std::vector<std::string>& lines = project.Genres[g].Lines;
        std::size_t kept = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (taken[g][k]) {
                continue;
            }
            if (kept != k) { // a string moved onto itself is left empty
                lines[kept] = std::move(lines[k]);
            }
            ++kept;
        }
        lines.resize(kept);
    }
    const GenreIndex genres(project);
    for (std::string& line : returned) {
        project.Genres[genres.FileUnder(LineToItem(line).GenreName)].Lines.push_back(std::move(line));
    }
}

} // namespace tessaly
