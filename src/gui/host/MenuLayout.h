#pragma once

// The named places of the menus, tool bars and pop-ups where command sets
// put their actions. The window makes every place once, in the order the
// user sees; a command set only names the place.

#include <algorithm>
#include <initializer_list>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace tessaly {

enum class MenuPlace {
    FileImport,      // ファイル > インポート
    FileExport,      // ファイル > エクスポート
    EditHistory,     // 編集, first: undo and redo
    Edit,            // 編集: cut, copy and paste
    EditMarks,       // 編集, below the selection: marks of the chosen items
    Item,            // アイテム: commands on one item
    ItemView,        // アイテム, below: order and look of the list
    Search,          // 検索
    Project,         // プロジェクト: designs and templates
    ProjectOutput,   // プロジェクト: the pages
    ProjectOptions,  // プロジェクト, last
    Tools,           // ツール: tools over the collection
    ToolsSearchSite, // ツール: the search site's files
    ToolsSite,       // ツール: the published site and the desktop
    Help,            // ヘルプ
    HistoryToolBar,  // the item tool bar, first: undo and redo
    ItemToolBar,     // the item tool bar
    ItemViewToolBar, // the item tool bar, after its separator
    SearchToolBar,
    ProjectToolBar,
    ItemPopup,      // the item list's pop-up: commands on the chosen items
    ItemPopupMarks, // the pop-up: marks, browser and mail
    ItemPopupView,  // the pop-up: order
    GenreToolBar,   // the tool bars of the three vocabulary panes
    AttributeToolBar,
    ContentToolBar,
};

class MenuLayout {
public:
    // The window's own entries, in order, with the places between them.
    void Place(MenuPlace place, QWidget* container);
    void Fixed(QWidget* container, QAction* action);
    void FixedSeparator(QWidget* container);
    // Places one after another, a separator between each two.
    void Places(QWidget* container, std::initializer_list<MenuPlace> places);

    // What command sets contribute: at the end of the place, before
    // whatever the window put after it.
    void Add(MenuPlace place, QAction* action);
    void AddMenu(MenuPlace place, QMenu* menu);
    void AddSeparator(MenuPlace place);
    // The menu or tool bar that holds the place.
    QWidget* Container(MenuPlace place) const { return containerOf_.at(place); }

private:
    struct Entry {
        bool isPlace = false;
        MenuPlace place{};
        std::vector<QAction*> actions;
    };
    std::map<QWidget*, std::vector<Entry>> containers_;
    std::map<MenuPlace, QWidget*> containerOf_;
};

} // namespace tessaly
