#pragma once

// A new item in the shown genre and the editor on the chosen item.

#include "gui/host/CommandSet.h"

namespace tessaly {

class TForm_LinkItem;

class ItemEditCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit ItemEditCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    void TB_ItemNewClick();
    void TB_ItemEditClick();

private:
    // The editor's browse and mail buttons, through the user's programs.
    void ConnectBrowser(TForm_LinkItem& dialog);

    QAction* newItem_;
    QAction* editItem_;
};

} // namespace tessaly
