#pragma once

// The Netscape bookmark file, which every web browser exports and imports:
// nested <DL> lists in which <H3> names a folder, <A> is a bookmark and <DD>
// the description of the entry before it. Files as browsers write them are
// read in one pass; any other markup is taken apart with an HTML parser, so
// that the loose markup browsers write (and worse) reads the way a browser
// would read it.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class Project;

// The folders a bookmark lies in, outermost first (UTF-8). The bookmarks
// of a folder share its path, and a folder shares its parent's: deeply
// nested folders cost no copies of their paths.
class BookmarkFolders {
public:
    BookmarkFolders() = default;
    BookmarkFolders(std::initializer_list<std::string> names);

    // This path with one more folder inside.
    BookmarkFolders Inside(std::string name) const;

    bool empty() const { return !innermost_; }
    const std::string& front() const { return innermost_->outermost->name; }
    const std::string& back() const { return innermost_->name; }
    std::vector<std::string> Names() const;

    friend bool operator==(const BookmarkFolders& a, const BookmarkFolders& b) { return a.Names() == b.Names(); }

private:
    struct Folder {
        std::string name;
        std::shared_ptr<const Folder> parent;
        const Folder* outermost = nullptr;
    };
    std::shared_ptr<const Folder> innermost_;
};

// One bookmark; texts in UTF-8 as in the file.
struct Bookmark {
    BookmarkFolders folders; // empty at the top level
    std::string title;
    std::string url;
    std::string tags; // separated by commas
    std::string description;
    std::optional<int64_t> addDate; // seconds since 1970

    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

// Markup nested deeper than this (as the HTML parser would nest it, not
// counting elements whose end a browser infers) is refused before the
// parser builds its tree, whose depth costs stack and time.
inline constexpr std::size_t kMostBookmarkNesting = 16000;

struct BookmarkFile {
    // The file declares itself a bookmark file or holds bookmark lists.
    bool isBookmarkFile = false;
    // Refused unread: its markup nests deeper than kMostBookmarkNesting.
    bool tooDeep = false;
    std::vector<Bookmark> bookmarks;
};

// Reads a bookmark file in UTF-8 (with or without a byte order mark); a
// file that is not UTF-8 but code page 932, as old Japanese browsers wrote
// it, is read as such.
// A file nested too deeply is refused (tooDeep) with nothing read.
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
