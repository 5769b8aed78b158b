#pragma once

// The link item record and its one-line text form, the item line, in which
// genres keep their items and items travel through the clipboard, searches
// and imports.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/DateTime.h"
#include "core/util/TextArena.h"

namespace tessaly {

// One field holds either a status or an importance mark.
enum class ItemStatus : int32_t { Normal = 0, Favorite = 1, Warning = 2, Erase = 3, Low = 4, Middle = 5, High = 6 };

inline constexpr int32_t kStatusCount = 7;

// "normal", "favorite", ... as templates and narrowing conditions name them.
std::string_view StatusName(int32_t status);

// The genre name of an item moved to the trash by dragging.
inline constexpr std::string_view kTrashGenreMark = "\xFF";

inline constexpr int32_t kUnnumbered = -1;
inline constexpr int32_t kDefaultBannerWidth = 200;
inline constexpr int32_t kDefaultBannerHeight = 40;

struct TLinkItem {
    int32_t Serial = kUnnumbered;
    std::string GenreName;
    int32_t Status = 0;
    std::string Title;
    std::string TitleKana;
    std::string Author;
    std::string AuthorKana;
    std::string Mail;
    std::string Url;
    std::string Banner;
    int32_t BannerX = kDefaultBannerWidth;
    int32_t BannerY = kDefaultBannerHeight;
    std::string Attributes;
    std::string Contents;
    TDateTime Date;
    std::string Comment;

    friend bool operator==(const TLinkItem&, const TLinkItem&) = default;
};

// An item's fields read where they already are: in a TLinkItem, or in an
// item line (see ViewItemLine). Whatever only reads an item takes this.
struct LinkItemView {
    int32_t Serial = kUnnumbered;
    std::string_view GenreName;
    int32_t Status = 0;
    std::string_view Title;
    std::string_view TitleKana;
    std::string_view Author;
    std::string_view AuthorKana;
    std::string_view Mail;
    std::string_view Url;
    std::string_view Banner;
    int32_t BannerX = kDefaultBannerWidth;
    int32_t BannerY = kDefaultBannerHeight;
    std::string_view Attributes;
    std::string_view Contents;
    TDateTime Date;
    std::string_view Comment;

    LinkItemView() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a record reads as its view.
    LinkItemView(const TLinkItem& item);
};

// A new item as the editor starts it: unnumbered, dated today.
TLinkItem NewLinkItem(const Clock& clock, std::string genreName = {});

// The tests an item line must pass to be read at all.
bool IsValidItemLine(std::string_view line);

// What keeps an item from being stored, in the order the editor asks for
// the fields. An item without a problem (and with a serial) always gives a
// line that IsValidItemLine accepts, so nothing stored is lost on reading.
enum class ItemProblem {
    None,
    TitleMissing,
    TitleKanaMissing,
    TitleKanaNotHiragana,
    AuthorKanaMissing,
    AuthorKanaNotHiragana,
    UrlMissing,
    DateInvalid,
    // Every serial is taken (the project's, not the item's problem).
    NoSerialLeft,
};
ItemProblem FindItemProblem(const TLinkItem& item);

// Decodes an item line; fields that are not numbers take their defaults.
TLinkItem LineToItem(std::string_view line);

// The fields of LineToItem(line) as views into the line, apart from those
// that hold entities: these are decoded into decoded.
LinkItemView ViewItemLine(std::string_view line, TextArena& decoded);

// The Date of LineToItem(line), without decoding the other fields.
TDateTime ItemLineDate(std::string_view line);

std::string ItemToLine(const TLinkItem& item);

// True when the "/" list holds the (unescaped) name.
bool ListContainsName(std::string_view list, std::string_view name);

// The labelled, human-readable form used by "copy in readable form".
std::string ItemToReadableText(const TLinkItem& item);

} // namespace tessaly
