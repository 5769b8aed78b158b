// The main window's item list commands: new and edit, sorting, view style.

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeView>

#include "GenreListWidget.h"
#include "ItemListModel.h"
#include "collection/LinkItem.h"
#include "dlgLinkItem.h"
#include "dlgMain.h"
#include "settings/ExternalPrograms.h"
#include "text/DateTime.h"

namespace tessaly {

void TForm_Main::BuildItemMenu()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("アイテム(&I)"));
    QToolBar* tools = addToolBar(QStringLiteral("アイテム"));
    tools->setObjectName(QStringLiteral("ToolBar_Item"));
    const auto action = [this](const char* name, const QString& caption, const QKeySequence& shortcut) {
        auto* created = new QAction(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setShortcut(shortcut);
        return created;
    };
    QAction* newItem
        = action("TB_ItemNew", QStringLiteral("新規アイテム(&N)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    newItem->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    connect(newItem, &QAction::triggered, this, &TForm_Main::TB_ItemNewClick);
    QAction* edit = action("TB_ItemEdit", QStringLiteral("アイテム編集(&E)"), QKeySequence());
    edit->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    connect(edit, &QAction::triggered, this, &TForm_Main::TB_ItemEditClick);
    menu->addAction(newItem);
    menu->addAction(edit);
    tools->addAction(newItem);
    tools->addAction(edit);
    menu->addSeparator();

    QAction* sort = action("MM_Sort", QStringLiteral("リンクアイテムのソート(&S)"), QKeySequence(Qt::Key_F5));
    connect(sort, &QAction::triggered, this, [this] { SortRows(); });
    menu->addAction(sort);
    QMenu* keys = menu->addMenu(QStringLiteral("ソート条件(&C)"));
    const std::pair<const char*, QString> keyNames[] = {{"MM_SortTitle", QStringLiteral("タイトル(&T)")},
        {"MM_SortAuthor", QStringLiteral("作者名(&A)")}, {"MM_SortMail", QStringLiteral("メール(&M)")},
        {"MM_SortPage", QStringLiteral("ページURL(&P)")}, {"MM_SortBanner", QStringLiteral("バナーURL(&B)")},
        {"MM_SortDate", QStringLiteral("日付(&D)")}, {"MM_SortSerial", QStringLiteral("シリアル(&S)")}};
    auto* keyGroup = new QActionGroup(this);
    for (int key = 0; key < 7; ++key) {
        QAction* entry = action(keyNames[key].first, keyNames[key].second, QKeySequence());
        entry->setCheckable(true);
        keyGroup->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, key] { SetSortKey(static_cast<ItemSortKey>(key)); });
        keys->addAction(entry);
        sortKeyActions_.push_back(entry);
    }
    auto* directionGroup = new QActionGroup(this);
    sortUpAction_ = action("MM_SortUp", QStringLiteral("昇順(&U)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    sortDownAction_ = action("MM_SortDown", QStringLiteral("降順(&D)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    sortUpAction_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    sortDownAction_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    for (QAction* direction : {sortUpAction_, sortDownAction_}) {
        direction->setCheckable(true);
        directionGroup->addAction(direction);
        menu->addAction(direction);
        tools->addAction(direction);
    }
    connect(sortUpAction_, &QAction::triggered, this, [this] { SetSortDirection(0); });
    connect(sortDownAction_, &QAction::triggered, this, [this] { SetSortDirection(1); });
    sortKanaAction_ = action(
        "MM_SortKana", QStringLiteral("タイトル・作者名ソートでかなを使う(&K)"), QKeySequence(Qt::CTRL | Qt::Key_K));
    sortKanaAction_->setCheckable(true);
    connect(sortKanaAction_, &QAction::triggered, this, &TForm_Main::TB_SortKanaClick);
    menu->addAction(sortKanaAction_);
    menu->addSeparator();

    auto* styleGroup = new QActionGroup(this);
    listStyleAction_ = action("MM_ItemList", QStringLiteral("一覧(&L)"), QKeySequence(Qt::CTRL | Qt::Key_L));
    reportStyleAction_ = action("MM_ItemReport", QStringLiteral("詳細(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    for (QAction* styleAction : {listStyleAction_, reportStyleAction_}) {
        styleAction->setCheckable(true);
        styleGroup->addAction(styleAction);
        menu->addAction(styleAction);
    }
    connect(listStyleAction_, &QAction::triggered, this, [this] { ChangeViewStyle(2); });
    connect(reportStyleAction_, &QAction::triggered, this, [this] { ChangeViewStyle(3); });
    gridLinesAction_
        = action("MM_ItemGridLines", QStringLiteral("グリッドを表示する(&G)"), QKeySequence(Qt::CTRL | Qt::Key_G));
    gridLinesAction_->setCheckable(true);
    connect(gridLinesAction_, &QAction::triggered, this, [this] {
        gridLinesAction_->setChecked(!gridLinesAction_->isChecked()); // the handler toggles
        TB_ItemGridLinesClick();
    });
    menu->addAction(gridLinesAction_);

    auto* selectAll = action("MM_SelectAll", QStringLiteral("全て選択(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    selectAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(selectAll, &QAction::triggered, itemView_, &QTreeView::selectAll);
    itemView_->addAction(selectAll);
    menu->addSeparator();
    menu->addAction(selectAll);

    // The list's popup, enabled by the selection when it opens.
    itemView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(itemView_, &QWidget::customContextMenuRequested, this,
        [this, newItem, edit, keys, selectAll](const QPoint& at) {
            const std::size_t selected = SelectedRows().size();
            QMenu popup(this);
            popup.setObjectName(QStringLiteral("PU_ItemOperate"));
            popup.addAction(newItem);
            popup.addAction(edit);
            newItem->setEnabled(!shown_.SearchMode());
            edit->setEnabled(selected == 1);
            popup.addSeparator();
            popup.addMenu(keys);
            popup.addSeparator();
            popup.addAction(selectAll);
            selectAll->setEnabled(itemModel_->rowCount() >= 1);
            popup.exec(itemView_->viewport()->mapToGlobal(at));
        });

    connect(itemView_, &QTreeView::doubleClicked, this, [this] {
        const std::vector<std::size_t> rows = SelectedRows();
        if (settings_.doubleClick == 0) {
            TB_ItemEditClick();
        } else if (settings_.doubleClick == 1 && rows.size() == 1) {
            OpenUrl(services_.shell, settings_.browser, "http://" + shown_.Rows()[rows.front()].Url);
        }
    });
    for (QWidget* list : {static_cast<QWidget*>(itemView_), static_cast<QWidget*>(genreList_),
             static_cast<QWidget*>(attributeList_), static_cast<QWidget*>(contentList_)}) {
        list->installEventFilter(this);
    }
}

void TForm_Main::ConnectBrowser(TForm_LinkItem& dialog)
{
    dialog.openUrl = [this](const std::string& url) { OpenUrl(services_.shell, settings_.browser, url); };
    dialog.mailTo = [this](const std::string& address) { MailTo(services_.shell, address); };
}

void TForm_Main::UpdateItemCommandStates()
{
    const int rows = itemModel_->rowCount();
    const std::size_t selected = SelectedRows().size();
    const auto enable = [this](const char* name, bool on) {
        if (QAction* action = findChild<QAction*>(QString::fromLatin1(name))) {
            action->setEnabled(on);
        }
    };
    enable("TB_ItemNew", !shown_.SearchMode());
    enable("TB_ItemEdit", rows >= 1 && selected == 1);
}

void TForm_Main::TB_ItemNewClick()
{
    if (shown_.SearchMode()) {
        return;
    }
    itemView_->setFocus();
    const std::size_t genre = shown_.SelectedGenre();
    const std::string genreName = genre == 0 ? std::string()
        : genre == project_.TrashIndex()     ? std::string(kTrashGenreMark)
                                             : project_.Genres[genre].Name;
    TForm_LinkItem dialog(services_.messages, project_.Attributes, project_.Contents, services_.clock.Today(), this);
    ConnectBrowser(dialog);
    dialog.setWindowTitle(QStringLiteral("新規アイテム"));
    dialog.SetLinkItem(NewLinkItem(services_.clock, genreName));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::size_t row = shown_.AddItemRecord(dialog.LinkItem());
    itemModel_->Reset();
    const QModelIndex index = itemModel_->index(static_cast<int>(row), 0);
    itemView_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    itemView_->setCurrentIndex(index);
    itemView_->scrollToBottom();
    SetIsEditing(true);
}

void TForm_Main::TB_ItemEditClick()
{
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty() || rows.front() >= shown_.Rows().size()) {
        return;
    }
    TLinkItem& record = shown_.Rows()[rows.front()];
    TForm_LinkItem dialog(services_.messages, project_.Attributes, project_.Contents, services_.clock.Today(), this);
    ConnectBrowser(dialog);
    dialog.SetLinkItem(record);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    record = dialog.LinkItem();
    const int row = static_cast<int>(rows.front());
    emit itemModel_->dataChanged(itemModel_->index(row, 0), itemModel_->index(row, 6));
    ShowTagsOfSelection();
    SetIsEditing(true);
}

void TForm_Main::SetSortKey(ItemSortKey key)
{
    itemView_->setFocus();
    order_.sortBy = key;
    UpdateSortChecks();
    SortRows();
}

void TForm_Main::SetSortDirection(int direction)
{
    itemView_->setFocus();
    order_.sortDir = direction;
    UpdateSortChecks();
    SortRows();
}

void TForm_Main::TB_SortKanaClick()
{
    itemView_->setFocus();
    order_.sortKana = !order_.sortKana;
    UpdateSortChecks();
    SortRows();
}

void TForm_Main::UpdateSortChecks()
{
    const auto key = static_cast<std::size_t>(order_.sortBy);
    if (key < sortKeyActions_.size()) {
        sortKeyActions_[key]->setChecked(true);
    }
    (order_.sortDir == 1 ? sortDownAction_ : sortUpAction_)->setChecked(true);
    sortKanaAction_->setChecked(order_.sortKana);
}

void TForm_Main::ChangeViewStyle(int viewStyle)
{
    // Style 2 shows the titles only; 3 shows every column.
    const bool list = viewStyle == 2;
    for (int column = 1; column < 7; ++column) {
        itemView_->setColumnHidden(column, list);
    }
    itemView_->setHeaderHidden(list);
    (list ? listStyleAction_ : reportStyleAction_)->setChecked(true);
}

void TForm_Main::TB_ItemGridLinesClick()
{
    const bool on = !gridLinesAction_->isChecked();
    gridLinesAction_->setChecked(on);
    itemView_->setStyleSheet(on ? QStringLiteral("QTreeView::item { border-right: 1px solid palette(mid); "
                                                 "border-bottom: 1px solid palette(mid); }")
                                : QString());
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        // A click on a pane's title bar moves the focus to its control.
        for (const auto& [control, label] : paneTitles_) {
            if (watched == static_cast<QObject*>(label)) {
                control->setFocus(Qt::MouseFocusReason);
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress
        && (watched == genreList_ || watched == attributeList_ || watched == contentList_)) {
        // The keys of the three vocabulary lists: new, up, down, rename.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlShift = key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
        const QString prefix = watched == genreList_ ? QStringLiteral("TB_Genre")
            : watched == attributeList_              ? QStringLiteral("TB_Attr1")
                                                     : QStringLiteral("TB_Attr2");
        QString command;
        if (ctrlShift && key->key() == Qt::Key_A) {
            command = QStringLiteral("New");
        } else if (ctrlShift && key->key() == Qt::Key_Up) {
            command = QStringLiteral("Up");
        } else if (ctrlShift && key->key() == Qt::Key_Down) {
            command = QStringLiteral("Down");
        } else if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && key->modifiers() == Qt::NoModifier) {
            command = QStringLiteral("Edit");
        }
        if (!command.isEmpty()) {
            if (QAction* action = findChild<QAction*>(prefix + command); action != nullptr && action->isEnabled()) {
                action->trigger();
            }
            return true;
        }
    }
    if (watched == itemView_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            TB_ItemEditClick();
            return true;
        }
        if (key->key() == Qt::Key_V && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
            ChangeViewStyle(listStyleAction_->isChecked() ? 3 : 2);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tessaly
