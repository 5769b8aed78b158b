// The main window's item list: its rows and selection, the states of the
// commands on them, the search mode's look, the keys and the focus.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelection>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QTreeView>

#include "core/collection/ItemListSort.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/GenreListWidget.h"
#include "gui/ItemListModel.h"
#include "gui/MainPanes.h"
#include "gui/clipboard/ItemClipboardCommands.h"
#include "gui/collection/CollectionCommands.h"
#include "gui/host/CommandSet.h"
#include "gui/items/ItemEditCommands.h"
#include "gui/items/ItemListViewCommands.h"
#include "gui/main/dlgMain.h"

namespace tessaly {

ItemListState TForm_Main::CurrentItemListState() const
{
    ItemListState state;
    state.focused = itemView_->hasFocus();
    state.rows = itemModel_->rowCount();
    state.selected = SelectedRows().size();
    state.searchMode = shown_.SearchMode();
    state.clipboardHasText = clipboard_->ClipboardHasText();
    return state;
}

void TForm_Main::UpdateItemCommandStates()
{
    const ItemListState state = CurrentItemListState();
    selectAllAction_->setEnabled(state.focused && state.rows >= 1);
    if (state.focused) {
        deleteAction_->setEnabled(state.selected >= 1);
    }
    for (CommandSet* set : commandSets_) {
        set->UpdateStates(state);
    }
}

void TForm_Main::MM_DeleteClick()
{
    RunCommand(QStringLiteral("削除"), [this] { DeleteFocused(); });
}

void TForm_Main::DeleteFocused()
{
    QWidget* focus = focusWidget();
    if (focus == genreList_) {
        collection_->TB_GenreEraseClick();
    } else if (focus == itemView_) {
        clipboard_->TB_ItemEraseClick();
    } else if (focus == attributeList_) {
        collection_->TagEraseClick(Vocabulary::Attributes);
    } else if (focus == contentList_) {
        collection_->TagEraseClick(Vocabulary::Contents);
    }
}

void TForm_Main::SelectRows(const std::vector<std::size_t>& rows)
{
    QItemSelection selection;
    for (const std::size_t row : rows) {
        const QModelIndex index = itemModel_->index(static_cast<int>(row), 0);
        selection.select(index, index);
    }
    itemView_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!rows.empty()) {
        itemView_->selectionModel()->setCurrentIndex(
            itemModel_->index(static_cast<int>(rows.back()), 0), QItemSelectionModel::NoUpdate);
    }
}

void TForm_Main::RowsReplaced(const std::vector<std::size_t>& selected)
{
    itemModel_->Reset();
    SelectRows(selected);
    UpdateItemCommandStates();
    UpdateCounts();
}

void TForm_Main::RowsChanged(const std::vector<std::size_t>& rows)
{
    for (const std::size_t row : rows) {
        emit itemModel_->dataChanged(
            itemModel_->index(static_cast<int>(row), 0), itemModel_->index(static_cast<int>(row), 6));
    }
    collection_->ShowTagsOfSelection();
}

void TForm_Main::ShowGenreAgain()
{
    collection_->ShowVocabulary(Vocabulary::Attributes);
    collection_->ShowVocabulary(Vocabulary::Contents);
    ShowGenre(static_cast<int>(shown_.SelectedGenre()));
}

void TForm_Main::ShowCollectionAgain(std::size_t genre)
{
    shown_.SelectGenre(genre);
    RefreshPanes();
}

void TForm_Main::SearchModeChanged(const QString& title, bool keepOrder)
{
    const bool searching = shown_.SearchMode();
    panes_->SetItemTitle(searching ? QStringLiteral("リンクアイテム [検索モード] : %1").arg(title)
                                      : QStringLiteral("リンクアイテム"));
    // The genre list still takes dropped rows: a found item may be filed anew.
    genreList_->SetLocked(searching);
    for (QAction* file : fileActions_) {
        file->setEnabled(!searching);
    }
    importMenu_->setEnabled(!searching);
    if (searching) {
        panes_->ShowTrashNotice(false);
        itemModel_->Reset();
        if (!keepOrder) {
            SortRows();
        }
    } else {
        ShowGenre(static_cast<int>(shown_.SelectedGenre()));
        edits_.SearchModeEnded(); // the found items are back in their genres
    }
    UpdateCommandStates();
    UpdateItemCommandStates();
    itemView_->setFocus();
    UpdateCounts();
}

void TForm_Main::TB_ItemNewClick()
{
    itemEdit_->TB_ItemNewClick();
}

void TForm_Main::MoveSelectedItemsTo(int genreIndex)
{
    collection_->MoveSelectedItemsTo(genreIndex);
}

std::vector<std::size_t> TForm_Main::SelectedRows() const
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : itemView_->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == itemView_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            RunCommand(QStringLiteral("アイテム編集"), [this] { itemEdit_->TB_ItemEditClick(); });
            return true;
        }
        if (key->key() == Qt::Key_V && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
            viewCommands_->ChangeViewStyle(viewCommands_->ListStyle() ? 3 : 2);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm_Main::OnFocusChanged(QWidget* old, QWidget* now)
{
    // Leaving the item pane writes its rows back into the genre.
    if (old != nullptr && panes_->ItemPane()->isAncestorOf(old) && (now == nullptr || !panes_->ItemPane()->isAncestorOf(now))) {
        shown_.FlushGenre();
        textPanel_->clear();
    }
    // Paste and select-all depend on the focus, also in an empty list. A
    // menu opened from the keyboard takes the focus only to give it back:
    // its commands must stay as the list left them.
    const bool toMenu = now == nullptr || qobject_cast<QMenuBar*>(now) != nullptr || qobject_cast<QMenu*>(now) != nullptr;
    if ((old == itemView_ || now == itemView_) && !toMenu) {
        UpdateItemCommandStates();
    }
    panes_->ShowFocus(now);
    UpdateCounts();
}

} // namespace tessaly
