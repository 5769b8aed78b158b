#pragma once

// What tells whether a file on disk is still the one that was read, without
// reading it again: a replace by rename (as editors, sync tools and this
// program save) gives another inode, a write in place another size or time.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tessaly {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a path names (through links); nothing when there is
// no such file.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

} // namespace tessaly
