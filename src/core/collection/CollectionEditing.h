#pragma once

// Editing the collection: genres, the attribute and content vocabularies,
// tagging, and moving items between genres. Every operation keeps the two
// system genres at both ends and reports whether anything changed, so the
// caller can mark the project modified.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class Project;
class ShownItems;

enum class NameCheck { Ok, Empty, ControlCode, VerticalLine, Duplicate };

// The checks of the name input dialog, on the text trimmed of blanks and
// control characters. renaming is the index of the entry being renamed (it
// is not a duplicate of itself), or -1.
NameCheck CheckName(std::string_view text, const std::vector<std::string>& existing, int renaming);
// The warning text for a refused name (none for Ok and Empty, which beeps).
std::string NameCheckMessage(NameCheck check);

// A name from outside (an import) made to pass the checks above but the
// duplicate one: control characters as blanks, "|" as the full-width
// "｜", bytes that are no code page 932 character left out, blanks and
// control characters trimmed. Names go into the pages as they are, so
// the characters of markup become their full-width forms ("<" "＜", ">"
// "＞", "&" "＆", '"' "”"). Empty when nothing of it is left.
std::string ValidNameOf(std::string_view sjisText);

std::vector<std::string> GenreNames(const Project& project);

// The genre operations; index is a genre index. The shown rows must belong
// to the selected genre (flushed or not).
bool RenameGenre(Project& project, ShownItems& shown, std::size_t index, const std::string& name);
// Moves the genre's items, unchanged, to the end of the trash and removes
// it; the genre above becomes the selected one and its items are shown.
bool EraseGenre(Project& project, ShownItems& shown, std::size_t index);
bool MoveGenreUp(Project& project, ShownItems& shown, std::size_t index);
bool MoveGenreDown(Project& project, ShownItems& shown, std::size_t index);

enum class Vocabulary { Attributes, Contents };

std::vector<std::string>& VocabularyOf(Project& project, Vocabulary vocabulary);

// Renames or erases a name in the vocabulary and in every item's list
// (shown rows and stored lines alike), keeping each name's position.
bool RenameTag(Project& project, ShownItems& shown, Vocabulary vocabulary, std::size_t index, const std::string& name);
bool EraseTag(Project& project, ShownItems& shown, Vocabulary vocabulary, std::size_t index);
bool MoveTag(Project& project, Vocabulary vocabulary, std::size_t index, bool up);

// The "/" list of the checked names, in vocabulary order.
std::string TagList(const std::vector<std::string>& checkedNames);
// Gives every selected row the list; true when one changed.
bool AssignTags(
    ShownItems& shown, Vocabulary vocabulary, const std::vector<std::size_t>& rows, const std::string& list);

// Replaces "/old/" by "/new/" in "/" + list + "/" (an erase passes "/").
std::string ReplaceInTagList(std::string_view list, std::string_view oldName, const std::string* newName);

// Moves the given rows (from the last to the first) to the end of the
// target genre, setting their genre name; refused for the selected genre.
bool MoveRowsToGenre(Project& project, ShownItems& shown, std::vector<std::size_t> rows, std::size_t target);
// Moves the given rows, with their genre names kept, to the end of the trash.
bool DeleteRowsToTrash(Project& project, ShownItems& shown, std::vector<std::size_t> rows);

} // namespace tessaly
