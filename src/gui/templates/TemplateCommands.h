#pragma once

// The item template command of the main window: the project's templates
// edited in the template dialog.

#include "gui/host/CommandSet.h"

class QAction;

namespace tessaly {

class TemplateCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit TemplateCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;

    // Opens the dialog on the project's templates; on OK they are replaced
    // by the dialog's, in its order, and the project counts as changed.
    // True when confirmed.
    bool MM_ProjectTemplateClick();

private:
    QAction* menuEntry_;
    QAction* button_;
};

} // namespace tessaly
