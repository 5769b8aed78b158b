#include "gui/clipboard/ItemClipboardCommands.h"

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QTreeView>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/CollectionEditing.h"
#include "core/collection/ItemClipboard.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "core/util/Messages.h"

namespace tessaly {

ItemClipboardCommands::ItemClipboardCommands(ItemListHost& host, QClipboard* clipboard)
    : CommandSet(host)
    , clipboard_(clipboard)
    , cut_(MakeAction("MM_Cut", QStringLiteral("切り取り(&X)"), [this] { MM_CutClick(); }, Qt::CTRL | Qt::Key_X))
    , copy_(MakeAction("MM_Copy", QStringLiteral("コピー(&C)"), [this] { MM_CopyClick(); }, Qt::CTRL | Qt::Key_C))
    , paste_(MakeAction("MM_Paste", QStringLiteral("張り付け(&V)"), [this] { MM_PasteClick(); }, Qt::CTRL | Qt::Key_V))
    , copyEx_(MakeAction("MM_CopyEx", QStringLiteral("可読状態でコピー(&R)"), [this] { MM_CopyExClick(); },
          Qt::CTRL | Qt::ALT | Qt::Key_C))
    , erase_(MakeAction("TB_ItemErase", QStringLiteral("アイテム削除"), [this] { TB_ItemEraseClick(); }, {},
          DrawnIcon(ProgramIcon::EraseItem)))
    , popupCut_(MakeAction("PU_Cut", QStringLiteral("アイテムの切り取り(&X)"), [this] { MM_CutClick(); }))
    , popupCopy_(MakeAction("PU_Copy", QStringLiteral("アイテムのコピー(&C)"), [this] { MM_CopyClick(); }))
    , popupPaste_(MakeAction("PU_Paste", QStringLiteral("アイテムの張り付け(&V)"), [this] { MM_PasteClick(); }))
    , popupCopyEx_(MakeAction("PU_CopyEx", QStringLiteral("可読状態でコピー(&R)"), [this] { MM_CopyExClick(); },
          Qt::CTRL | Qt::SHIFT | Qt::Key_C))
    , popupErase_(MakeAction("PU_ItemErase", QStringLiteral("アイテムの削除(&D)"), [this] { TB_ItemEraseClick(); },
          Qt::Key_Delete))
{
    erase_->setToolTip(QStringLiteral("アイテム削除"));
    // The pop-up's own keys hold only while it is open.
    popupCopyEx_->setShortcutContext(Qt::WidgetShortcut);
    popupErase_->setShortcutContext(Qt::WidgetShortcut);
}

void ItemClipboardCommands::Contribute(MenuLayout& layout)
{
    for (QAction* action : {cut_, copy_, paste_, copyEx_}) {
        layout.Add(MenuPlace::Edit, action);
    }
    layout.Add(MenuPlace::ItemToolBar, erase_);
    layout.Add(MenuPlace::ItemPopup, popupErase_);
    layout.AddSeparator(MenuPlace::ItemPopup);
    for (QAction* action : {popupCut_, popupCopy_, popupCopyEx_, popupPaste_}) {
        layout.Add(MenuPlace::ItemPopup, action);
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
    // The pop-up opens on the list: its entries do not wait for the focus.
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
            host_.Services().messages.Show(MessageKind::Warning, SjisText(NoSerialLeftMessage()), MessageButton::Ok);
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
