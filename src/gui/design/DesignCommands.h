#pragma once

// The project's site commands of the main window: the project options and
// the designs of the site.

#include <QObject>

class QAction;
class QMenu;
class QToolBar;

namespace tessaly {

class ItemListHost;

class DesignCommands final : public QObject {
    Q_OBJECT

public:
    DesignCommands(ItemListHost& host, QObject* parent);

    // The design commands; the options go last in the menu.
    void AddTo(QMenu* menu, QToolBar* tools);
    void AddOptionsTo(QMenu* menu);
    // The designs cannot change while found items are shown.
    void SetSearchMode(bool searching);

    // Opens the options on the tab with index page; true when confirmed.
    bool OpenProjectOptions(int page);
    // True when the project has a root directory for its site, after
    // offering to set one.
    bool EnsureRootDirectory();
    void MM_ProjectSimpleDesignClick();

signals:
    // The options changed what the window shows (its title).
    void optionsChanged();
    // The simple design was saved and the user asked for the output next.
    void outputRequested();

private:
    void OpenDetailedDesign();

    ItemListHost& host_;
    QAction* options_;
    QAction* simpleDesign_;
    QAction* simpleDesignButton_;
    QAction* detailedDesign_;
};

} // namespace tessaly
