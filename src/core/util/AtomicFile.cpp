#include "util/AtomicFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

std::string SystemError(const std::string& what, int error)
{
    return what + ": " + std::strerror(error);
}

// Permissions for the new file: those of the file it replaces, or what a
// newly created file would get.
mode_t TargetMode(const std::filesystem::path& path)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) == 0) {
        return status.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

FileWriteResult WriteFileAtomically(const std::filesystem::path& link, std::string_view data, Durability durability)
{
    // A symbolic link keeps pointing at the file: the file it names is replaced.
    std::error_code ignored;
    const std::filesystem::path path
        = std::filesystem::is_symlink(link, ignored) ? std::filesystem::weakly_canonical(link, ignored) : link;
    const std::filesystem::path directory = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (directory / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return {false, SystemError(path.string(), errno)};
    }
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return FileWriteResult{false, SystemError(path.string(), error)};
    };
    if (::fchmod(fd, TargetMode(path)) != 0 || !WriteAll(fd, data)
        || (durability == Durability::Synced && ::fsync(fd) != 0)) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(pattern.c_str());
        return {false, SystemError(path.string(), error)};
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(pattern.c_str());
        return {false, SystemError(path.string(), error)};
    }
    return {};
}

FileReadResult ReadWholeFile(const std::filesystem::path& path)
{
    FileReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.ok = false;
        result.notFound = errno == ENOENT || errno == ENOTDIR;
        result.error = SystemError(path.string(), errno);
        return result;
    }
    struct stat status { };
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        result.ok = false;
        result.error = SystemError(path.string(), EISDIR);
        return result;
    }
    if (status.st_size > 0) {
        result.data.reserve(static_cast<std::size_t>(status.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.ok = false;
            result.error = SystemError(path.string(), errno);
            result.data.clear();
            break;
        }
        if (got == 0) {
            break;
        }
        result.data.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return result;
}

} // namespace tessaly

namespace tessaly {

FileUpdateResult WriteFileIfChanged(const std::filesystem::path& path, std::string_view data)
{
    const FileReadResult existing = ReadWholeFile(path);
    if (existing.ok && existing.data == data) {
        return {};
    }
    const FileWriteResult written = WriteFileAtomically(path, data);
    if (!written.ok) {
        return {false, FileUpdate::Unchanged, written.error};
    }
    return {true, existing.ok ? FileUpdate::Updated : FileUpdate::Created, {}};
}

} // namespace tessaly
