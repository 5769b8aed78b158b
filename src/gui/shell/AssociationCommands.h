#pragma once

// Associating the project files (.TSP) with the program in the desktop, and
// taking the association back.

#include "gui/host/CommandSet.h"

namespace tessaly {

class AssociationCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit AssociationCommands(ItemListHost& host);

    // The caption says which of the two the command does when the menu opens.
    void Contribute(MenuLayout& layout) override;

    void MM_AppAccountClick();

private:
    QAction* account_;
};

} // namespace tessaly
