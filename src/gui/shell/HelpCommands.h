#pragma once

// The help menu: the program's help pages and its version window.

#include "gui/host/CommandSet.h"

namespace tessaly {

class HelpCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit HelpCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;

    void MM_AboutClick();

private:
    QAction* contents_;
    QAction* makerPage_;
    QAction* programPage_;
    QAction* about_;
};

} // namespace tessaly
