#pragma once

// The order and the look of the item list: the sort key, direction and kana
// commands, the list and report styles and the grid lines. Each command is
// in the menu, on the tool bar and (the sort keys) in the list's popup, and
// every copy shows the same state.

#include "gui/host/CommandSet.h"

#include <functional>
#include <vector>

#include "core/collection/ItemListSort.h"

class QAction;
class QMenu;
class QTreeView;

namespace tessaly {

class GridLineDelegate;
struct MainWindowSettings;

class ItemListViewCommands final : public CommandSet {
    Q_OBJECT

public:
    // resort puts the rows in the current order and shows them.
    ItemListViewCommands(ItemListHost& host, std::function<void()> resort);

    // "リンクアイテムのソート", the sort keys, direction, kana, styles, grid
    // lines; the sort keys again in the list's pop-up and on the sort button.
    void Contribute(MenuLayout& layout) override;

    const ItemListOrder& Order() const { return order_; }
    bool ListStyle() const;
    bool GridLines() const;

    void Apply(const MainWindowSettings& window);
    void Store(MainWindowSettings& window) const;

    void SetSortKey(ItemSortKey key);
    void SetSortDirection(int direction);
    void ToggleSortKana();
    // A click on column header i: the same key reverses, another keeps the direction.
    void HeaderClicked(int column);
    // 2 shows the titles only; any other style every column.
    void ChangeViewStyle(int style);
    void ToggleGridLines();

private:
    void ShowOrder();
    void ShowStyle(bool list);
    void ShowGridLines(bool on);
    void Resort();

    QTreeView* view_;
    GridLineDelegate* grid_;
    std::function<void()> resort_;
    ItemListOrder order_;
    bool gridLines_ = false;
    QMenu* sortPopup_;
    QMenu* keyMenu_;
    QAction* sort_;
    QAction* sortButton_;
    std::vector<QAction*> menuKeys_;
    std::vector<QAction*> popupKeys_;
    QAction* menuUp_;
    QAction* menuDown_;
    QAction* buttonUp_;
    QAction* buttonDown_;
    QAction* menuKana_;
    QAction* buttonKana_;
    QAction* menuList_;
    QAction* menuReport_;
    QAction* buttonList_;
    QAction* buttonReport_;
    QAction* menuGrid_;
    QAction* buttonGrid_;
};

} // namespace tessaly
