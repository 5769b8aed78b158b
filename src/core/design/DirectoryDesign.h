#pragma once

// The design of one output directory ("_design.tsd"): whether and how it
// gets pages, which items they list, and how they link to other directories.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/EncodedText.h"
#include "core/text/Codepage.h"
#include "core/text/DateTime.h"
#include "core/text/Kana.h"

namespace tessaly {

// Narrowing and ordering of link items, for directory designs and searches.
struct TSqueeze {
    std::string genre;
    uint8_t dateMode = 0; // 0 none, 1 on date1, 2 date1..date2, 3 from date1, 4 up to date2
    TDateTime date1;
    TDateTime date2;
    uint8_t sortBy = 0; // 0 title reading, 1 author reading, 2 date, 3 title, 4 author
    uint8_t sortDir = 0;
    uint8_t rangeMode = 0; // 0 all, 1 one item, 2 start..end, 3 start.., 4 ..end
    int32_t rangeStart = 0;
    int32_t rangeEnd = 0;
    KanaRange titleRange;
    KanaRange authorRange;
    std::vector<std::string> attrAnd, attrOr, attrNot;
    std::vector<std::string> contentAnd, contentOr, contentNot;
    uint8_t status = 0; // 0 any, else 1 + status code
    std::string templateName;
    std::string keyword;
    bool ignoreCase = true;
    bool inTitle = true, inTitleKana = true, inAuthor = true, inAuthorKana = true, inComment = true;
    std::string domain;
};

struct THtmlDesign {
    std::string nameDef;
    std::string nameSub;
    std::string templateDef;
    std::string templateSub;
    bool division = true;
    int32_t divisionCount = 20;
};

struct TSubLinks {
    std::vector<std::string> links; // EscapeField(caption) + "/" + EscapeField(target)
    int32_t column = 2;
    uint8_t style = 0; // 0 numbers, 1 mark, 2 image
    std::string image;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    uint8_t direction = 0; // 0 column by column, 1 dealt out in turn
    std::string width;
};

struct TParentAdorn {
    std::string front;
    std::string rear;
};

struct TDirectoryDesign {
    std::string dirTitle;
    bool htmlOutputs = true;
    bool linkOutputs = true;
    bool succession = true;
    THtmlDesign html;
    TSqueeze squeeze;
    TSubLinks subLinks;
    TParentAdorn parentAdorn;
};

// What a reset design takes from outside: the project's page names and today.
struct DesignDefaults {
    std::string defaultFile{"index.html"};
    std::string subFile{"pages.html"};
    TDateTime today;
};

inline constexpr std::string_view kDesignFileName = "_design.tsd";
inline constexpr std::string_view kSimpleDesignFileName = "_design.tsg";
// Design files are small; larger ones are refused as unreadable.
inline constexpr std::size_t kDesignFileLimit = std::size_t{16} << 20;
// The column counts the design dialogs offer for the directory-link table.
inline constexpr int32_t kMinPageLinkColumns = 1;
inline constexpr int32_t kMaxPageLinkColumns = 5;

// A name that stays inside its directory: not empty, not "." or "..", and
// free of path separators, control characters and the characters that
// IsValidFileName refuses.
bool IsPlainName(std::string_view name);
// A page name: a plain name that is none of the design files (in any
// letter case).
bool IsValidPageName(std::string_view name);

const std::string& DefaultParentFront(); // "⇒<B>"
inline constexpr std::string_view kDefaultParentRear = "</B>";

void ResetSqueeze(TSqueeze& squeeze, TDateTime today);
void ResetDesign(TDirectoryDesign& design, const DesignDefaults& defaults);

// The whole design file as written.
std::string DesignFileText(const TDirectoryDesign& design);
// Applies the lines of a design file to design (which the caller has reset).
void ParseDesignText(std::string_view text, TDirectoryDesign& design);

// Directories are code page 932 paths; a trailing "/" is optional.
// Resets design and reads the directory's file; true when the file existed
// and could be read. The root directory never inherits. problem, when
// given, receives the reason when a file is there but cannot be read (not
// a regular file, too large), which then counts as no file. A file written
// in UTF-8 is converted (UserFileToSjis); conversion, when given, says so.
bool ReadDesign(std::string_view rootDirectory, std::string_view directory, TDirectoryDesign& design,
    const DesignDefaults& defaults, std::string* problem = nullptr, Utf8Conversion* conversion = nullptr);
// ReadDesign, then the page design, item template and parent texts from the
// nearest ancestor (up to the root) that does not inherit; conversion tells
// of the directory's own file.
bool ReadDesignWithSuccession(std::string_view rootDirectory, std::string_view directory, TDirectoryDesign& design,
    const DesignDefaults& defaults, std::string* problem = nullptr, Utf8Conversion* conversion = nullptr);

struct DesignWriteResult {
    bool ok = true;
    bool written = false; // false when the file already held the same text
    Utf8Text error;       // the system's reason
};

// Writes the design file unless it already holds the same text.
DesignWriteResult WriteDesign(std::string_view directory, const TDirectoryDesign& design);

// A directory path with exactly one trailing "/".
std::string WithTrailingSlash(std::string_view directory);

} // namespace tessaly
