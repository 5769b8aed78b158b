#pragma once

// The Netscape bookmark file, which every web browser exports and imports:
// nested <DL> lists in which <H3> names a folder, <A> is a bookmark and <DD>
// the description of the entry before it. The reader takes the file apart
// with an HTML parser, so that the loose markup browsers write (and worse)
// reads the way a browser would read it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class Project;

// One bookmark; texts in UTF-8 as in the file.
struct Bookmark {
    std::vector<std::string> folders; // outermost first; empty at the top level
    std::string title;
    std::string url;
    std::string tags; // separated by commas
    std::string description;
    std::optional<int64_t> addDate; // seconds since 1970

    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

struct BookmarkFile {
    // The file declares itself a bookmark file or holds bookmark lists.
    bool isBookmarkFile = false;
    std::vector<Bookmark> bookmarks;
};

// Reads a bookmark file in UTF-8 (with or without a byte order mark); a
// file that is not UTF-8 but code page 932, as old Japanese browsers wrote
// it, is read as such.
BookmarkFile ReadBookmarkFile(std::string_view bytes);

// ADD_DATE in seconds; milliseconds and microseconds, which some programs
// write, are recognised by their size.
std::optional<int64_t> BookmarkDate(std::string_view value);

struct BookmarkExport {
    std::string text; // UTF-8, LF line ends
    // Attribute names that hold a comma, written with a full-width one
    // (TAGS separates by commas), in code page 932.
    std::vector<std::string> tagsWithComma;
};

// The collection as a bookmark file: a folder per genre (the trash left
// out, the unfiled genre only when it holds items), the attributes as TAGS,
// the date as ADD_DATE (local time) and the comment as the description.
BookmarkExport WriteBookmarkFile(const Project& project);

} // namespace tessaly
