#include "gui/clipboard/ItemClipboardCommands.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>
#include <QTreeView>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/main/ItemListHost.h"
#include "core/collection/CollectionEditing.h"
#include "core/collection/ItemClipboard.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/main/dlgMain.h"
#include "core/util/Messages.h"

namespace tessaly {

ItemClipboardCommands::ItemClipboardCommands(ItemListHost& host, QClipboard* clipboard, QObject* parent)
    : QObject(parent)
    , host_(host)
    , clipboard_(clipboard)
    , cut_(Add("MM_Cut", QStringLiteral("切り取り(&X)"), &ItemClipboardCommands::MM_CutClick))
    , copy_(Add("MM_Copy", QStringLiteral("コピー(&C)"), &ItemClipboardCommands::MM_CopyClick))
    , paste_(Add("MM_Paste", QStringLiteral("張り付け(&V)"), &ItemClipboardCommands::MM_PasteClick))
    , copyEx_(Add("MM_CopyEx", QStringLiteral("可読状態でコピー(&R)"), &ItemClipboardCommands::MM_CopyExClick))
    , erase_(Add("TB_ItemErase", QStringLiteral("アイテム削除"), &ItemClipboardCommands::TB_ItemEraseClick))
    , popupCut_(Add("PU_Cut", QStringLiteral("アイテムの切り取り(&X)"), &ItemClipboardCommands::MM_CutClick))
    , popupCopy_(Add("PU_Copy", QStringLiteral("アイテムのコピー(&C)"), &ItemClipboardCommands::MM_CopyClick))
    , popupPaste_(Add("PU_Paste", QStringLiteral("アイテムの張り付け(&V)"), &ItemClipboardCommands::MM_PasteClick))
    , popupCopyEx_(
          Add("PU_CopyEx", QStringLiteral("可読状態でコピー(&R)"), &ItemClipboardCommands::MM_CopyExClick))
    , popupErase_(
          Add("PU_ItemErase", QStringLiteral("アイテムの削除(&D)"), &ItemClipboardCommands::TB_ItemEraseClick))
{
    cut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    paste_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    copyEx_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    erase_->setIcon(DrawnIcon(ProgramIcon::EraseItem));
    erase_->setToolTip(QStringLiteral("アイテム削除"));
    // The pop-up's own keys hold only while it is open.
    for (auto [action, key] : {std::pair{popupCopyEx_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
             std::pair{popupErase_, QKeySequence(Qt::Key_Delete)}}) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
}

QAction* ItemClipboardCommands::Add(const char* name, const QString& caption, void (ItemClipboardCommands::*handler)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void ItemClipboardCommands::AddToMenu(QMenu* menu)
{
    for (QAction* action : {cut_, copy_, paste_, copyEx_}) {
        menu->addAction(action);
    }
}

void ItemClipboardCommands::AddToToolBar(QToolBar* tools)
{
    tools->addAction(erase_);
}

void ItemClipboardCommands::AddToPopup(QMenu* popup)
{
    popup->addAction(popupErase_);
    popup->addSeparator();
    for (QAction* action : {popupCut_, popupCopy_, popupCopyEx_, popupPaste_}) {
        popup->addAction(action);
    }
}

void ItemClipboardCommands::UpdateStates(const ItemListState& state)
{
    const bool chosen = state.focused && state.selected >= 1;
    for (QAction* action : {cut_, copy_, copyEx_}) {
        action->setEnabled(chosen);
    }
    paste_->setEnabled(state.focused && !state.searchMode && state.clipboardHasText);
    erase_->setEnabled(state.rows >= 1 && state.selected >= 1);
}

void ItemClipboardCommands::UpdatePopupStates(const ItemListState& state)
{
    for (QAction* action : {popupCut_, popupCopy_, popupCopyEx_, popupErase_}) {
        action->setEnabled(state.selected >= 1);
    }
    popupPaste_->setEnabled(!state.searchMode && state.clipboardHasText);
}

bool ItemClipboardCommands::ClipboardHasText() const
{
    const QMimeData* data = clipboard_->mimeData();
    return data != nullptr && (data->hasText() || data->hasFormat(QString::fromLatin1(kItemLinesMimeType)));
}

void ItemClipboardCommands::PutOnClipboard(const std::string& sjis, bool asItemLines)
{
    auto* data = new QMimeData;
    data->setText(ToQString(sjis));
    if (asItemLines) {
        data->setData(QString::fromLatin1(kItemLinesMimeType), QByteArray::fromStdString(sjis));
    }
    clipboard_->setMimeData(data);
}

std::string ItemClipboardCommands::ClipboardText() const
{
    const QMimeData* data = clipboard_->mimeData();
    if (data == nullptr) {
        return {};
    }
    if (data->hasFormat(QString::fromLatin1(kItemLinesMimeType))) {
        return data->data(QString::fromLatin1(kItemLinesMimeType)).toStdString();
    }
    // Unicode text from elsewhere: a line code page 932 cannot hold is
    // skipped like any line that is not an item line.
    std::string text;
    for (const QString& line : data->text().split(QLatin1Char('\n'))) {
        if (const std::optional<std::string> sjis = ToSjis(line)) {
            text += *sjis;
            text += "\r\n";
        }
    }
    return text;
}

void ItemClipboardCommands::MM_CopyClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (!rows.empty()) {
        PutOnClipboard(ItemLinesText(host_.Shown().Rows(), rows), true);
    }
}

void ItemClipboardCommands::MM_CopyExClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (!rows.empty()) {
        PutOnClipboard(ReadableItemsText(host_.Shown().Rows(), rows), false);
    }
}

void ItemClipboardCommands::MM_CutClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (rows.empty()) {
        return;
    }
    MM_CopyClick();
    std::vector<TLinkItem>& shown = host_.Shown().Rows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        shown.erase(shown.begin() + static_cast<std::ptrdiff_t>(*row));
    }
    host_.RowsReplaced({});
    host_.SetIsEditing(true);
}

void ItemClipboardCommands::MM_PasteClick()
{
    if (!ClipboardHasText() || host_.Shown().SearchMode()) {
        return;
    }
    ShownItems& shown = host_.Shown();
    const std::string genreField = GenreFieldOf(host_.CurrentProject(), shown.SelectedGenre());
    std::vector<std::size_t> added;
    for (TLinkItem& item : PastedItems(ClipboardText(), genreField)) {
        const std::optional<std::size_t> row = shown.AddItemRecord(std::move(item));
        if (!row) {
            host_.Services().messages.Show(MessageKind::Warning, NoSerialLeftMessage(), MessageButton::Ok);
            break;
        }
        added.push_back(*row);
    }
    host_.RowsReplaced(added);
    if (!added.empty()) {
        host_.ItemView()->setFocus();
        host_.ItemView()->scrollToBottom();
        host_.SetIsEditing(true);
    }
}

void ItemClipboardCommands::TB_ItemEraseClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (!rows.empty() && DeleteRowsToTrash(host_.CurrentProject(), host_.Shown(), rows)) {
        host_.RowsReplaced({});
        host_.SetIsEditing(true);
    }
}

} // namespace tessaly
