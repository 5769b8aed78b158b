#pragma once

// File names and paths. Paths are POSIX ("/" separators); text in them is
// code page 932 like every text of the program, and converted to the UTF-8
// names of the file system only where a file is touched.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

class MessagePresenter;

// False when name holds one of \ / : ; * ? " < > |; then beeps when beep is
// set and shows the error box that lists those characters.
bool IsValidFileName(std::string_view name, bool beep, MessagePresenter& messages);
bool HasOnlyFileNameCharacters(std::string_view name);

// Relative path from the directory basePath to targetPath, "./" when empty.
// A target that is not an absolute POSIX path (a Windows drive path or a
// relative one) is returned as it stands, with "\" turned into "/".
std::string RelativeLink(std::string_view basePath, std::string_view targetPath);

// basePath joined with relative, whose leading "../" parts each remove the
// last component of basePath and whose leading "./" parts are dropped. An
// absolute relative path is returned as it stands.
std::string ResolveRelative(std::string_view basePath, std::string_view relative);

// The path spelled as the file system has it: the existing part canonical
// (symbolic links, "." and ".." resolved), the rest appended, and a trailing
// "/" when the whole is an existing directory. A path that cannot be spelled
// in code page 932 is returned unchanged.
std::string LongPathName(std::string_view path);

// Code page 932 path text to a file-system path, and back. Nothing when the
// text cannot be converted.
std::optional<std::filesystem::path> ToFsPath(std::string_view path);
std::optional<std::string> FromFsPath(const std::filesystem::path& path);

} // namespace tessaly
