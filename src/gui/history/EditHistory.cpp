#include "gui/history/EditHistory.h"

#include <QTreeView>

#include <algorithm>
#include <utility>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/host/ItemListHost.h"

namespace tessaly {

EditHistory::EditHistory(ItemListHost& host)
    : host_(host)
{
}

std::optional<PendingGenre> EditHistory::ShownGenre() const
{
    const ShownItems& shown = host_.Shown();
    if (shown.SearchMode() || shown.SelectedGenre() >= host_.CurrentProject().Genres.size()) {
        return std::nullopt;
    }
    return PendingGenre{shown.SelectedGenre(), shown.GenreLines()};
}

void EditHistory::Start()
{
    history_.Reset(host_.CurrentProject(), ShownGenre());
}

void EditHistory::Record(const QString& name)
{
    history_.Record(host_.CurrentProject(), name.toStdString(), ShownGenre());
}

void EditHistory::Changed()
{
    if (host_.Shown().SearchMode()) {
        changedInSearchMode_ = true;
    } else if (!commands_.empty()) {
        if (changedBy_.isEmpty()) {
            changedBy_ = commands_.back();
        }
    } else {
        Record(QStringLiteral("変更"));
    }
}

void EditHistory::RunCommand(const QString& name, const std::function<void()>& work)
{
    commands_.push_back(name);
    work();
    commands_.pop_back();
    if (commands_.empty() && !changedBy_.isEmpty()) {
        const QString changedBy = std::exchange(changedBy_, QString());
        if (!host_.Shown().SearchMode()) {
            Record(changedBy);
        }
    }
}

void EditHistory::SearchModeEnded()
{
    if (std::exchange(changedInSearchMode_, false)) {
        Record(QStringLiteral("検索モードでの変更"));
    } else {
        history_.Rebase(host_.CurrentProject(), ShownGenre());
    }
}

bool EditHistory::TakeStep(bool forward)
{
    Project& project = host_.CurrentProject();
    ShownItems& shown = host_.Shown();
    std::vector<int32_t> chosen;
    for (const std::size_t row : host_.SelectedRows()) {
        chosen.push_back(shown.Rows()[row].Serial);
    }
    const std::string shownName = project.Genres[shown.SelectedGenre()].Name;
    // The history restores whole genres: the shown rows go back first, and
    // anything changed since the last step becomes a step of its own.
    shown.FlushGenre();
    history_.Record(project, "変更");
    if (!(forward ? history_.Redo(project) : history_.Undo(project))) {
        return false;
    }
    shown.Clear();
    // The genre shown before, found by its name (a move changes its place),
    // unless the step changed others only: then the first of those. The
    // items chosen before stay chosen wherever they are.
    std::size_t genre
        = project.FindGenre(shownName).value_or(std::min(shown.SelectedGenre(), project.Genres.size() - 1));
    const std::vector<std::size_t>& changed = history_.ChangedGenres();
    if (!changed.empty() && std::find(changed.begin(), changed.end(), genre) == changed.end()) {
        genre = changed.front();
    }
    host_.ShowCollectionAgain(genre);
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < shown.Rows().size(); ++row) {
        if (std::find(chosen.begin(), chosen.end(), shown.Rows()[row].Serial) != chosen.end()) {
            rows.push_back(row);
        }
    }
    host_.RowsReplaced(rows);
    host_.ItemView()->setFocus();
    return true;
}

} // namespace tessaly
