#pragma once

// The entries of one directory as the system lists them, with what the
// listing itself tells: no call per entry where the file system names the
// type of each entry.

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <sys/types.h>

namespace tessaly {

struct DirectoryEntry {
    std::string name; // as the file system spells it
    ino_t inode = 0; // of the entry itself: for a symbolic link, the link's
    // The type of the entry itself (a symbolic link is a link); where the
    // listing does not say, it is asked for, and none with error when that
    // failed.
    std::filesystem::file_type type = std::filesystem::file_type::none;
    std::error_code error;
};

struct DirectoryEntries {
    std::vector<DirectoryEntry> entries; // without "." and ".."
    std::error_code error; // the directory could not be read (to the end)
};

DirectoryEntries ReadDirectoryEntries(const std::filesystem::path& directory);

} // namespace tessaly
