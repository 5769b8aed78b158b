#include "core/site/Feed.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

#include "core/collection/Project.h"
#include "core/output/Selection.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "core/text/Sjis.h"
#include "core/text/Strings.h"
#include "core/text/Url.h"
#include "core/text/Xml.h"

namespace tessaly {

namespace {

// Code page 932 text of the collection as XML text.
std::string FeedText(std::string_view sjis)
{
    return XmlEscape(SjisToUtf8Lossy(sjis));
}

// The offset from UTC of this system's local time at a local date and
// time, as RFC 3339 writes it ("+09:00"; "Z" for none).
std::string LocalOffset(TDateTime date)
{
    const auto when = static_cast<std::time_t>(UnixTimeOfLocalDateTime(date));
    std::tm resolved{};
    if (when == static_cast<std::time_t>(-1) || localtime_r(&when, &resolved) == nullptr || resolved.tm_gmtoff == 0) {
        return "Z";
    }
    const long minutes = std::labs(resolved.tm_gmtoff) / 60;
    char offset[8];
    std::snprintf(offset, sizeof offset, "%c%02ld:%02ld", resolved.tm_gmtoff < 0 ? '-' : '+', minutes / 60 % 100,
        minutes % 60);
    return offset;
}

// The collection's dates are the owner's local time.
std::string AtomDate(TDateTime date)
{
    return IsoDateText(date) + 'T' + TimeToText(date) + LocalOffset(date);
}

void AppendElement(std::string& out, std::string_view indent, std::string_view name, std::string_view text)
{
    out.append(indent).append("<").append(name).append(">");
    out.append(text).append("</").append(name).append(">\n");
}

void AppendLink(std::string& out, std::string_view indent, std::string_view rel, std::string_view href)
{
    out.append(indent).append("<link rel=\"").append(rel).append("\" href=\"").append(href).append("\"/>\n");
}

void AppendAuthor(std::string& out, std::string_view indent, std::string_view name)
{
    out.append(indent).append("<author>\n");
    AppendElement(out, std::string(indent) + "  ", "name", name);
    out.append(indent).append("</author>\n");
}

// The filed items from newest to oldest.
std::vector<std::size_t> NewestFirst(const ItemCatalog& catalog)
{
    std::vector<std::size_t> order(catalog.size() - catalog.FirstFiled());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = catalog.FirstFiled() + i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const LinkItemView& x = catalog[a].item;
        const LinkItemView& y = catalog[b].item;
        if (x.Date != y.Date) {
            return x.Date > y.Date;
        }
        return x.Serial != y.Serial ? x.Serial > y.Serial : a < b;
    });
    return order;
}

// The entry of an item, or nothing when its address is not safe to give.
std::optional<std::string> Entry(const LinkItemView& item, std::string_view baseUrl)
{
    const std::optional<std::string> url = SafeStoredUrl(Trim(item.Url));
    if (!url) {
        return std::nullopt;
    }
    const std::string href = FeedText(FullUrl(*url));
    const std::string title = FeedText(Trim(item.Title));
    std::string entry = "  <entry>\n";
    AppendElement(entry, "    ", "id", XmlEscape(baseUrl) + "#item-" + std::to_string(item.Serial));
    AppendElement(entry, "    ", "title", title.empty() ? href : title);
    AppendElement(entry, "    ", "updated", AtomDate(item.Date));
    AppendLink(entry, "    ", "alternate", href);
    if (const std::string author = FeedText(Trim(item.Author)); !author.empty()) {
        AppendAuthor(entry, "    ", author);
    }
    if (const std::string comment = FeedText(sjis::ReplaceAll(Trim(item.Comment), "\r\n", "\n")); !comment.empty()) {
        AppendElement(entry, "    ", "summary", comment);
    }
    entry += "  </entry>\n";
    return entry;
}

} // namespace

std::string AtomFeed(const Project& project, std::string_view baseUrl, int count, const Clock& clock)
{
    const ItemCatalog catalog(project);
    const std::vector<std::size_t> order = NewestFirst(catalog);
    const std::string base = XmlEscape(baseUrl);
    std::string title = FeedText(Trim(project.Title));
    if (title.empty()) {
        title = base;
    }
    std::string author = FeedText(Trim(project.AuthorName));
    if (author.empty()) {
        author = title;
    }
    std::string feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n";
    AppendElement(feed, "  ", "id", base);
    AppendElement(feed, "  ", "title", title);
    AppendElement(feed, "  ", "updated", AtomDate(order.empty() ? clock.Now() : catalog[order.front()].item.Date));
    AppendLink(feed, "  ", "alternate", base);
    AppendLink(feed, "  ", "self", base + std::string(kFeedFileName));
    AppendAuthor(feed, "  ", author);
    AppendElement(feed, "  ", "generator", "Tessaly");
    int written = 0;
    for (auto next = order.begin(); next != order.end() && written < count; ++next) {
        if (const std::optional<std::string> entry = Entry(catalog[*next].item, baseUrl)) {
            feed += *entry;
            ++written;
        }
    }
    feed += "</feed>\n";
    return feed;
}

} // namespace tessaly
