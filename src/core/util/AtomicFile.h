#pragma once

// Whole-file reads and writes that are safe on any input: a read takes only
// regular files of a bounded size, and a write never leaves a half-written
// file: the data goes to a temporary file in the same directory, which then
// replaces the target.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// Why a write did not happen; the caller maps it to its own message.
enum class WriteFailure {
    None,
    // The file exists and the user may not write it.
    ReadOnly,
    // A symbolic link whose target does not exist, or a loop of links.
    DanglingLink,
    // A symbolic link where links are refused (pages of the output run).
    Link,
    // A directory, FIFO, device or socket.
    NotAFile,
    // The folder takes no new file and the old file could not be kept
    // aside for a write in place; only Save As elsewhere can help.
    UnsafeInPlace,
    // More than the file's reader takes; nothing was written.
    TooLarge,
    // The project's own file, which an export must not replace.
    ProjectFile,
    // The system refused; the error says why.
    System,
};

struct FileWriteResult {
    bool ok = true;
    WriteFailure failure = WriteFailure::None;
    std::string error; // names the file and says why when not ok
};

// Whether the data must be on the disk before the file replaces the old one.
// Pages the output run can write again do without; user files need it.
enum class Durability { Synced, Unsynced };

// User files saved through a symbolic link replace the file it names; pages
// are never written through one.
enum class SymbolicLinks { Follow, Refuse };

// Writes data as the whole new content of path. A file without write
// permission for the user is not replaced. When the directory takes no new
// file but the file itself is writable, the file is written in place: the
// new size is reserved first, and the old contents are kept in a copy in
// the user's state directory ($XDG_STATE_HOME/tessaly, else
// ~/.local/state/tessaly) until the write is whole, and put back when it
// fails. Without such a copy nothing is written in place.
FileWriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
    Durability durability = Durability::Synced, SymbolicLinks links = SymbolicLinks::Follow);

// Writes data as a file that does not exist yet, directly: there is no old
// file to keep whole, and a failed write removes what it wrote. When a file
// has taken the name meanwhile, it is replaced as WriteFileAtomically does.
FileWriteResult WriteNewFile(const std::filesystem::path& path, std::string_view data,
    Durability durability = Durability::Synced, SymbolicLinks links = SymbolicLinks::Follow);

// The contents of a new file written ahead, without a name, in the
// directory it is for; naming it later makes it appear whole. Dropped
// unnamed, it vanishes (also when the program is killed). Writing the data
// and making the file, the costly part on a disk, can so be done out of
// order and on any thread.
class UnnamedFile {
public:
    UnnamedFile() = default;
    ~UnnamedFile();
    UnnamedFile(UnnamedFile&& other) noexcept;
    UnnamedFile& operator=(UnnamedFile&& other) noexcept;
    UnnamedFile(const UnnamedFile&) = delete;
    UnnamedFile& operator=(const UnnamedFile&) = delete;

    // Nothing (false) where the file system cannot keep files without a
    // name, or the data could not be written.
    static UnnamedFile Write(const std::filesystem::path& directory, std::string_view data);
    explicit operator bool() const { return fd_ >= 0; }

    // Gives the file the name path (in its directory); false with errno
    // (EEXIST: the name is taken) when it cannot, and the file stays unnamed.
    bool Name(const std::filesystem::path& path);

private:
    explicit UnnamedFile(int fd)
        : fd_(fd)
    {
    }
    int fd_ = -1;
};

// The copy of path that a write in place kept and a crash left behind, if
// there is one (a write still running holds its copy and is not counted).
// Offer it when the file is opened: the file itself may be cut short.
std::optional<std::filesystem::path> InPlaceWriteCopy(const std::filesystem::path& path);

// Writes the copy back as the whole content of path and removes it.
FileWriteResult RestoreInPlaceWriteCopy(const std::filesystem::path& path);

// Removes the copy; true when there was one.
bool DiscardInPlaceWriteCopy(const std::filesystem::path& path);

// True when directory is on a file system in memory (tmpfs), where making
// a file costs no more than naming one.
bool IsInMemory(const std::filesystem::path& directory);

// Removes the temporary files that writes stopped by a crash or a kill left
// in directory, those of fileName only when it is given. A file that a
// running write still holds is kept. Returns how many were removed.
std::size_t RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory, std::string_view fileName = {});

// True for names of the temporary files that writes create.
bool IsTemporaryFileName(std::string_view name);

enum class ReadFailure { None, NotFound, NotAFile, TooLarge, System };

struct FileReadResult {
    bool ok = true;
    ReadFailure failure = ReadFailure::None;
    std::string data;
    std::string error; // names the file and says why when not ok
};

// Larger files are refused unless a caller knows better.
inline constexpr std::size_t kReadLimit = std::size_t{512} << 20;

// Reads a regular file of at most maxSize bytes; a FIFO or device is refused
// without waiting for it.
FileReadResult ReadWholeFile(const std::filesystem::path& path, std::size_t maxSize = kReadLimit);

} // namespace tessaly

namespace tessaly {

enum class FileUpdate { Created, Updated, Unchanged };

struct FileUpdateResult {
    bool ok = true;
    FileUpdate update = FileUpdate::Unchanged;
    std::string error;
};

// Writes data unless the file already holds exactly these bytes, so an
// unchanged file keeps its time stamp.
FileUpdateResult WriteFileIfChanged(const std::filesystem::path& path, std::string_view data);

// Writes data as a new file unless something has the name already, which is
// never touched (Unchanged then). A failed write removes what it wrote.
FileUpdateResult WriteFileUnlessPresent(const std::filesystem::path& path, std::string_view data);

} // namespace tessaly
