#pragma once

// The project's site commands of the main window: the project options.

#include <QObject>

class QAction;
class QMenu;

namespace tessaly {

class ItemListHost;

class DesignCommands final : public QObject {
    Q_OBJECT

public:
    DesignCommands(ItemListHost& host, QObject* parent);

    void AddToMenu(QMenu* menu);

    // Opens the options on the tab with index page; true when confirmed.
    bool OpenProjectOptions(int page);

signals:
    // The options changed what the window shows (its title).
    void optionsChanged();

private:
    ItemListHost& host_;
    QAction* options_;
};

} // namespace tessaly
