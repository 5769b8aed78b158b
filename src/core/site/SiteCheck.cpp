#include "core/site/SiteCheck.h"

#include <algorithm>
#include <set>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "core/text/Collation.h"
#include "core/util/AtomicFile.h"
#include "core/util/DirectoryEntries.h"

namespace tessaly {

namespace {

namespace fs = std::filesystem;

using Segments = std::vector<std::string>;

// An address as the URL parser of a browser reads it: without the blanks
// and control characters around it and the tabs and line breaks in it, with
// "\" as "/".
std::string CleanedAddress(std::string_view address)
{
    while (!address.empty() && static_cast<unsigned char>(address.front()) <= ' ') {
        address.remove_prefix(1);
    }
    while (!address.empty() && static_cast<unsigned char>(address.back()) <= ' ') {
        address.remove_suffix(1);
    }
    std::string cleaned;
    cleaned.reserve(address.size());
    for (const char c : address) {
        if (c != '\t' && c != '\n' && c != '\r') {
            cleaned += c == '\\' ? '/' : c;
        }
    }
    return cleaned;
}

// "scheme:" as URLs begin with it: a letter, then letters, digits, "+", "-"
// and ".".
bool HasScheme(std::string_view address)
{
    const auto isSchemeCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-'
            || c == '.';
    };
    if (address.empty() || (address.front() | 0x20) < 'a' || (address.front() | 0x20) > 'z') {
        return false;
    }
    const auto end = std::find_if_not(address.begin() + 1, address.end(), isSchemeCharacter);
    return end != address.end() && *end == ':';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const int lower = c | 0x20;
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The names of a path between its "/"s.
Segments SegmentsOf(std::string_view path)
{
    Segments segments;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) {
            segments.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return segments;
}

std::string Joined(const Segments& segments)
{
    std::string path;
    for (const std::string& segment : segments) {
        path += (path.empty() ? "" : "/") + segment;
    }
    return path;
}

struct Resolution {
    // Elsewhere: outside what the site publishes (another site, or a page
    // above the root, like the owner's home page that the top link names),
    // which the site cannot answer for. Unreachable: no file can be there
    // (the address names what no file is named).
    enum class Where { Elsewhere, Unreachable, Inside };
    Where where = Where::Elsewhere;
    Segments segments; // inside: the path from the root
    bool asDirectory = false; // the address ends in "/", "." or ".."
};

// Where addresses lead in the site, as a browser resolves them.
class AddressResolver {
public:
    explicit AddressResolver(const std::optional<std::string>& basePath)
    {
        if (basePath) {
            base_ = SegmentsOf(PercentDecoded(*basePath));
        }
    }

    // directory: the page's, from the root.
    Resolution Resolve(std::string_view address, const Segments& directory) const
    {
        std::string url = CleanedAddress(address);
        if (url.empty() || url.front() == '#' || url.starts_with("//") || HasScheme(url)) {
            return {};
        }
        url.erase(std::min(url.find('#'), url.size()));
        url.erase(std::min(url.find('?'), url.size()));
        const bool rootAbsolute = url.starts_with('/');
        if (url.empty() || (rootAbsolute && !base_)) {
            return {}; // the page itself, or a place the root's address is needed for
        }
        Resolution resolution{Resolution::Where::Inside, {}, false};
        Segments& segments = resolution.segments;
        if (!rootAbsolute) {
            segments = base_.value_or(Segments());
            segments.insert(segments.end(), directory.begin(), directory.end());
        }
        bool belowRoot = false;
        for (std::size_t start = rootAbsolute ? 1 : 0; start <= url.size();) {
            const std::size_t end = std::min(url.find('/', start), url.size());
            std::string name = PercentDecoded(std::string_view(url).substr(start, end - start));
            start = end + 1;
            resolution.asDirectory = name.empty() || name == "." || name == "..";
            if (name == "..") {
                // A server's root has no parent; the site's root may, and
                // what lies there is not the site's.
                belowRoot |= segments.empty();
                if (!segments.empty()) {
                    segments.pop_back();
                }
            } else if (name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
                return {Resolution::Where::Unreachable, {}, false};
            } else if (!resolution.asDirectory) {
                segments.push_back(std::move(name));
            }
        }
        if (base_) {
            if (segments.size() < base_->size() || !std::equal(base_->begin(), base_->end(), segments.begin())) {
                return {};
            }
            segments.erase(segments.begin(), segments.begin() + static_cast<std::ptrdiff_t>(base_->size()));
        } else if (belowRoot) {
            return {};
        }
        return resolution;
    }

private:
    std::optional<Segments> base_;
};

// What a server gives for the paths of the site, each file looked at once.
class SiteFiles {
public:
    SiteFiles(fs::path root, std::string defaultFile)
        : root_(std::move(root))
        , defaultFile_(std::move(defaultFile))
    {
    }

    // path: from the root; asDirectory: it is asked for as a directory.
    bool Serves(const std::string& path, bool asDirectory)
    {
        switch (KindOf(path)) {
        case Kind::File: return !asDirectory;
        case Kind::Directory: return KindOf(path.empty() ? defaultFile_ : path + '/' + defaultFile_) == Kind::File;
        case Kind::Missing: return false;
        }
        return false;
    }

private:
    enum class Kind : uint8_t { Missing, File, Directory };

    Kind KindOf(const std::string& path)
    {
        const auto [known, added] = kinds_.try_emplace(path, Kind::Missing);
        if (added) {
            std::error_code error;
            const fs::file_type type = fs::status(root_ / path, error).type();
            known->second = type == fs::file_type::regular ? Kind::File
                : type == fs::file_type::directory         ? Kind::Directory
                                                           : Kind::Missing;
        }
        return known->second;
    }

    fs::path root_;
    std::string defaultFile_;
    std::unordered_map<std::string, Kind> kinds_;
};

// The directory the page's relative addresses resolve against: the page's
// own or that of its <base>; nothing when the base lies outside the site.
std::optional<Segments> ReferenceDirectory(
    const std::string& page, const PageTargets& targets, const AddressResolver& resolver)
{
    Segments directory = SegmentsOf(page);
    if (!directory.empty()) {
        directory.pop_back();
    }
    if (!targets.base) {
        return directory;
    }
    Resolution base = resolver.Resolve(*targets.base, directory);
    if (base.where != Resolution::Where::Inside) {
        return std::nullopt;
    }
    if (!base.asDirectory && !base.segments.empty()) {
        base.segments.pop_back();
    }
    return std::move(base.segments);
}

bool IsPageName(std::string_view name)
{
    const std::string lower = AsciiLower(name);
    return lower.ends_with(".html") || lower.ends_with(".htm");
}

} // namespace

SiteCheckResult CheckSite(const fs::path& root, std::vector<std::string> pages, const SiteCheckOptions& options)
{
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    const AddressResolver resolver(options.basePath);
    SiteFiles files(root, options.defaultFile);
    SiteCheckResult result;
    for (const std::string& page : pages) {
        const FileReadResult read = ReadWholeFile(root / fs::path(page).relative_path());
        if (!read.ok) {
            result.unread.push_back({page, read.error});
            continue;
        }
        ++result.pages;
        const PageTargets found = FindPageTargets(read.data);
        const std::optional<Segments> directory = ReferenceDirectory(page, found, resolver);
        if (!directory) {
            continue;
        }
        // A page that names a missing file twice has it reported once.
        std::set<std::pair<std::string_view, TargetKind>> reported;
        for (const PageTarget& target : found.targets) {
            if (reported.contains({target.address, target.kind})) {
                continue;
            }
            const Resolution resolution = resolver.Resolve(target.address, *directory);
            const bool broken = resolution.where == Resolution::Where::Unreachable
                || (resolution.where == Resolution::Where::Inside
                    && !files.Serves(Joined(resolution.segments), resolution.asDirectory));
            if (broken) {
                reported.insert({target.address, target.kind});
                result.broken.push_back({page, target.address, target.kind});
            }
        }
    }
    return result;
}

SitePages FindSitePages(const fs::path& root)
{
    SitePages found;
    std::vector<std::string> directories{""};
    while (!directories.empty()) {
        const std::string directory = std::move(directories.back());
        directories.pop_back();
        const fs::path where = root / directory;
        const DirectoryEntries listed = ReadDirectoryEntries(where);
        if (listed.error) {
            found.unread.push_back({directory, where.string() + ": " + listed.error.message()});
        }
        for (const DirectoryEntry& entry : listed.entries) {
            const std::string path = directory.empty() ? entry.name : directory + '/' + entry.name;
            std::error_code error;
            if (entry.type == fs::file_type::directory) {
                directories.push_back(path);
            } else if (IsPageName(entry.name)
                && (entry.type == fs::file_type::regular
                    || (entry.type == fs::file_type::symlink && fs::is_regular_file(root / path, error)))) {
                found.pages.push_back(path);
            }
        }
    }
    std::sort(found.pages.begin(), found.pages.end());
    return found;
}

} // namespace tessaly
