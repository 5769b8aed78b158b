#include "gui/items/ItemEditCommands.h"

#include <QAction>
#include <QTreeView>

#include "core/collection/ItemClipboard.h"
#include "core/collection/LinkItem.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/settings/ExternalPrograms.h"
#include "core/text/DateTime.h"
#include "core/util/Messages.h"
#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/items/dlgLinkItem.h"
#include "gui/readings/ProjectReadings.h"

namespace tessaly {

ItemEditCommands::ItemEditCommands(ItemListHost& host)
    : CommandSet(host)
    , newItem_(MakeAction("TB_ItemNew", QStringLiteral("新規アイテム(&N)"), [this] { TB_ItemNewClick(); },
          Qt::CTRL | Qt::SHIFT | Qt::Key_A, DrawnIcon(ProgramIcon::NewItem)))
    , editItem_(MakeAction("TB_ItemEdit", QStringLiteral("アイテム編集(&E)"), [this] { TB_ItemEditClick(); }, {},
          DrawnIcon(ProgramIcon::EditItem)))
{
}

void ItemEditCommands::Contribute(MenuLayout& layout)
{
    for (const MenuPlace place : {MenuPlace::Item, MenuPlace::ItemToolBar, MenuPlace::ItemPopup}) {
        layout.Add(place, newItem_);
        layout.Add(place, editItem_);
    }
}

void ItemEditCommands::UpdateStates(const ItemListState& state)
{
    newItem_->setEnabled(!state.searchMode);
    editItem_->setEnabled(state.rows >= 1 && state.selected == 1);
}

void ItemEditCommands::ConnectBrowser(TForm_LinkItem& dialog)
{
    dialog.openUrl = [this](const std::string& url) { OpenUrl(host_.Services().shell, host_.Settings().browser, url); };
    dialog.mailTo = [this](const std::string& address) {
        MailToOrSay(host_.Services().shell, host_.Services().messages, address);
    };
}

void ItemEditCommands::TB_ItemNewClick()
{
    ShownItems& shown = host_.Shown();
    Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    if (shown.SearchMode()) {
        return;
    }
    // Said before the user types an item that could not be added.
    if (!project.HasSerialLeft()) {
        services.messages.Show(MessageKind::Warning, SjisText(NoSerialLeftMessage()), MessageButton::Ok);
        return;
    }
    host_.ItemView()->setFocus();
    const std::string genreName = GenreFieldOf(project, shown.SelectedGenre());
    TForm_LinkItem dialog(
        services.messages, project.Attributes, project.Contents, services.clock.Today(), host_.DialogParent());
    ProjectReadings readings(services, project);
    dialog.SetReadingService(readings.Service());
    ConnectBrowser(dialog);
    dialog.setWindowTitle(QStringLiteral("新規アイテム"));
    dialog.SetLinkItem(NewLinkItem(services.clock, genreName));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    readings.LearnItem(dialog.LinkItem());
    const std::optional<std::size_t> row = shown.AddItemRecord(dialog.LinkItem());
    if (!row) {
        services.messages.Show(MessageKind::Warning, SjisText(NoSerialLeftMessage()), MessageButton::Ok);
        return;
    }
    host_.RowsReplaced({*row});
    host_.ItemView()->scrollToBottom();
    host_.SetIsEditing(true);
}

void ItemEditCommands::TB_ItemEditClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    ShownItems& shown = host_.Shown();
    if (rows.empty() || rows.front() >= shown.Rows().size()) {
        return;
    }
    Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    TLinkItem& record = shown.Rows()[rows.front()];
    TForm_LinkItem dialog(
        services.messages, project.Attributes, project.Contents, services.clock.Today(), host_.DialogParent());
    ProjectReadings readings(services, project);
    dialog.SetReadingService(readings.Service());
    ConnectBrowser(dialog);
    dialog.SetLinkItem(record);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    readings.LearnItem(dialog.LinkItem());
    record = dialog.LinkItem();
    host_.RowsChanged({rows.front()});
    host_.SetIsEditing(true);
}

} // namespace tessaly
