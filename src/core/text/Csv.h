#pragma once

// Comma-separated lines as the program writes them for spreadsheets.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// A value holding a control character, a blank, a double quote or a comma
// is enclosed in double quotes, with each double quote inside doubled;
// any other value is written as it is. (Trail bytes of code page 932 are
// never among these characters, so the test works on bytes.)
std::string CsvValue(std::string_view value);

// The values joined by commas, ended by CR LF.
std::string CsvLine(const std::vector<std::string>& values);

} // namespace tessaly
