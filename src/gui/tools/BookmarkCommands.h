#pragma once

// The browsers' bookmarks: a bookmark file imported into the collection
// with readings suggested, and the collection exported as one.

#include <QObject>

class QAction;
class QMenu;

namespace tessaly {

class ItemListHost;

class BookmarkCommands final : public QObject {
    Q_OBJECT

public:
    BookmarkCommands(ItemListHost& host, QObject* parent);

    // Adds the entries to the File menu's import and export menus.
    void AddTo(QMenu* importMenu, QMenu* exportMenu);

    void MM_ImportBookmarksClick();
    void MM_ExportBookmarksClick();
    // The found items of a search are out of their genres: no export then.
    void SetSearchMode(bool searching);

private:
    ItemListHost& host_;
    QAction* import_;
    QAction* export_;
};

} // namespace tessaly
