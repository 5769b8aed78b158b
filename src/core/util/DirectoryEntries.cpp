#include "core/util/DirectoryEntries.h"

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tessaly {

namespace {

namespace fs = std::filesystem;

struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

fs::file_type TypeOfMode(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG: return fs::file_type::regular;
    case S_IFDIR: return fs::file_type::directory;
    case S_IFLNK: return fs::file_type::symlink;
    case S_IFIFO: return fs::file_type::fifo;
    case S_IFSOCK: return fs::file_type::socket;
    case S_IFBLK: return fs::file_type::block;
    case S_IFCHR: return fs::file_type::character;
    default: return fs::file_type::unknown;
    }
}

fs::file_type TypeOfEntry(unsigned char type)
{
    switch (type) {
    case DT_REG: return fs::file_type::regular;
    case DT_DIR: return fs::file_type::directory;
    case DT_LNK: return fs::file_type::symlink;
    case DT_FIFO: return fs::file_type::fifo;
    case DT_SOCK: return fs::file_type::socket;
    case DT_BLK: return fs::file_type::block;
    case DT_CHR: return fs::file_type::character;
    default: return fs::file_type::none; // the file system does not say
    }
}

} // namespace

DirectoryEntries ReadDirectoryEntries(const fs::path& directory)
{
    DirectoryEntries listing;
    const std::unique_ptr<DIR, DirectoryCloser> stream(::opendir(directory.c_str()));
    if (!stream) {
        listing.error = std::error_code(errno, std::generic_category());
        return listing;
    }
    const int descriptor = ::dirfd(stream.get());
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(stream.get());
        if (entry == nullptr) {
            if (errno != 0) {
                listing.error = std::error_code(errno, std::generic_category());
            }
            return listing;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        DirectoryEntry& added = listing.entries.emplace_back();
        added.name = name;
        added.inode = entry->d_ino;
        added.type = TypeOfEntry(entry->d_type);
        if (added.type == fs::file_type::none) {
            struct stat status { };
            if (::fstatat(descriptor, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
                added.type = TypeOfMode(status.st_mode);
                added.inode = status.st_ino;
            } else {
                added.error = std::error_code(errno, std::generic_category());
            }
        }
    }
}

} // namespace tessaly
