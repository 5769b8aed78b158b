#pragma once

// The publishing commands of the main window: the project output with its
// dialog, and opening the root page of the site in the browser.

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QToolBar;

namespace tessaly {

class ItemListHost;

class PublishCommands final : public QObject {
    Q_OBJECT

public:
    // ensureRootDirectory: the check that the project has a root directory,
    // after offering to set one.
    PublishCommands(ItemListHost& host, std::function<bool()> ensureRootDirectory, QObject* parent);

    void AddTo(QMenu* menu, QToolBar* tools);
    // "ルートを開く(&R)", for the tool menu.
    QAction* OpenRootAction() const { return openRoot_; }
    // No output while found items are shown: they are out of their genres.
    void SetSearchMode(bool searching);

    void MM_ProjectOutputClick();
    void OpenRootPage();

public slots:
    // Opens the output dialog and starts the run at once.
    void RunOutput();

private:
    void OpenOutputDialog(bool startAtOnce);

    ItemListHost& host_;
    std::function<bool()> ensureRootDirectory_;
    QAction* output_;
    QAction* outputButton_;
    QAction* openRoot_;
};

} // namespace tessaly
