#pragma once

// The item template command of the main window: the project's templates
// edited in the template dialog.

#include <QObject>

class QAction;
class QMenu;
class QToolBar;

namespace tessaly {

class ItemListHost;

class TemplateCommands final : public QObject {
    Q_OBJECT

public:
    TemplateCommands(ItemListHost& host, QObject* parent);

    void AddTo(QMenu* menu, QToolBar* tools);

    // Opens the dialog on the project's templates; on OK they are replaced
    // by the dialog's, in its order, and the project counts as changed.
    // True when confirmed.
    bool MM_ProjectTemplateClick();

private:
    ItemListHost& host_;
    QAction* menuEntry_;
    QAction* button_;
};

} // namespace tessaly
