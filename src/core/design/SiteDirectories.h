#pragma once

// The directories of a site as they are on disk: which of them belong to the
// site, and the directory operations of the design dialog.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct SubdirectoryListing {
    std::vector<std::string> names; // code page 932, sorted
    // Why entries were left out although they may be directories (code page
    // 932 messages), or why the directory could not be read at all.
    std::vector<std::string> problems;
};

// The subdirectories of directory that pages may go to: hidden ones, the
// banner directory (by full path, ignoring ASCII case) and symbolic links
// (which could loop) are left out, as are names code page 932 cannot spell.
SubdirectoryListing ListSiteSubdirectories(std::string_view directory, std::string_view bannerDirectory);

bool HasDesignFile(std::string_view directory);

struct DirectoryOperation {
    bool ok = true;
    std::string error; // the system's reason
};

// Creates directory/name; name is a single directory name.
DirectoryOperation MakeSiteDirectory(std::string_view directory, std::string_view name);
// Renames the last component of directory to newName.
DirectoryOperation RenameSiteDirectory(std::string_view directory, std::string_view newName);

struct TreeDeletion {
    // Removed directories, deepest first, each with a trailing "/".
    std::vector<std::string> removed;
    // The directory that could not be removed (empty when all went), and why.
    std::string failed;
    std::string error;
};

// Deletes every file below directory (read-only ones too: their
// directories are made writable first), then removes the directories
// deepest level first. Removal stops after the level where a directory
// could not be removed. Symbolic links are removed, never followed.
TreeDeletion DeleteDirectoryTree(std::string_view directory);

} // namespace tessaly
