#pragma once

// The browsers' bookmarks: a bookmark file imported into the collection
// with readings suggested, and the collection exported as one.

#include "gui/host/CommandSet.h"

class QAction;

namespace tessaly {

class BookmarkCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit BookmarkCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    void MM_ImportBookmarksClick();
    void MM_ExportBookmarksClick();

private:
    QAction* import_;
    QAction* export_;
};

} // namespace tessaly
