#include "core/output/ProtectedFiles.h"

#include <string_view>
#include <unordered_map>

#include <sys/stat.h>

#include "core/output/RunErrors.h"
#include "core/text/Paths.h"

namespace tessaly {

namespace fs = std::filesystem;

void ProtectedFiles::Add(const fs::path& path)
{
    if (const std::optional<FileId> id = IdOf(path)) {
        files_.insert(*id);
        inodes_.insert(id->inode);
    }
}

bool ProtectedFiles::Contains(const fs::path& path) const
{
    const std::optional<FileId> id = IdOf(path);
    return id && files_.contains(*id);
}

// A name that is not listed names no file, and only a link or an entry
// whose inode number a protected file has needs a closer look.
bool ProtectedFiles::Contains(const fs::path& path, const DirectoryEntry* listed) const
{
    if (!listed) {
        return false;
    }
    const bool plain = listed->type != fs::file_type::symlink && !listed->error;
    return (!plain || inodes_.contains(listed->inode)) && Contains(path);
}

std::optional<ProtectedFiles::FileId> ProtectedFiles::IdOf(const fs::path& path)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileId{status.st_dev, status.st_ino};
}

std::optional<std::string> RefusedPageName(const std::string& directory, const THtmlDesign& html,
    const std::vector<PageRow>& rows, const ProtectedFiles& protectedFiles)
{
    for (const std::string* name : {&html.nameDef, &html.nameSub}) {
        if (!IsValidPageName(*name)) {
            return *name;
        }
    }
    // The directory is read once rather than each page looked up.
    const DirectoryEntries listing = ReadDirectoryEntries(RequireFsPath(directory));
    std::unordered_map<std::string_view, const DirectoryEntry*> present;
    for (const DirectoryEntry& entry : listing.entries) {
        present.emplace(entry.name, &entry);
    }
    const auto listed = [&present](const fs::path& path) -> const DirectoryEntry* {
        const auto found = present.find(path.filename().native());
        return found == present.end() ? nullptr : found->second;
    };
    for (const PageRow& row : rows) {
        const std::optional<fs::path> path = ToFsPath(directory + row.fileName);
        if (!IsValidPageName(row.fileName) || !path
            || (listing.error ? protectedFiles.Contains(*path) : protectedFiles.Contains(*path, listed(*path)))) {
            return row.fileName;
        }
    }
    return std::nullopt;
}

} // namespace tessaly
