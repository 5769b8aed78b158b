// The main window's item list commands: new and edit, sorting, view style.

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

#include "gui/tools/BookmarkCommands.h"
#include "gui/tools/BulkToolCommands.h"
#include "gui/design/DesignCommands.h"
#include "gui/tools/ExchangeCommands.h"
#include "gui/GenreListWidget.h"
#include "gui/Icons.h"
#include "gui/clipboard/ItemClipboardCommands.h"
#include "gui/publish/PublishCommands.h"
#include "gui/searchsite/SearchSiteCommands.h"
#include "gui/items/ItemListViewCommands.h"
#include "gui/items/ItemMarkCommands.h"
#include "gui/search/SearchCommands.h"
#include "gui/ItemListModel.h"
#include "core/collection/ItemClipboard.h"
#include "core/collection/LinkItem.h"
#include "gui/items/dlgLinkItem.h"
#include "gui/main/dlgMain.h"
#include "core/settings/ExternalPrograms.h"
#include "core/text/DateTime.h"
#include "core/text/Url.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

// The command a key runs in the genre, attribute and content lists.
QString VocabularyListCommand(const QKeyEvent& key)
{
    const bool ctrlShift = key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    if (ctrlShift && key.key() == Qt::Key_A) {
        return QStringLiteral("New");
    }
    if (ctrlShift && key.key() == Qt::Key_Up) {
        return QStringLiteral("Up");
    }
    if (ctrlShift && key.key() == Qt::Key_Down) {
        return QStringLiteral("Down");
    }
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && key.modifiers() == Qt::NoModifier) {
        return QStringLiteral("Edit");
    }
    return {};
}

} // namespace

void TForm_Main::BuildItemMenu()
{
    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    QMenu* menu = menuBar()->addMenu(QStringLiteral("アイテム(&I)"));
    QMenu* searchMenu = menuBar()->addMenu(QStringLiteral("検索(&S)"));
    QToolBar* tools = addToolBar(QStringLiteral("アイテム"));
    tools->setObjectName(QStringLiteral("ToolBar_Item"));
    const auto action = [this](const char* name, const QString& caption, const QKeySequence& shortcut) {
        auto* created = new QAction(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setShortcut(shortcut);
        return created;
    };
    clipboard_ = new ItemClipboardCommands(*this, QApplication::clipboard(), this);
    marks_ = new ItemMarkCommands(*this, this);
    search_ = new SearchCommands(*this, this);
    viewCommands_ = new ItemListViewCommands(itemView_, gridLines_, [this] { SortRows(); }, this);

    clipboard_->AddToMenu(editMenu);
    deleteAction_ = action("MM_Delete", QStringLiteral("削除(&D)"), QKeySequence(Qt::Key_Delete));
    connect(deleteAction_, &QAction::triggered, this, &TForm_Main::MM_DeleteClick);
    editMenu->addAction(deleteAction_);
    editMenu->addSeparator();
    selectAllAction_ = action("MM_SelectAll", QStringLiteral("全て選択(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selectAllAction_, &QAction::triggered, itemView_, &QTreeView::selectAll);
    editMenu->addAction(selectAllAction_);
    editMenu->addSeparator();
    marks_->AddToEditMenu(editMenu);

    newItemAction_
        = action("TB_ItemNew", QStringLiteral("新規アイテム(&N)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    newItemAction_->setIcon(DrawnIcon(ProgramIcon::NewItem));
    connect(newItemAction_, &QAction::triggered, this, &TForm_Main::TB_ItemNewClick);
    editItemAction_ = action("TB_ItemEdit", QStringLiteral("アイテム編集(&E)"), QKeySequence());
    editItemAction_->setIcon(DrawnIcon(ProgramIcon::EditItem));
    connect(editItemAction_, &QAction::triggered, this, &TForm_Main::TB_ItemEditClick);
    menu->addAction(newItemAction_);
    menu->addAction(editItemAction_);
    marks_->AddToItemMenu(menu);
    menu->addSeparator();
    viewCommands_->AddToMenu(menu);
    search_->AddToMenu(searchMenu);

    tools->addAction(newItemAction_);
    tools->addAction(editItemAction_);
    clipboard_->AddToToolBar(tools);
    marks_->AddToToolBar(tools);
    tools->addSeparator();
    viewCommands_->AddToToolBar(tools);
    QToolBar* searchTools = addToolBar(QStringLiteral("検索"));
    searchTools->setObjectName(QStringLiteral("ToolBar_Search"));
    search_->AddToToolBar(searchTools);

    // The list's popup, enabled by the selection when it opens.
    itemView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(itemView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const ItemListState state = CurrentItemListState();
        QMenu popup(this);
        popup.setObjectName(QStringLiteral("PU_ItemOperate"));
        popup.addAction(newItemAction_);
        popup.addAction(editItemAction_);
        newItemAction_->setEnabled(!state.searchMode);
        editItemAction_->setEnabled(state.selected == 1);
        clipboard_->AddToPopup(&popup);
        popup.addSeparator();
        marks_->AddToPopup(&popup);
        popup.addSeparator();
        popup.addMenu(viewCommands_->SortPopup());
        popup.addSeparator();
        popup.addAction(selectAllAction_);
        clipboard_->UpdatePopupStates(state);
        marks_->UpdatePopupStates(state);
        selectAllAction_->setEnabled(state.rows >= 1);
        popup.exec(itemView_->viewport()->mapToGlobal(at));
        UpdateItemCommandStates();
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateItemCommandStates(); });

    connect(itemView_, &QTreeView::doubleClicked, this, [this] {
        if (settings_.doubleClick == 0) {
            TB_ItemEditClick();
        } else if (settings_.doubleClick == 1) {
            marks_->MM_ItemBrowseClick();
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
    dialog.mailTo = [this](const std::string& address) { MailToOrSay(services_.shell, services_.messages, address); };
}

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
    newItemAction_->setEnabled(!state.searchMode);
    editItemAction_->setEnabled(state.rows >= 1 && state.selected == 1);
    selectAllAction_->setEnabled(state.focused && state.rows >= 1);
    if (state.focused) {
        deleteAction_->setEnabled(state.selected >= 1);
    }
    clipboard_->UpdateStates(state);
    marks_->UpdateStates(state);
}

void TForm_Main::MM_DeleteClick()
{
    QWidget* focus = focusWidget();
    if (focus == genreList_) {
        TB_GenreEraseClick();
    } else if (focus == itemView_) {
        clipboard_->TB_ItemEraseClick();
    } else if (focus == attributeList_) {
        TagEraseClick(Vocabulary::Attributes);
    } else if (focus == contentList_) {
        TagEraseClick(Vocabulary::Contents);
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
}

void TForm_Main::ShowGenreAgain()
{
    RefreshTagList(Vocabulary::Attributes);
    RefreshTagList(Vocabulary::Contents);
    ShowGenre(static_cast<int>(shown_.SelectedGenre()));
}

void TForm_Main::ShowCollectionAgain(std::size_t genre)
{
    shown_.SelectGenre(genre);
    RefreshPanes();
}

void TForm_Main::SearchModeChanged(const QString& title)
{
    const bool searching = shown_.SearchMode();
    itemPaneTitle_->setText(searching ? QStringLiteral("リンクアイテム [検索モード] : %1").arg(title)
                                      : QStringLiteral("リンクアイテム"));
    // The genre list still takes dropped rows: a found item may be filed anew.
    genreList_->SetLocked(searching);
    if (auto* genreTools = findChild<QToolBar*>(QStringLiteral("TB_GenreTools"))) {
        genreTools->setEnabled(!searching);
    }
    for (QAction* file : fileActions_) {
        file->setEnabled(!searching);
    }
    design_->SetSearchMode(searching);
    exchange_->SetSearchMode(searching);
    bookmarks_->SetSearchMode(searching);
    bulkTools_->SetSearchMode(searching);
    publish_->SetSearchMode(searching);
    searchSite_->SetSearchMode(searching);
    if (searching) {
        trashNotice_->hide();
        itemModel_->Reset();
        SortRows();
    } else {
        ShowGenre(static_cast<int>(shown_.SelectedGenre()));
    }
    UpdateCommandStates();
    UpdateItemCommandStates();
    itemView_->setFocus();
    UpdateCounts();
}

void TForm_Main::TB_ItemNewClick()
{
    if (shown_.SearchMode()) {
        return;
    }
    // Said before the user types an item that could not be added.
    if (!project_.HasSerialLeft()) {
        services_.messages.Show(MessageKind::Warning, NoSerialLeftMessage(), MessageButton::Ok);
        return;
    }
    itemView_->setFocus();
    const std::string genreName = GenreFieldOf(project_, shown_.SelectedGenre());
    TForm_LinkItem dialog(services_.messages, project_.Attributes, project_.Contents, services_.clock.Today(), this);
    dialog.SetReadingService(services_.readings);
    ConnectBrowser(dialog);
    dialog.setWindowTitle(QStringLiteral("新規アイテム"));
    dialog.SetLinkItem(NewLinkItem(services_.clock, genreName));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::optional<std::size_t> row = shown_.AddItemRecord(dialog.LinkItem());
    if (!row) {
        services_.messages.Show(MessageKind::Warning, NoSerialLeftMessage(), MessageButton::Ok);
        return;
    }
    RowsReplaced({*row});
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
    dialog.SetReadingService(services_.readings);
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
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        && ((watched == genreList_ && !genreList_->IsLocked()) || watched == attributeList_
            || watched == contentList_)) {
        // The keys of the three vocabulary lists: new, up, down, rename. They
        // win over the window's shortcuts (Ctrl+Shift+A is new item there).
        const QString command = VocabularyListCommand(*static_cast<QKeyEvent*>(event));
        if (command.isEmpty()) {
            return QMainWindow::eventFilter(watched, event);
        }
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            const QString prefix = watched == genreList_ ? QStringLiteral("TB_Genre")
                : watched == attributeList_              ? QStringLiteral("TB_Attr1")
                                                         : QStringLiteral("TB_Attr2");
            if (QAction* action = findChild<QAction*>(prefix + command); action != nullptr && action->isEnabled()) {
                action->trigger();
            }
        }
        return true;
    }
    if (watched == itemView_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            TB_ItemEditClick();
            return true;
        }
        if (key->key() == Qt::Key_V && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
            viewCommands_->ChangeViewStyle(viewCommands_->ListStyle() ? 3 : 2);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tessaly
