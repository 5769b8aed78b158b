#pragma once

// The Atom feed (RFC 4287) of the newest items, with which feed readers
// learn of new links without visiting the pages.

#include <string>
#include <string_view>

namespace tessaly {

class Clock;
class Project;

// The name under the root at which the feed is published.
inline constexpr std::string_view kFeedFileName = "feed.xml";

// The feed in UTF-8 of the count newest items of the user genres (the
// higher serial first among items of the same date), each entry linking to
// the item's page address as the pages write it and giving its comment as
// plain text (markup shown, never run). An item whose address the
// pages could not carry safely (see SafeStoredUrl) is passed over for the
// next one. The feed is dated by its newest item, or by the clock when the
// user genres hold none. baseUrl: the site's address as SiteBaseUrl gives
// it, ending in "/"; the feed is meant to be published there as
// kFeedFileName.
std::string AtomFeed(const Project& project, std::string_view baseUrl, int count, const Clock& clock);

} // namespace tessaly
