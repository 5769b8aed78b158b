#pragma once

// The check that comes before any design work or output: the project must
// have a root directory for its site.

#include <functional>

namespace tessaly {

class Project;
class MessagePresenter;

// True when the project has a root directory, possibly after asking: a
// project never saved offers the project options (openProjectOptions, after
// which the check repeats); a saved one offers its file's directory.
bool EnsureRootDirectory(Project& project, MessagePresenter& messages, const std::function<void()>& openProjectOptions);

} // namespace tessaly
