#include "core/linkcheck/ItemLinks.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/design/DirectoryDesign.h"
#include "core/text/Codepage.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"

namespace tessaly {

namespace {

constexpr std::string_view kBannerDirectoryMark = "%%";

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsWebUrl(std::string_view url)
{
    return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

// Characters a URL cannot carry as they are after its host.
bool NeedsEscape(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F
        || std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string_view::npos;
}

void AddLink(ItemLinks& into, const PlacedItem& placed, LinkField field, std::string_view stored,
    std::string_view bannerDirectory)
{
    ItemLink link{placed.place, field, placed.item.Serial, placed.item.Title, std::string(stored), {}};
    LinkToCheck check;
    if (field == LinkField::Banner && stored.starts_with(kBannerDirectoryMark)) {
        const std::string name(stored.substr(kBannerDirectoryMark.size()));
        link.shown = bannerDirectory.empty() ? std::string(stored) : WithTrailingSlash(bannerDirectory) + name;
        // No banner directory: an empty path, which the checker reports.
        check = {bannerDirectory.empty() ? std::string() : link.shown, true};
    } else {
        link.shown = FullUrl(stored);
        if (StartsWithNoCase(stored, "mailto:") || !IsWebUrl(link.shown)) {
            ++into.skipped;
            return;
        }
        check = {RequestUrl(stored), false};
    }
    into.links.push_back(std::move(link));
    into.toCheck.push_back(std::move(check));
}

// Applies edit to the item at the place; true when the item changed.
template <typename Edit>
bool EditItem(Project& project, std::vector<TLinkItem>& rows, const ItemPlace& place, Edit edit)
{
    if (place.in == ItemPlace::In::Row) {
        if (place.index >= rows.size()) {
            return false;
        }
        const TLinkItem before = rows[place.index];
        edit(rows[place.index]);
        return rows[place.index] != before;
    }
    if (place.genre >= project.TrashIndex() || place.index >= project.Genres[place.genre].Lines.size()) {
        return false;
    }
    std::string& line = project.Genres[place.genre].Lines[place.index];
    TLinkItem item = LineToItem(line);
    const TLinkItem before = item;
    edit(item);
    if (item == before) {
        return false;
    }
    line = ItemToLine(item);
    return true;
}

} // namespace

std::vector<PlacedItem> ItemsOfRows(const std::vector<TLinkItem>& rows, const std::vector<std::size_t>& chosen)
{
    std::vector<PlacedItem> items;
    items.reserve(chosen.size());
    for (const std::size_t row : chosen) {
        if (row < rows.size()) {
            items.push_back({{ItemPlace::In::Row, 0, row}, rows[row]});
        }
    }
    return items;
}

std::vector<PlacedItem> ItemsOfGenre(const Project& project, std::size_t genre)
{
    std::vector<PlacedItem> items;
    if (genre >= project.TrashIndex()) {
        return items;
    }
    const std::vector<std::string>& lines = project.Genres[genre].Lines;
    items.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        items.push_back({{ItemPlace::In::Line, genre, i}, LineToItem(lines[i])});
    }
    return items;
}

std::vector<PlacedItem> ItemsOfCollection(const Project& project, const ShownItems* shown)
{
    std::vector<PlacedItem> items;
    const bool rowsAreGenre = shown != nullptr && !shown->SearchMode();
    if (shown != nullptr && shown->SearchMode()) {
        std::vector<std::size_t> all(shown->Rows().size());
        std::iota(all.begin(), all.end(), std::size_t{0});
        items = ItemsOfRows(shown->Rows(), all);
    }
    for (std::size_t genre = 0; genre < project.TrashIndex(); ++genre) {
        std::vector<PlacedItem> more;
        if (rowsAreGenre && genre == shown->SelectedGenre()) {
            std::vector<std::size_t> all(shown->Rows().size());
            std::iota(all.begin(), all.end(), std::size_t{0});
            more = ItemsOfRows(shown->Rows(), all);
        } else {
            more = ItemsOfGenre(project, genre);
        }
        items.insert(items.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    return items;
}

ItemLinks LinksOfItems(const std::vector<PlacedItem>& items, std::string_view bannerDirectory)
{
    ItemLinks links;
    for (const PlacedItem& placed : items) {
        const std::string_view page = Trim(placed.item.Url);
        const std::string_view banner = Trim(placed.item.Banner);
        if (!page.empty()) {
            AddLink(links, placed, LinkField::Page, page, bannerDirectory);
        }
        if (!banner.empty()) {
            AddLink(links, placed, LinkField::Banner, banner, bannerDirectory);
        }
    }
    return links;
}

std::string RequestUrl(std::string_view stored)
{
    const std::string full = FullUrl(Trim(stored));
    ConversionResult utf8 = SjisToUtf8(full);
    const std::string& text = utf8.ok ? utf8.text : full;
    // The host ends at the first "/", "?" or "#" after "scheme://". A host
    // in other letters goes in its ASCII form: libcurl's own conversion
    // depends on the locale, which a command line tool may never set. A
    // host IDNA refuses stays as it is, for the checker to report.
    const std::size_t scheme = text.find("://");
    const std::size_t hostEnd
        = scheme == std::string::npos ? 0 : std::min(text.find_first_of("/?#", scheme + 3), text.size());
    const std::string host = text.substr(0, hostEnd);
    return WithAsciiHost(host).value_or(host) + PercentEncoded(std::string_view(text).substr(hostEnd), NeedsEscape);
}

bool CanTakeNewUrl(std::string_view url)
{
    return IsWebUrl(url) && std::none_of(url.begin(), url.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x7F; })
        && SafeStoredUrl(url);
}

std::size_t MarkItemsFailed(Project& project, std::vector<TLinkItem>& rows, const std::vector<ItemPlace>& places,
    std::vector<UnmarkedItem>* notMarked)
{
    constexpr auto kNormal = static_cast<int32_t>(ItemStatus::Normal);
    constexpr auto kWarning = static_cast<int32_t>(ItemStatus::Warning);
    std::set<std::tuple<ItemPlace::In, std::size_t, std::size_t>> seen;
    std::size_t changed = 0;
    for (std::size_t which = 0; which < places.size(); ++which) {
        const ItemPlace& place = places[which];
        if (!seen.emplace(place.in, place.genre, place.index).second) {
            continue;
        }
        std::optional<int32_t> status;
        // The status field also holds the favourite and importance marks,
        // which are the user's own: only a plain item takes the warning.
        const bool marked = EditItem(project, rows, place, [&](TLinkItem& item) {
            status = item.Status;
            if (item.Status == kNormal) {
                item.Status = kWarning;
            }
        });
        changed += marked ? 1 : 0;
        if (status && *status != kNormal && *status != kWarning && notMarked != nullptr) {
            notMarked->push_back({which, place, *status});
        }
    }
    return changed;
}

std::size_t UpdateAddresses(Project& project, std::vector<TLinkItem>& rows, const std::vector<AddressUpdate>& updates)
{
    std::size_t changed = 0;
    for (const AddressUpdate& update : updates) {
        if (!CanTakeNewUrl(update.newUrl)) {
            continue;
        }
        const std::string stored = *SafeStoredUrl(update.newUrl);
        const bool edited = EditItem(project, rows, update.place,
            [&](TLinkItem& item) { (update.field == LinkField::Page ? item.Url : item.Banner) = stored; });
        changed += edited ? 1 : 0;
    }
    return changed;
}

} // namespace tessaly
