#include "gui/items/ItemListViewCommands.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "gui/items/GridLineDelegate.h"
#include "gui/Icons.h"
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

} // namespace

ItemListViewCommands::ItemListViewCommands(
    QTreeView* view, GridLineDelegate* grid, std::function<void()> resort, QObject* parent)
    : QObject(parent)
    , view_(view)
    , grid_(grid)
    , resort_(std::move(resort))
    , sortPopup_(new QMenu(QStringLiteral("ソート条件(&C)"), view))
    , keyMenu_(new QMenu(QStringLiteral("ソート条件(&C)"), view))
    , sort_(Add("MM_Sort", QStringLiteral("リンクアイテムのソート(&S)"), false))
    , sortButton_(Add("TB_Sort", QStringLiteral("リンクアイテムのソート"), false))
    , menuUp_(Add("MM_SortUp", QStringLiteral("昇順(&U)"), true))
    , menuDown_(Add("MM_SortDown", QStringLiteral("降順(&D)"), true))
    , buttonUp_(Add("TB_SortUp", QStringLiteral("昇順"), true))
    , buttonDown_(Add("TB_SortDown", QStringLiteral("降順"), true))
    , menuKana_(Add("MM_SortKana", QStringLiteral("タイトル・作者名ソートでかなを使う(&K)"), true))
    , buttonKana_(Add("TB_SortKana", QStringLiteral("タイトル・作者名ソートでかなを使う"), true))
    , menuList_(Add("MM_ItemList", QStringLiteral("一覧(&L)"), true))
    , menuReport_(Add("MM_ItemReport", QStringLiteral("詳細(&R)"), true))
    , buttonList_(Add("TB_ItemList", QStringLiteral("一覧"), true))
    , buttonReport_(Add("TB_ItemReport", QStringLiteral("詳細"), true))
    , menuGrid_(Add("MM_ItemGridLines", QStringLiteral("グリッドを表示する(&G)"), true))
    , buttonGrid_(Add("TB_ItemGridLines", QStringLiteral("グリッドを表示する"), true))
{
    sortPopup_->setObjectName(QStringLiteral("PU_ItemSortOperate"));
    for (int key = 0; key < kColumns; ++key) {
        const QString caption = QString::fromUtf8(kKeyNames[key].second);
        for (auto [menu, prefix, entries] : {std::tuple{keyMenu_, "MM_", &menuKeys_},
                 std::tuple{sortPopup_, "PU_", &popupKeys_}}) {
            QAction* entry = Add((std::string(prefix) + kKeyNames[key].first).c_str(), caption, true);
            connect(entry, &QAction::triggered, this, [this, key] { SetSortKey(static_cast<ItemSortKey>(key)); });
            menu->addAction(entry);
            entries->push_back(entry);
        }
    }
    sort_->setShortcut(QKeySequence(Qt::Key_F5));
    sortButton_->setMenu(sortPopup_);
    sortButton_->setIcon(DrawnIcon(ProgramIcon::Sort));
    connect(sort_, &QAction::triggered, this, &ItemListViewCommands::Resort);
    connect(sortButton_, &QAction::triggered, this, [this] {
        view_->setFocus();
        Resort();
    });

    Bind(menuUp_, buttonUp_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U), ProgramIcon::SortUp,
        [this] { SetSortDirection(0); });
    Bind(menuDown_, buttonDown_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), ProgramIcon::SortDown,
        [this] { SetSortDirection(1); });
    Bind(menuKana_, buttonKana_, QKeySequence(Qt::CTRL | Qt::Key_K), ProgramIcon::SortKana,
        [this] { ToggleSortKana(); });
    Bind(menuList_, buttonList_, QKeySequence(Qt::CTRL | Qt::Key_L), ProgramIcon::ListView,
        [this] { ChangeViewStyle(2); });
    Bind(menuReport_, buttonReport_, QKeySequence(Qt::CTRL | Qt::Key_R), ProgramIcon::ReportView,
        [this] { ChangeViewStyle(3); });
    Bind(menuGrid_, buttonGrid_, QKeySequence(Qt::CTRL | Qt::Key_G), ProgramIcon::GridLines,
        [this] { ToggleGridLines(); });

    view_->header()->setSectionsClickable(true);
    view_->header()->setSortIndicatorShown(true);
    connect(view_->header(), &QHeaderView::sectionClicked, this, &ItemListViewCommands::HeaderClicked);
    ShowOrder();
    ShowStyle(false);
}

QAction* ItemListViewCommands::Add(const char* name, const QString& caption, bool checkable)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

void ItemListViewCommands::Bind(QAction* menuEntry, QAction* button, const QKeySequence& shortcut, ProgramIcon icon,
    const std::function<void()>& handler)
{
    menuEntry->setShortcut(shortcut);
    button->setIcon(DrawnIcon(icon));
    for (QAction* action : {menuEntry, button}) {
        connect(action, &QAction::triggered, this, handler);
    }
}

void ItemListViewCommands::AddToMenu(QMenu* menu)
{
    menu->addAction(sort_);
    menu->addMenu(keyMenu_);
    menu->addAction(menuUp_);
    menu->addAction(menuDown_);
    menu->addAction(menuKana_);
    menu->addSeparator();
    menu->addAction(menuList_);
    menu->addAction(menuReport_);
    menu->addAction(menuGrid_);
}

void ItemListViewCommands::AddToToolBar(QToolBar* tools)
{
    tools->addAction(sortButton_);
    if (auto* button = qobject_cast<QToolButton*>(tools->widgetForAction(sortButton_))) {
        button->setObjectName(QStringLiteral("TB_SortButton"));
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    for (QAction* action : {buttonUp_, buttonDown_, buttonKana_}) {
        tools->addAction(action);
    }
    tools->addSeparator();
    for (QAction* action : {buttonList_, buttonReport_, buttonGrid_}) {
        tools->addAction(action);
    }
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
