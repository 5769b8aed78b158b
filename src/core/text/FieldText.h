#pragma once

// The encoding of names and values inside the "/"-separated fields of the
// project and design files, and the "/" lists built from it.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Line breaks normalised to CR LF, then & " < > / and CR LF replaced by
// entities; the result holds no "/" and no line break.
std::string EscapeField(std::string_view text);

// The entities back, "&amp;" last, so "&amp;ln;" gives the text "&ln;".
std::string UnescapeField(std::string_view text);

// 'a&sl;b/c' gives the names 'a/b' and 'c'.
std::vector<std::string> SplitSlashList(std::string_view list);

// Names separated by CR LF in linesText become one "/" list; each name is
// escaped on its own and a final line break becomes a final "/".
std::string JoinSlashList(std::string_view linesText);

// 'a/b' gives '[a][b]'; the empty list gives the empty text.
std::string BracketList(std::string_view list);

} // namespace tessaly
