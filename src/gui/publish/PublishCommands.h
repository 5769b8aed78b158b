#pragma once

// The publishing commands of the main window: the project output with its
// dialog, and opening the root page of the site in the browser.

#include "gui/host/CommandSet.h"

namespace tessaly {

class PublishCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit PublishCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    // No output while found items are shown: they are out of their genres.
    void UpdateStates(const ItemListState& state) override;

private:
    QAction* output_;
    QAction* outputButton_;
    QAction* openRoot_;
};

} // namespace tessaly
