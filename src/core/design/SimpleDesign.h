#pragma once

// The simple design: a top menu in the root directory linking to one
// directory per genre, kept as "_design.tsg" and written out as the
// directories' designs in one step.

#include <string>
#include <string_view>
#include <vector>

#include "core/design/DirectoryDesign.h"

namespace tessaly {

class Project;

struct SimpleDesignRow {
    std::string genre;
    std::string directory; // one directory name below the root
};

struct SimpleDesignForm {
    std::string nameDefault;
    std::string nameSub;
    std::string templateLink; // an item template name; the standard simple one by default
    std::string templateDefault;
    std::string templateSub;
    bool division = true;
    int32_t divisionCount = 20;
    int32_t column = 2;
    std::string parentFront;
    std::string parentRear;
    std::vector<SimpleDesignRow> rows;
    // Why "{dirs}" lines of "_design.tsg" were not taken (code page 932).
    std::vector<std::string> refusedRows;
};

// The form as it opens: the project's values, then those of "_design.tsg"
// in the root when it exists, then "genre001"-style names for rows still
// without a directory.
SimpleDesignForm InitialSimpleDesign(const Project& project, std::string_view simpleDesignText);
SimpleDesignForm InitialSimpleDesign(const Project& project);

std::string SimpleDesignFileText(const SimpleDesignForm& form, const Project& project);

// The designs that saving the form writes: the root's, then one per row.
TDirectoryDesign SimpleRootDesign(const SimpleDesignForm& form, const DesignDefaults& defaults);
TDirectoryDesign SimpleGenreDesign(const TDirectoryDesign& rootDesign, const SimpleDesignRow& row);

struct SimpleDesignResult {
    bool ok = true;
    std::string refusedName; // the message that refuses a name (code page 932)
    std::string error; // the system's reason otherwise
};

// The message that refuses a name which is not a plain directory or page
// name (code page 932); empty when the form's names are all usable.
std::string RefusedSimpleDesignName(const SimpleDesignForm& form);
// The same for one directory of the directory column.
std::string RefusedSimpleDesignDirectory(std::string_view directory);

// Writes "_design.tsg" and the designs of the root and every genre
// directory, creating the directories that do not exist. A form with a
// refused name writes nothing.
SimpleDesignResult SaveSimpleDesign(const SimpleDesignForm& form, const Project& project, TDateTime today);

// What saving the form would lose of the root directory's design as the
// detailed design left it: the parts that differ from what the simple
// design writes there, and each directory link the simple design does not
// make, named in words (code page 932). Empty when the root has no design
// or holds nothing the simple design would not write again.
std::vector<std::string> RootDesignChangesLost(const SimpleDesignForm& form, const Project& project, TDateTime today);

// The duplicate check of the directory column (names compared ignoring
// ASCII case): true when name is used by a row other than exceptRow.
bool DirectoryNameTaken(const SimpleDesignForm& form, std::string_view name, std::size_t exceptRow);

} // namespace tessaly
