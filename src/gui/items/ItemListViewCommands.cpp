#include "gui/items/ItemListViewCommands.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "gui/items/GridLineDelegate.h"
#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MenuLayout.h"
#include "core/settings/AppSettings.h"

namespace tessaly {

namespace {

constexpr int kColumns = 7;

const std::pair<const char*, const char*> kKeyNames[kColumns] = {
    {"SortTitle", "タイトル(&T)"},
    {"SortAuthor", "作者名(&A)"},
    {"SortMail", "メール(&M)"},
    {"SortPage", "ページURL(&P)"},
    {"SortBanner", "バナーURL(&B)"},
    {"SortDate", "日付(&D)"},
    {"SortSerial", "シリアル(&S)"},
};

QAction* Checkable(QAction* action)
{
    action->setCheckable(true);
    return action;
}

} // namespace

ItemListViewCommands::ItemListViewCommands(ItemListHost& host, std::function<void()> resort)
    : CommandSet(host)
    , view_(host.ItemView())
    , grid_(new GridLineDelegate(view_))
    , resort_(std::move(resort))
    , sortPopup_(new QMenu(QStringLiteral("ソート条件(&C)"), view_))
    , keyMenu_(new QMenu(QStringLiteral("ソート条件(&C)"), view_))
    , sort_(MakeAction("MM_Sort", QStringLiteral("リンクアイテムのソート(&S)"), [this] { Resort(); }, Qt::Key_F5))
    , sortButton_(MakeAction("TB_Sort", QStringLiteral("リンクアイテムのソート"),
          [this] {
              view_->setFocus();
              Resort();
          },
          {}, DrawnIcon(ProgramIcon::Sort)))
    , menuUp_(Checkable(MakeAction("MM_SortUp", QStringLiteral("昇順(&U)"), [this] { SetSortDirection(0); },
          Qt::CTRL | Qt::SHIFT | Qt::Key_U)))
    , menuDown_(Checkable(MakeAction("MM_SortDown", QStringLiteral("降順(&D)"), [this] { SetSortDirection(1); },
          Qt::CTRL | Qt::SHIFT | Qt::Key_L)))
    , buttonUp_(Checkable(MakeAction("TB_SortUp", QStringLiteral("昇順"), [this] { SetSortDirection(0); }, {},
          DrawnIcon(ProgramIcon::SortUp))))
    , buttonDown_(Checkable(MakeAction("TB_SortDown", QStringLiteral("降順"), [this] { SetSortDirection(1); }, {},
          DrawnIcon(ProgramIcon::SortDown))))
    , menuKana_(Checkable(MakeAction("MM_SortKana", QStringLiteral("タイトル・作者名ソートでかなを使う(&K)"),
          [this] { ToggleSortKana(); }, Qt::CTRL | Qt::Key_K)))
    , buttonKana_(Checkable(MakeAction("TB_SortKana", QStringLiteral("タイトル・作者名ソートでかなを使う"),
          [this] { ToggleSortKana(); }, {}, DrawnIcon(ProgramIcon::SortKana))))
    , menuList_(Checkable(
          MakeAction("MM_ItemList", QStringLiteral("一覧(&L)"), [this] { ChangeViewStyle(2); }, Qt::CTRL | Qt::Key_L)))
    , menuReport_(Checkable(MakeAction(
          "MM_ItemReport", QStringLiteral("詳細(&R)"), [this] { ChangeViewStyle(3); }, Qt::CTRL | Qt::Key_R)))
    , buttonList_(Checkable(MakeAction(
          "TB_ItemList", QStringLiteral("一覧"), [this] { ChangeViewStyle(2); }, {}, DrawnIcon(ProgramIcon::ListView))))
    , buttonReport_(Checkable(MakeAction("TB_ItemReport", QStringLiteral("詳細"), [this] { ChangeViewStyle(3); }, {},
          DrawnIcon(ProgramIcon::ReportView))))
    , menuGrid_(Checkable(MakeAction("MM_ItemGridLines", QStringLiteral("グリッドを表示する(&G)"),
          [this] { ToggleGridLines(); }, Qt::CTRL | Qt::Key_G)))
    , buttonGrid_(Checkable(MakeAction("TB_ItemGridLines", QStringLiteral("グリッドを表示する"),
          [this] { ToggleGridLines(); }, {}, DrawnIcon(ProgramIcon::GridLines))))
{
    view_->setItemDelegate(grid_);
    sortPopup_->setObjectName(QStringLiteral("PU_ItemSortOperate"));
    for (int key = 0; key < kColumns; ++key) {
        const QString caption = QString::fromUtf8(kKeyNames[key].second);
        for (auto [menu, prefix, entries] : {std::tuple{keyMenu_, "MM_", &menuKeys_},
                 std::tuple{sortPopup_, "PU_", &popupKeys_}}) {
            QAction* entry = Checkable(MakeAction((std::string(prefix) + kKeyNames[key].first).c_str(), caption,
                [this, key] { SetSortKey(static_cast<ItemSortKey>(key)); }));
            menu->addAction(entry);
            entries->push_back(entry);
        }
    }
    sortButton_->setMenu(sortPopup_);
    view_->header()->setSectionsClickable(true);
    view_->header()->setSortIndicatorShown(true);
    connect(view_->header(), &QHeaderView::sectionClicked, this, &ItemListViewCommands::HeaderClicked);
    ShowOrder();
    ShowStyle(false);
}

void ItemListViewCommands::Contribute(MenuLayout& layout)
{
    for (QAction* action : {sort_, keyMenu_->menuAction(), menuUp_, menuDown_, menuKana_}) {
        layout.Add(MenuPlace::ItemView, action);
    }
    layout.AddSeparator(MenuPlace::ItemView);
    for (QAction* action : {menuList_, menuReport_, menuGrid_}) {
        layout.Add(MenuPlace::ItemView, action);
    }
    layout.Add(MenuPlace::ItemViewToolBar, sortButton_);
    if (auto* tools = qobject_cast<QToolBar*>(layout.Container(MenuPlace::ItemViewToolBar))) {
        if (auto* button = qobject_cast<QToolButton*>(tools->widgetForAction(sortButton_))) {
            button->setObjectName(QStringLiteral("TB_SortButton"));
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
    for (QAction* action : {buttonUp_, buttonDown_, buttonKana_}) {
        layout.Add(MenuPlace::ItemViewToolBar, action);
    }
    layout.AddSeparator(MenuPlace::ItemViewToolBar);
    for (QAction* action : {buttonList_, buttonReport_, buttonGrid_}) {
        layout.Add(MenuPlace::ItemViewToolBar, action);
    }
    layout.AddMenu(MenuPlace::ItemPopupView, sortPopup_);
}

bool ItemListViewCommands::ListStyle() const
{
    return menuList_->isChecked();
}

bool ItemListViewCommands::GridLines() const
{
    return gridLines_;
}

void ItemListViewCommands::Apply(const MainWindowSettings& window)
{
    order_ = {static_cast<ItemSortKey>(std::clamp(window.sortBy, 0, kColumns - 1)), window.sortDir == 1 ? 1 : 0,
        window.sortKana};
    ShowOrder();
    if (window.viewStyle == 2 || window.viewStyle == 3) {
        ShowStyle(window.viewStyle == 2);
    }
    if (window.gridLines) {
        ShowGridLines(true);
    }
}

void ItemListViewCommands::Store(MainWindowSettings& window) const
{
    window.sortBy = static_cast<int32_t>(order_.sortBy);
    window.sortDir = order_.sortDir;
    window.sortKana = order_.sortKana;
    window.viewStyle = ListStyle() ? 2 : 3;
    window.gridLines = GridLines();
}

void ItemListViewCommands::SetSortKey(ItemSortKey key)
{
    view_->setFocus();
    order_.sortBy = key;
    Resort();
}

void ItemListViewCommands::SetSortDirection(int direction)
{
    view_->setFocus();
    order_.sortDir = direction;
    Resort();
}

void ItemListViewCommands::ToggleSortKana()
{
    view_->setFocus();
    order_.sortKana = !order_.sortKana;
    Resort();
}

void ItemListViewCommands::HeaderClicked(int column)
{
    if (column < 0 || column >= kColumns) {
        return;
    }
    const auto key = static_cast<ItemSortKey>(column);
    if (key == order_.sortBy) {
        order_.sortDir = 1 - order_.sortDir;
    } else {
        order_.sortBy = key;
    }
    Resort();
}

void ItemListViewCommands::Resort()
{
    ShowOrder();
    resort_();
}

void ItemListViewCommands::ShowOrder()
{
    const auto key = static_cast<std::size_t>(order_.sortBy);
    for (const std::vector<QAction*>* entries : {&menuKeys_, &popupKeys_}) {
        for (std::size_t i = 0; i < entries->size(); ++i) {
            (*entries)[i]->setChecked(i == key);
        }
    }
    const bool down = order_.sortDir == 1;
    menuUp_->setChecked(!down);
    buttonUp_->setChecked(!down);
    menuDown_->setChecked(down);
    buttonDown_->setChecked(down);
    menuKana_->setChecked(order_.sortKana);
    buttonKana_->setChecked(order_.sortKana);
    view_->header()->setSortIndicator(static_cast<int>(key), down ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ItemListViewCommands::ChangeViewStyle(int style)
{
    view_->setFocus();
    ShowStyle(style == 2);
}

void ItemListViewCommands::ShowStyle(bool list)
{
    for (int column = 1; column < kColumns; ++column) {
        view_->setColumnHidden(column, list);
    }
    view_->setHeaderHidden(list);
    menuList_->setChecked(list);
    buttonList_->setChecked(list);
    menuReport_->setChecked(!list);
    buttonReport_->setChecked(!list);
    // Grid lines belong to the report; the menu entry still sets them.
    buttonGrid_->setEnabled(!list);
    grid_->SetGridLines(GridLines() && !list);
    view_->viewport()->update();
}

void ItemListViewCommands::ToggleGridLines()
{
    view_->setFocus();
    ShowGridLines(!GridLines());
}

void ItemListViewCommands::ShowGridLines(bool on)
{
    // Kept as a setting in either style, drawn in the report only.
    gridLines_ = on;
    grid_->SetGridLines(on && !ListStyle());
    menuGrid_->setChecked(on);
    buttonGrid_->setChecked(on);
    view_->viewport()->update();
}

} // namespace tessaly
