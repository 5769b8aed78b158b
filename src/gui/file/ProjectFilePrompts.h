#pragma once

// What the file commands ask and tell the user about project files: the
// name to save under, a file another program changed, the copy an
// unfinished save left, and reading a file with its progress and troubles.

#include <QString>

#include <filesystem>
#include <optional>

#include "core/collection/ProjectFile.h"
#include "core/util/FileStamp.h"

class QLabel;
class QWidget;

namespace tessaly {

class FileDialogs;
class MessagePresenter;
class Project;

// The filter of the project file dialogs.
QString ProjectFileFilter();

// An absolute name ending in .TSP (offered when the user typed another
// extension); nothing when cancelled.
std::optional<std::filesystem::path> AskProjectFileName(
    MessagePresenter& messages, FileDialogs& files, QWidget* parent);

// The open file was changed on disk by another program since it was read or
// saved here: overwrite it, save under another name, or stop.
enum class ChangedFileChoice { Overwrite, SaveElsewhere, Cancel };
ChangedFileChoice AskAboutChangedFile(MessagePresenter& messages, const std::filesystem::path& name);

// A save in place that never finished left a copy of the file as it was:
// offered before the file is read. False when the user stopped.
bool OfferInPlaceWriteCopy(MessagePresenter& messages, const QString& fileName);

// Reads a project file into a project, with a progress window on long files
// and the reading message in the status label; tells the user what went
// wrong. Nothing when nothing was read.
struct ReadProjectOutcome {
    LoadOutcome outcome;
    // The file as it was before it was read: a change made meanwhile shows
    // at the next save.
    std::optional<FileStamp> stamp;
};
std::optional<ReadProjectOutcome> ReadProjectWithProgress(
    MessagePresenter& messages, QWidget* parent, QLabel& status, const QString& fileName, Project& into);

} // namespace tessaly
