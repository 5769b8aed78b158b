#pragma once

// Whole-file writes that never leave a half-written file: the data goes to a
// temporary file in the same directory, which then replaces the target.

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaly {

struct FileWriteResult {
    bool ok = true;
    std::string error; // the system's reason when not ok
};

// Whether the data must be on the disk before the file replaces the old one.
// Pages the output run can write again do without; user files need it.
enum class Durability { Synced, Unsynced };

FileWriteResult WriteFileAtomically(
    const std::filesystem::path& path, std::string_view data, Durability durability = Durability::Synced);

struct FileReadResult {
    bool ok = true;
    bool notFound = false;
    std::string data;
    std::string error;
};

FileReadResult ReadWholeFile(const std::filesystem::path& path);

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

} // namespace tessaly
