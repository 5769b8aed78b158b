// The main window's item list commands: new and edit, sorting, view style.

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeView>

#include "GenreListWidget.h"
#include "Icons.h"
#include "ItemListViewCommands.h"
#include "ItemListModel.h"
#include "collection/LinkItem.h"
#include "dlgLinkItem.h"
#include "dlgMain.h"
#include "settings/ExternalPrograms.h"
#include "text/DateTime.h"
#include "text/Url.h"

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
    newItem->setIcon(DrawnIcon(ProgramIcon::NewItem));
    connect(newItem, &QAction::triggered, this, &TForm_Main::TB_ItemNewClick);
    QAction* edit = action("TB_ItemEdit", QStringLiteral("アイテム編集(&E)"), QKeySequence());
    edit->setIcon(DrawnIcon(ProgramIcon::EditItem));
    connect(edit, &QAction::triggered, this, &TForm_Main::TB_ItemEditClick);
    menu->addAction(newItem);
    menu->addAction(edit);
    tools->addAction(newItem);
    tools->addAction(edit);
    menu->addSeparator();

    viewCommands_ = new ItemListViewCommands(itemView_, gridLines_, [this] { SortRows(); }, this);
    viewCommands_->AddToMenu(menu);
    tools->addSeparator();
    viewCommands_->AddToToolBar(tools);

    auto* selectAll = action("MM_SelectAll", QStringLiteral("全て選択(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    selectAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(selectAll, &QAction::triggered, itemView_, &QTreeView::selectAll);
    itemView_->addAction(selectAll);
    menu->addSeparator();
    menu->addAction(selectAll);

    // The list's popup, enabled by the selection when it opens.
    itemView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(itemView_, &QWidget::customContextMenuRequested, this,
        [this, newItem, edit, selectAll](const QPoint& at) {
            const std::size_t selected = SelectedRows().size();
            QMenu popup(this);
            popup.setObjectName(QStringLiteral("PU_ItemOperate"));
            popup.addAction(newItem);
            popup.addAction(edit);
            newItem->setEnabled(!shown_.SearchMode());
            edit->setEnabled(selected == 1);
            popup.addSeparator();
            popup.addMenu(viewCommands_->SortPopup());
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
            OpenUrl(services_.shell, settings_.browser, FullUrl(shown_.Rows()[rows.front()].Url));
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
        && (watched == genreList_ || watched == attributeList_ || watched == contentList_)) {
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
