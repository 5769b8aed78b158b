#pragma once

// The program's own files in a site (the run's page templates and the
// project file), which no page may replace and no surplus step may delete.
// They are known by the file they are, whatever name a page gives them.

#include <compare>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include <sys/types.h>

#include "core/design/DirectoryDesign.h"
#include "core/output/PagePlan.h"
#include "core/util/DirectoryEntries.h"

namespace tessaly {

class ProtectedFiles {
public:
    // A file that is not there has nothing to protect.
    void Add(const std::filesystem::path& path);

    bool Contains(const std::filesystem::path& path) const;
    // Contains for a file of a directory whose entries were read; listed is
    // its entry, null when the listing has no such name.
    bool Contains(const std::filesystem::path& path, const DirectoryEntry* listed) const;

private:
    // A file as the system knows it, whatever path names it.
    struct FileId {
        dev_t device = 0;
        ino_t inode = 0;
        auto operator<=>(const FileId&) const = default;
    };
    static std::optional<FileId> IdOf(const std::filesystem::path& path);

    std::set<FileId> files_;
    std::unordered_set<ino_t> inodes_;
};

// A page name of the plan that would leave the directory (code page 932,
// ending in "/") or replace one of the program's own files. The design's
// names count even when no page is planned: the surplus step goes by the
// sub page name. Throws RunFailure for a directory that cannot be a file
// name.
std::optional<std::string> RefusedPageName(const std::string& directory, const THtmlDesign& html,
    const std::vector<PageRow>& rows, const ProtectedFiles& protectedFiles);

} // namespace tessaly
