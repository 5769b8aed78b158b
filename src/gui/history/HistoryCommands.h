#pragma once

// Undo and redo: "元に戻す" and "やり直し" name the change they would take
// back or do again.

#include "gui/host/CommandSet.h"

namespace tessaly {

class HistoryCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit HistoryCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

private:
    QAction* undo_;
    QAction* redo_;
    QAction* undoButton_;
    QAction* redoButton_;
};

} // namespace tessaly
