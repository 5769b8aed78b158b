#pragma once

// The designs of the site: the simple design (a top menu and one directory
// per genre) and the detailed design of every directory.

#include "gui/host/CommandSet.h"

namespace tessaly {

class DesignCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit DesignCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    // The designs cannot change while found items are shown.
    void UpdateStates(const ItemListState& state) override;

    void MM_ProjectSimpleDesignClick();

private:
    void OpenDetailedDesign();

    QAction* simpleDesign_;
    QAction* simpleDesignButton_;
    QAction* detailedDesign_;
};

} // namespace tessaly
