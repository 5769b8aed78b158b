#include "gui/items/ItemMarkCommands.h"

#include <QAction>
#include <QMenu>
#include <QTreeView>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "gui/ItemListModel.h"
#include "core/collection/ItemMarks.h"
#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/items/dlgDateSelect.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/items/dlgNewAttribute.h"
#include "gui/shell/dlgSplash.h"
#include "core/settings/ExternalPrograms.h"
#include "core/text/Codepage.h"
#include "core/text/Url.h"
#include "core/util/Messages.h"

namespace tessaly {

namespace {

// The status values in order, with the names of their menu entries.
const std::pair<const char*, const char*> kStatuses[] = {
    {"ItemNormal", "標準(&N)"},
    {"ItemFavorite", "お気に入り(&F)"},
    {"ItemWarning", "警告・要注意(&W)"},
    {"ItemBlack", "削除予定(&B)"},
    {"ImportantLow", "重要度やや高い(&L)"},
    {"ImportantMiddele", "重要度高い(&M)"},
    {"ImportantHigh", "重要度最高(&H)"},
};

} // namespace

ItemMarkCommands::ItemMarkCommands(ItemListHost& host)
    : CommandSet(host)
    , statusMenu_(StatusMenu("MM_ItemStatus", "MM_"))
    , popupStatusMenu_(StatusMenu("PU_ItemStatus", "PU_"))
    , dateSetting_(MakeAction("MM_DateSetting", QStringLiteral("日付一括設定(&T)"), [this] { MM_DateSettingClick(); }))
    , buttonDateSetting_(MakeAction("TB_DateSetting", QStringLiteral("日付一括設定"), [this] { MM_DateSettingClick(); }))
    , popupDateSetting_(MakeAction("PU_DateSetting", QStringLiteral("日付一括設定(&T)"), [this] { MM_DateSettingClick(); }))
    , browse_(MakeAction("MM_ItemBrowse", QStringLiteral("ブラウザで表示(&B)"), [this] { MM_ItemBrowseClick(); }))
    , buttonBrowse_(MakeAction("TB_ItemBrowse", QStringLiteral("ブラウザで表示"), [this] { MM_ItemBrowseClick(); }))
    , popupBrowse_(MakeAction("PU_ItemBrowse", QStringLiteral("ブラウザで表示(&B)"), [this] { MM_ItemBrowseClick(); }))
    , mail_(MakeAction("MM_ItemMail", QStringLiteral("作者にメール送信(&M)"), [this] { MM_ItemMailClick(); }))
    , buttonMail_(MakeAction("TB_ItemMail", QStringLiteral("作者にメール送信"), [this] { MM_ItemMailClick(); }))
    , popupMail_(MakeAction("PU_ItemMail", QStringLiteral("作者にメール送信(&M)"), [this] { MM_ItemMailClick(); }))
    , newAttribute_(MakeAction("MM_NewAttribute", QStringLiteral("最新アトリビュート調整(&N)..."), [this] { MM_NewAttributeClick(); }))
{
    browse_->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_B);
    mail_->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_M);
    buttonDateSetting_->setIcon(DrawnIcon(ProgramIcon::DateSetting));
    buttonBrowse_->setIcon(DrawnIcon(ProgramIcon::Browse));
    buttonMail_->setIcon(DrawnIcon(ProgramIcon::Mail));
}

QMenu* ItemMarkCommands::StatusMenu(const char* name, const char* prefix)
{
    auto* menu = new QMenu(QStringLiteral("アイテムの状態(&S)"), host_.DialogParent());
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    for (int status = 0; status < 7; ++status) {
        QAction* entry = menu->addAction(
            ItemListModel::StatusIcon(status), QString::fromUtf8(kStatuses[status].second));
        entry->setObjectName(QString::fromLatin1(prefix) + QString::fromLatin1(kStatuses[status].first));
        connect(entry, &QAction::triggered, this, [this, status] {
            host_.RunCommand(QStringLiteral("アイテムの状態"), [this, status] { SetStatus(status); });
        });
    }
    return menu;
}

void ItemMarkCommands::Contribute(MenuLayout& layout)
{
    layout.AddMenu(MenuPlace::EditMarks, statusMenu_);
    layout.Add(MenuPlace::EditMarks, dateSetting_);
    layout.Add(MenuPlace::Item, browse_);
    layout.Add(MenuPlace::Item, mail_);
    layout.Add(MenuPlace::Tools, newAttribute_);
    for (QAction* action : {buttonDateSetting_, buttonBrowse_, buttonMail_}) {
        layout.Add(MenuPlace::ItemToolBar, action);
    }
    layout.AddMenu(MenuPlace::ItemPopupMarks, popupStatusMenu_);
    layout.Add(MenuPlace::ItemPopupMarks, popupDateSetting_);
    layout.AddSeparator(MenuPlace::ItemPopupMarks);
    layout.Add(MenuPlace::ItemPopupMarks, popupBrowse_);
    layout.Add(MenuPlace::ItemPopupMarks, popupMail_);
}

void ItemMarkCommands::UpdateStates(const ItemListState& state)
{
    const bool chosen = state.focused && state.selected >= 1;
    statusMenu_->menuAction()->setEnabled(chosen);
    dateSetting_->setEnabled(chosen);
    browse_->setEnabled(state.focused && state.selected == 1);
    mail_->setEnabled(state.focused && state.selected == 1);
    buttonDateSetting_->setEnabled(state.rows >= 1 && state.selected >= 1);
    buttonBrowse_->setEnabled(state.rows >= 1 && state.selected == 1);
    buttonMail_->setEnabled(state.rows >= 1 && state.selected == 1);
    newAttribute_->setEnabled(!state.searchMode);
    // The pop-up opens on the list: its entries do not wait for the focus.
    popupStatusMenu_->menuAction()->setEnabled(state.selected >= 1);
    popupDateSetting_->setEnabled(state.selected >= 1);
    popupBrowse_->setEnabled(state.selected == 1);
    popupMail_->setEnabled(state.selected == 1);
}

void ItemMarkCommands::SetStatus(int status)
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (SetItemStatus(host_.Shown().Rows(), rows, status)) {
        host_.RowsChanged(rows);
        host_.SetIsEditing(true);
    }
}

void ItemMarkCommands::MM_DateSettingClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (rows.empty()) {
        return;
    }
    host_.ItemView()->setFocus();
    MainServices& services = host_.Services();
    const std::vector<std::string> dates = RegisteredDates(host_.CurrentProject(), host_.Shown().Rows());
    TForm_DateSelect dialog(services.messages, dates, services.clock.Today(), host_.DialogParent());
    if (dialog.exec() == QDialog::Accepted && SetItemDate(host_.Shown().Rows(), rows, *dialog.Date())) {
        host_.RowsChanged(rows);
        host_.SetIsEditing(true);
    }
}

void ItemMarkCommands::MM_ItemBrowseClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (!rows.empty()) {
        OpenUrl(host_.Services().shell, host_.Settings().browser, FullUrl(host_.Shown().Rows()[rows.front()].Url));
    }
}

void ItemMarkCommands::MM_ItemMailClick()
{
    const std::vector<std::size_t> rows = host_.SelectedRows();
    if (rows.empty()) {
        return;
    }
    const std::string& address = host_.Shown().Rows()[rows.front()].Mail;
    if (address.empty()) {
        host_.Services().messages.Show(
            MessageKind::Error, SjisText(SJ("メールアドレスが設定されていません.")), MessageButton::Abort);
        return;
    }
    MailToOrSay(host_.Services().shell, host_.Services().messages, address);
}

void ItemMarkCommands::MM_NewAttributeClick()
{
    if (host_.Shown().SearchMode()) {
        return;
    }
    Project& project = host_.CurrentProject();
    ShownItems& shown = host_.Shown();
    MainServices& services = host_.Services();
    const std::vector<std::string> dates = RegisteredDates(project, shown.Rows());
    TForm_NewAttribute dialog(services.messages, dates, services.clock.Today(), host_.DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    shown.FlushGenre();
    TSplashWindow splash(host_.DialogParent());
    splash.SetSplashMes(QStringLiteral("最新アトリビュートを調整しています..."));
    splash.show();
    const bool wasEditing = project.IsEditing;
    AdjustNewestAttribute(project, *dialog.Period(), [&splash](std::size_t genre, std::size_t genres) {
        splash.SetMax(static_cast<int>(genres));
        splash.SetPos(static_cast<int>(genre));
    });
    splash.close();
    // Shown from the new lines first: the change is taken from what is shown.
    host_.ShowGenreAgain();
    host_.SetIsEditing(project.IsEditing || wasEditing);
}

} // namespace tessaly
