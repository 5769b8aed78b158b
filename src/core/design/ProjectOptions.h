#pragma once

// The per-project settings the site needs besides the directory designs,
// as the options dialog edits them, and the checks it runs on OK.

#include <string>

#include "core/collection/Project.h"

namespace tessaly {

class MessagePresenter;
class SettingsStore;

struct ProjectOptions {
    std::string Title;
    std::string AuthorName;
    std::string AuthorKana;
    std::string AuthorMail;
    std::string RootDir;
    std::string BannerDir;
    std::string DefaultFile;
    std::string SubFile;
    std::string ParentAnchor;
    std::string ParentPath;
    SitePublishing Publishing;

    friend bool operator==(const ProjectOptions&, const ProjectOptions&) = default;
};

ProjectOptions OptionsOf(const Project& project);
// Stores the options trimmed and marks the project modified.
void ApplyOptions(Project& project, const ProjectOptions& options);

// The administrator every new project starts with.
void StoreOwnerDefaults(SettingsStore& settings, const ProjectOptions& options);

enum class OptionsField { None, AuthorName, AuthorKana, RootDir, BannerDir, DefaultFile, SubFile, BaseUrl };

struct OptionsVerdict {
    bool ok = true;
    OptionsField field = OptionsField::None; // where the user goes to mend it
};

// The dialog's tab of a field: 1 the administrator, 2 directories and
// files, 4 publishing.
int OptionsTabOf(OptionsField field);

// The reading check alone, with its message: run when the reading is left.
bool CheckOwnerKana(const ProjectOptions& options, MessagePresenter& messages);

// The checks of OK, in order, with their messages and questions; an empty
// default or sub file name is filled with the usual one when the user agrees.
// Root and banner directories need no common drive here: any two
// directories have a relative path on this system. The site's address is
// taken in its usual form, ending in "/".
OptionsVerdict CheckProjectOptions(ProjectOptions& options, MessagePresenter& messages);

} // namespace tessaly
