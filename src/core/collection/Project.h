#pragma once

// The open collection: settings, user item templates, genres with their
// item lines, and the attribute and content vocabularies.

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaly {

class SettingsStore;

struct Genre {
    std::string Name;
    // The genre's items in their item-line form, in the genre's order.
    std::vector<std::string> Lines;
};

inline constexpr std::string_view kDefaultFileName = "index.html";

// The bytes the site's pages are written in.
enum class PageEncoding { ShiftJis, Utf8 };

// What the output run publishes besides the pages, for hosts of today.
struct SitePublishing {
    PageEncoding pageEncoding = PageEncoding::ShiftJis;
    bool siteSearch = false; // search.html and its index at the root
    int32_t feedCount = 0; // items of feed.xml; 0: no feed
    bool sitemap = false;
    // The address the root is published at (ending in "/"), which the
    // feed and the sitemap need; code page 932 like every setting.
    std::string baseUrl;
    // Run through the shell after the output, with TESSALY_ROOT set.
    std::string publishCommand;

    friend bool operator==(const SitePublishing&, const SitePublishing&) = default;
};

inline constexpr int32_t kDefaultFeedCount = 50;
inline constexpr std::string_view kDefaultSubFileName = "pages.html";

// "【未整理】", the system genre at index 0, and "【ゴミ箱】", the trash at
// the last index (code page 932).
const std::string& UnfiledGenreName();
const std::string& TrashGenreName();

class Project {
public:
    Project();

    // Path of the project file; empty while the project was never saved.
    std::filesystem::path EditingName;
    bool IsEditing = false;

    std::string Title;
    std::string AuthorName;
    std::string AuthorKana;
    std::string AuthorMail;
    std::string RootDir;
    std::string BannerDir;
    std::string DefaultFile{kDefaultFileName};
    std::string SubFile{kDefaultSubFileName};
    std::string ParentAnchor;
    std::string ParentPath;
    SitePublishing Publishing;
    std::vector<std::string> Templates;
    int32_t SerialMax = 0;
    std::vector<Genre> Genres;
    std::vector<std::string> Attributes;
    std::vector<std::string> Contents;

    // Every field back to the new-project values; the owner fields from the
    // owner defaults key of settings when given.
    void Reset(const SettingsStore* settings = nullptr);

    // The serial of a new item; nothing when every serial up to the
    // largest number is taken, for no two items may share one.
    std::optional<int32_t> NextSerial();
    bool HasSerialLeft() const { return SerialMax != std::numeric_limits<int32_t>::max(); }

    std::size_t TrashIndex() const { return Genres.size() - 1; }
    bool IsUserGenre(std::size_t index) const { return index > 0 && index < TrashIndex(); }
    std::size_t UserGenreCount() const { return Genres.size() - 2; }

    // Index of the genre called name, matched without regard to ASCII case.
    std::optional<std::size_t> FindGenre(std::string_view name) const;
    // Adds an empty user genre just before the trash; returns its index.
    std::size_t AddGenre(std::string name);
};

// The genres an item's genre field can name: every genre but the trash,
// matched without regard to ASCII case and looked up by hashing, so that
// filing many items stays linear. The first of two equal names wins.
class GenreIndex {
public:
    explicit GenreIndex(const Project& project);

    bool Contains(std::string_view name) const;
    void Add(std::string_view name, std::size_t genre);

    // The genre an item with this genre field is filed under: the genre it
    // names, or the first genre when it is empty or names none.
    std::size_t FileUnder(std::string_view genreField) const;

private:
    std::unordered_map<std::string, std::size_t> byName_;
};

// Why an item cannot be added when NextSerial gives nothing (code page 932).
const std::string& NoSerialLeftMessage();

// Adds name to a vocabulary unless it is empty or already there (matched
// without regard to ASCII case); true when added.
bool AddVocabularyName(std::vector<std::string>& vocabulary, std::string name);

// Index of name in a vocabulary, matched without regard to ASCII case.
std::optional<std::size_t> FindVocabularyName(const std::vector<std::string>& vocabulary, std::string_view name);

} // namespace tessaly
