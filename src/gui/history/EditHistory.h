#pragma once

// The desktop program's history of changes: every command's changes become
// one step named after it, a change outside a command (a drop, a tick in a
// check list) a step of its own, and the changes made while a search mode
// holds found items outside their genres one step when the mode ends. The
// shown genre's rows count as they are shown, without writing them back.

#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "core/collection/UndoHistory.h"

namespace tessaly {

class ItemListHost;

class EditHistory {
public:
    explicit EditHistory(ItemListHost& host);

    const UndoHistory& Steps() const { return history_; }

    // Starts anew from the collection as it is shown (opened, new, read again).
    void Start();
    void Saved() { history_.MarkSaved(); }
    // Something was changed: a step now, or when the running command or the
    // search mode ends.
    void Changed();
    // A command within a command names the step when it made the first
    // change (the genre pane's "削除" is "ジャンルの削除").
    void RunCommand(const QString& name, const std::function<void()>& work);
    // The search mode ended: its changes are one step; the order it leaves
    // the genres in is none.
    void SearchModeEnded();
    // The change as one step named name, now.
    void Record(const QString& name);
    // Undoes or redoes one step and shows the collection again; false when
    // there was none. The caller ends a search mode first.
    bool TakeStep(bool forward);

private:
    std::optional<PendingGenre> ShownGenre() const;

    ItemListHost& host_;
    UndoHistory history_;
    std::vector<QString> commands_; // running, innermost last
    QString changedBy_;             // the command that made the first change
    bool changedInSearchMode_ = false;
};

} // namespace tessaly
