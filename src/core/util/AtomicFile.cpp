#include "core/util/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
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

// Where a write in place keeps the old file until the new one is whole:
// the user's state directory, so that the copy outlives a crash.
fs::path InPlaceCopyDirectory()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && *state == '/') {
        return fs::path(state) / "tessaly";
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && *home == '/' ? fs::path(home) / ".local/state/tessaly" : fs::path();
}

// The copy's name tells files of one name apart by a hash (FNV-1a) of the
// full path.
fs::path InPlaceCopyPath(const fs::path& file)
{
    const fs::path directory = InPlaceCopyDirectory();
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(file, error), error);
    if (directory.empty() || error) {
        return {};
    }
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : full.native()) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return directory / (full.filename().string().substr(0, kNamePartLimit) + "." + hex + ".copy");
}

// Reserves the blocks of size bytes, so that writing them cannot run out
// of space; 0, or the error number.
int Reserve(int fd, std::size_t size)
{
    return ::posix_fallocate(fd, 0, static_cast<off_t>(std::max<std::size_t>(size, 1)));
}

bool WriteAllAt(int fd, std::string_view data)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0;
}

// The copy of the old file that a write in place keeps, locked for as long
// as the write runs so that no one takes it for the leftover of a crash.
class InPlaceCopy {
public:
    // errno tells why when false.
    bool Make(const fs::path& target, std::string_view old)
    {
        path_ = InPlaceCopyPath(target);
        std::error_code error;
        if (path_.empty() || (!fs::create_directories(path_.parent_path(), error) && error)) {
            errno = path_.empty() ? ENOENT : error.value();
            return false;
        }
        // A copy left by a crash is kept: it may be the only whole version.
        file_ = FileDescriptor(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file_.IsOpen()) {
            leftover_ = errno == EEXIST;
            return false;
        }
        made_ = true;
        return ::flock(file_.Get(), LOCK_EX) == 0 && WriteAll(file_.Get(), old) && ::fsync(file_.Get()) == 0;
    }
    const fs::path& Path() const { return path_; }
    // A crash left a copy of the file that is not yet restored or discarded.
    bool FoundLeftover() const { return leftover_; }
    // The write is over: the copy goes.
    void Drop()
    {
        if (made_) {
            ::unlink(path_.c_str());
            made_ = false;
        }
    }
    // Kept for the next open to offer.
    void Keep() { made_ = false; }
    ~InPlaceCopy() { Drop(); }
    InPlaceCopy() = default;
    InPlaceCopy(const InPlaceCopy&) = delete;
    InPlaceCopy& operator=(const InPlaceCopy&) = delete;

private:
    fs::path path_;
    FileDescriptor file_;
    bool made_ = false;
    bool leftover_ = false;
};

// The fallback when the directory takes no new file: the file is written
// where it is. The full new size is reserved first, so a full disk stops
// the write before it begins, and the old contents are kept in a copy
// until the new ones are whole; a failed write puts them back.
FileWriteResult WriteInPlace(const fs::path& given, const Target& target, std::string_view data, Durability durability)
{
    FileDescriptor file(::open(target.path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status { };
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
        return SystemFailure(given, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return WriteFailed(WriteFailure::NotAFile, given, "not a regular file");
    }
    const FileReadResult old = ReadWholeFile(target.path, static_cast<std::size_t>(status.st_size));
    InPlaceCopy copy;
    if (!old.ok || !copy.Make(target.path, old.data)) {
        const int error = errno;
        const std::string why = !old.ok ? old.error
            : copy.FoundLeftover() ? copy.Path().string() + " is left from an interrupted save; open the file first"
            : copy.Path().empty()  ? std::string("no state directory (HOME is not set)")
                                   : SystemError(copy.Path(), error);
        return WriteFailed(WriteFailure::UnsafeInPlace, given,
            "the folder takes no new file, and no copy of the old file could be kept (" + why
                + "); save it elsewhere with Save As");
    }
    if (const int error = Reserve(file.Get(), data.size()); error != 0) {
        // A partial reservation may have made the file longer.
        if (::ftruncate(file.Get(), status.st_size) != 0) {
            copy.Keep();
        }
        return SystemFailure(given, error);
    }
    if (!WriteAllAt(file.Get(), data) || (durability == Durability::Synced && ::fsync(file.Get()) != 0)) {
        const int error = errno;
        if (!WriteAllAt(file.Get(), old.data) || ::fsync(file.Get()) != 0) {
            copy.Keep();
            return WriteFailed(WriteFailure::System, given,
                std::string(std::strerror(error)) + "; the old file is kept in " + copy.Path().string());
        }
        return SystemFailure(given, error);
    }
    if (file.Close() != 0) {
        copy.Keep();
        return WriteFailed(WriteFailure::System, given,
            std::string(std::strerror(errno)) + "; the old file is kept in " + copy.Path().string());
    }
    return {};
}

// Makes path a new file holding data, directly: there is no old file to
// keep whole, and a failed write removes what it wrote. False with errno
// (EEXIST: the name is taken) when it cannot.
bool CreateFile(const fs::path& path, std::string_view data, Durability durability)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        return false;
    }
    if (!WriteAll(file.Get(), data) || (durability == Durability::Synced && ::fsync(file.Get()) != 0)
        || file.Close() != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
        return false;
    }
    return true;
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
    if (CreateFile(path, data, durability)) {
        return {};
    }
    return errno == EEXIST ? WriteFileAtomically(path, data, durability, links) : SystemFailure(path, errno);
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

std::optional<fs::path> InPlaceWriteCopy(const fs::path& path)
{
    const fs::path copy = InPlaceCopyPath(path);
    FileDescriptor file(copy.empty() ? -1 : ::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat status { };
    // A copy that a running write holds is no leftover.
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)
        || ::flock(file.Get(), LOCK_SH | LOCK_NB) != 0) {
        return std::nullopt;
    }
    return copy;
}

FileWriteResult RestoreInPlaceWriteCopy(const fs::path& path)
{
    const std::optional<fs::path> copy = InPlaceWriteCopy(path);
    if (!copy) {
        return WriteFailed(WriteFailure::System, path, "no copy of an interrupted save is left");
    }
    const FileReadResult old = ReadWholeFile(*copy, std::numeric_limits<std::size_t>::max());
    if (!old.ok) {
        return {false, WriteFailure::System, old.error};
    }
    // Written back in place, which works where the save had to; the copy
    // stays until the file holds it whole again.
    FileDescriptor file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    struct stat status { };
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
        return SystemFailure(path, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return WriteFailed(WriteFailure::NotAFile, path, "not a regular file");
    }
    if (const int error = Reserve(file.Get(), old.data.size()); error != 0) {
        return SystemFailure(path, error);
    }
    if (!WriteAllAt(file.Get(), old.data) || ::fsync(file.Get()) != 0 || file.Close() != 0) {
        return SystemFailure(path, errno);
    }
    ::unlink(copy->c_str());
    return {};
}

bool DiscardInPlaceWriteCopy(const fs::path& path)
{
    const std::optional<fs::path> copy = InPlaceWriteCopy(path);
    return copy && RemoveIfUnheld(*copy);
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

FileUpdateResult WriteFileUnlessPresent(const fs::path& path, std::string_view data)
{
    if (CreateFile(path, data, Durability::Synced)) {
        return {true, FileUpdate::Created, {}};
    }
    if (errno == EEXIST) {
        return {};
    }
    return {false, FileUpdate::Unchanged, SystemError(path, errno)};
}

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
