#include "util/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace tessaly {

namespace {

namespace fs = std::filesystem;

// Temporary files are named "." + the file's name + this marker + six
// random letters, so that leftovers are recognised whatever they belong to.
constexpr std::string_view kTemporaryMarker = ".tessaly-";
constexpr std::size_t kRandomLength = 6;
// Keeps temporary names within the file system's limit of 255 bytes.
constexpr std::size_t kNamePartLimit = 200;

// Owns a file descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1)
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(FileDescriptor&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes now; the result of close, which can report a failed write.
    int Close() { return ::close(std::exchange(fd_, -1)); }
    // Gives up the descriptor without closing it.
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

std::string SystemError(const fs::path& path, int error)
{
    return path.string() + ": " + std::strerror(error);
}

FileWriteResult WriteFailed(WriteFailure failure, const fs::path& path, std::string_view why)
{
    return {false, failure, path.string() + ": " + std::string(why)};
}

FileWriteResult SystemFailure(const fs::path& path, int error)
{
    return {false, WriteFailure::System, SystemError(path, error)};
}

std::string TemporaryPrefix(std::string_view fileName)
{
    return "." + std::string(fileName.substr(0, kNamePartLimit)) + std::string(kTemporaryMarker);
}

// True when fd is the file that path names (not one put in its place).
bool IsFileAt(int fd, const fs::path& path)
{
    struct stat open { };
    struct stat named { };
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
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

// The file a write replaces: the given path, or the file its link names.
struct Target {
    fs::path path;
    bool exists = false;
    mode_t mode = 0;
};

// Fills target and checks that it may be replaced.
FileWriteResult ResolveTarget(const fs::path& given, SymbolicLinks links, Target& target)
{
    target.path = given;
    struct stat status { };
    if (::lstat(given.c_str(), &status) != 0) {
        // A new file; creating it reports what stands in the way.
        return {};
    }
    if (S_ISLNK(status.st_mode)) {
        if (links == SymbolicLinks::Refuse) {
            return WriteFailed(WriteFailure::Link, given, "a symbolic link");
        }
        std::error_code error;
        target.path = fs::canonical(given, error);
        if (error == std::errc::no_such_file_or_directory || error == std::errc::too_many_symbolic_link_levels) {
            return WriteFailed(WriteFailure::DanglingLink, given, "the symbolic link leads to no file");
        }
        if (error || ::stat(target.path.c_str(), &status) != 0) {
            return SystemFailure(given, error ? error.value() : errno);
        }
    }
    if (!S_ISREG(status.st_mode)) {
        return WriteFailed(WriteFailure::NotAFile, given, "not a regular file");
    }
    // The write bits count even for the superuser, who passes every access
    // check: a file made read-only stays so.
    if ((status.st_mode & 0222) == 0 || ::access(target.path.c_str(), W_OK) != 0) {
        return WriteFailed(WriteFailure::ReadOnly, given, "the file is read-only");
    }
    target.exists = true;
    target.mode = status.st_mode & 07777;
    return {};
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A temporary file beside the target. A second descriptor holds an
// advisory lock for as long as the file lives, which tells cleaners that it
// is not a leftover.
struct TemporaryFile {
    fs::path path;
    FileDescriptor file;
    FileDescriptor lock;
};

// errno tells why when the file could not be made.
bool CreateTemporaryFile(const fs::path& target, TemporaryFile& temporary)
{
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string pattern
        = (directory / (TemporaryPrefix(target.filename().string()) + std::string(kRandomLength, 'X'))).string();
    // A cleaner may remove the new file before it is locked; then try again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string name = pattern;
        FileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));
        if (!file.IsOpen()) {
            return false;
        }
        FileDescriptor lock(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!lock.IsOpen() || ::flock(lock.Get(), LOCK_EX) != 0) {
            const int error = errno;
            ::unlink(name.c_str());
            errno = error;
            return false;
        }
        if (IsFileAt(file.Get(), name)) {
            temporary = {name, std::move(file), std::move(lock)};
            return true;
        }
    }
    errno = EAGAIN;
    return false;
}

// The fallback when the directory takes no new file: the file is written
// where it is.
FileWriteResult WriteInPlace(const fs::path& given, const Target& target, std::string_view data, Durability durability)
{
    FileDescriptor file(::open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status { };
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
        return SystemFailure(given, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return WriteFailed(WriteFailure::NotAFile, given, "not a regular file");
    }
    if (!WriteAll(file.Get(), data) || ::ftruncate(file.Get(), static_cast<off_t>(data.size())) != 0
        || (durability == Durability::Synced && ::fsync(file.Get()) != 0) || file.Close() != 0) {
        return SystemFailure(given, errno);
    }
    return {};
}

// Removes a leftover unless a running write holds its lock.
bool RemoveIfUnheld(const fs::path& path)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status { };
    return file.IsOpen() && ::fstat(file.Get(), &status) == 0 && S_ISREG(status.st_mode)
        && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0 && IsFileAt(file.Get(), path) && ::unlink(path.c_str()) == 0;
}

} // namespace

FileWriteResult WriteFileAtomically(
    const fs::path& path, std::string_view data, Durability durability, SymbolicLinks links)
{
    Target target;
    if (FileWriteResult refused = ResolveTarget(path, links, target); !refused.ok) {
        return refused;
    }
    TemporaryFile temporary;
    if (!CreateTemporaryFile(target.path, temporary)) {
        const int error = errno;
        if (target.exists && (error == EACCES || error == EPERM)) {
            return WriteInPlace(path, target, data, durability);
        }
        return SystemFailure(path, error);
    }
    const int fd = temporary.file.Get();
    if (::fchmod(fd, target.exists ? target.mode : NewFileMode()) != 0 || !WriteAll(fd, data)
        || (durability == Durability::Synced && ::fsync(fd) != 0) || temporary.file.Close() != 0
        || ::rename(temporary.path.c_str(), target.path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.path.c_str());
        return SystemFailure(path, error);
    }
    return {};
}

FileWriteResult WriteNewFile(const fs::path& path, std::string_view data, Durability durability, SymbolicLinks links)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        if (errno == EEXIST) {
            return WriteFileAtomically(path, data, durability, links);
        }
        return SystemFailure(path, errno);
    }
    if (!WriteAll(file.Get(), data) || (durability == Durability::Synced && ::fsync(file.Get()) != 0)
        || file.Close() != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        return SystemFailure(path, error);
    }
    return {};
}

UnnamedFile::~UnnamedFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

UnnamedFile::UnnamedFile(UnnamedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
{
}

UnnamedFile& UnnamedFile::operator=(UnnamedFile&& other) noexcept
{
    std::swap(fd_, other.fd_);
    return *this;
}

UnnamedFile UnnamedFile::Write(const fs::path& directory, std::string_view data)
{
    FileDescriptor file(::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.IsOpen() || !WriteAll(file.Get(), data)) {
        return {};
    }
    return UnnamedFile(file.Release());
}

bool UnnamedFile::Name(const fs::path& path)
{
    // Linking the descriptor's file by its /proc name needs no privilege.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        return false;
    }
    // Closing can report a failed write: then the name goes again.
    if (::close(std::exchange(fd_, -1)) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
        return false;
    }
    return true;
}

bool IsInMemory(const fs::path& directory)
{
    struct statfs status { };
    return ::statfs(directory.c_str(), &status) == 0 && status.f_type == TMPFS_MAGIC;
}

bool IsTemporaryFileName(std::string_view name)
{
    const std::size_t suffix = kTemporaryMarker.size() + kRandomLength;
    if (name.size() < 1 + suffix || name.front() != '.') {
        return false;
    }
    const std::string_view random = name.substr(name.size() - kRandomLength);
    return name.substr(name.size() - suffix, kTemporaryMarker.size()) == kTemporaryMarker
        && std::all_of(
            random.begin(), random.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

std::size_t RemoveLeftoverTemporaryFiles(const fs::path& directory, std::string_view fileName)
{
    const std::string prefix = fileName.empty() ? std::string() : TemporaryPrefix(fileName);
    std::vector<fs::path> leftovers;
    std::error_code error;
    for (fs::directory_iterator entry(directory, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (IsTemporaryFileName(name)
            && (prefix.empty() || (name.starts_with(prefix) && name.size() == prefix.size() + kRandomLength))) {
            leftovers.push_back(entry->path());
        }
    }
    return static_cast<std::size_t>(std::count_if(leftovers.begin(), leftovers.end(), RemoveIfUnheld));
}

FileReadResult ReadWholeFile(const fs::path& path, std::size_t maxSize)
{
    FileReadResult result;
    const auto fail = [&](ReadFailure failure, std::string error) {
        result.ok = false;
        result.failure = failure;
        result.error = std::move(error);
        result.data.clear();
        return std::move(result);
    };
    // Not blocking, so that a FIFO is refused instead of waited for.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.IsOpen()) {
        const int error = errno;
        return fail(error == ENOENT || error == ENOTDIR ? ReadFailure::NotFound : ReadFailure::System,
            SystemError(path, error));
    }
    struct stat status { };
    if (::fstat(file.Get(), &status) != 0) {
        return fail(ReadFailure::System, SystemError(path, errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return fail(ReadFailure::NotAFile, path.string() + ": not a regular file");
    }
    const auto tooLarge = [&] {
        return fail(ReadFailure::TooLarge, path.string() + ": larger than " + std::to_string(maxSize) + " bytes");
    };
    if (static_cast<std::size_t>(status.st_size) > maxSize) {
        return tooLarge();
    }
    // Read straight into the text, one byte more than the size so that the
    // end is seen in the same call; a file may grow while it is read, or
    // report no size at all.
    std::size_t size = 0;
    result.data.resize(std::min(static_cast<std::size_t>(status.st_size), maxSize) + 1);
    for (;;) {
        if (size == result.data.size()) {
            if (size > maxSize) {
                return tooLarge();
            }
            result.data.resize(std::min(std::max<std::size_t>(2 * size, 1 << 16), maxSize + 1));
        }
        const ssize_t got = ::read(file.Get(), result.data.data() + size, result.data.size() - size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return fail(ReadFailure::System, SystemError(path, errno));
        }
        if (got == 0) {
            result.data.resize(size);
            return result;
        }
        size += static_cast<std::size_t>(got);
        if (size > maxSize) {
            return tooLarge();
        }
    }
}

} // namespace tessaly

namespace tessaly {

FileUpdateResult WriteFileIfChanged(const fs::path& path, std::string_view data)
{
    // A larger file cannot hold the same bytes.
    const FileReadResult existing = ReadWholeFile(path, data.size());
    if (existing.ok && existing.data == data) {
        return {};
    }
    const FileWriteResult written = WriteFileAtomically(path, data);
    if (!written.ok) {
        return {false, FileUpdate::Unchanged, written.error};
    }
    return {true, existing.failure == ReadFailure::NotFound ? FileUpdate::Created : FileUpdate::Updated, {}};
}

} // namespace tessaly
