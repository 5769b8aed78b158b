#include "gui/items/ItemMarkCommands.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QTreeView>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/main/ItemListHost.h"
#include "gui/ItemListModel.h"
#include "core/collection/ItemMarks.h"
#include "core/collection/NewestAttribute.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/items/dlgDateSelect.h"
#include "gui/main/dlgMain.h"
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

ItemMarkCommands::ItemMarkCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , statusMenu_(StatusMenu("MM_ItemStatus", "MM_"))
    , popupStatusMenu_(StatusMenu("PU_ItemStatus", "PU_"))
    , dateSetting_(Add("MM_DateSetting", QStringLiteral("日付一括設定(&T)"), &ItemMarkCommands::MM_DateSettingClick))
    , buttonDateSetting_(Add("TB_DateSetting", QStringLiteral("日付一括設定"), &ItemMarkCommands::MM_DateSettingClick))
    , popupDateSetting_(Add("PU_DateSetting", QStringLiteral("日付一括設定(&T)"), &ItemMarkCommands::MM_DateSettingClick))
    , browse_(Add("MM_ItemBrowse", QStringLiteral("ブラウザで表示(&B)"), &ItemMarkCommands::MM_ItemBrowseClick))
    , buttonBrowse_(Add("TB_ItemBrowse", QStringLiteral("ブラウザで表示"), &ItemMarkCommands::MM_ItemBrowseClick))
    , popupBrowse_(Add("PU_ItemBrowse", QStringLiteral("ブラウザで表示(&B)"), &ItemMarkCommands::MM_ItemBrowseClick))
    , mail_(Add("MM_ItemMail", QStringLiteral("作者にメール送信(&M)"), &ItemMarkCommands::MM_ItemMailClick))
    , buttonMail_(Add("TB_ItemMail", QStringLiteral("作者にメール送信"), &ItemMarkCommands::MM_ItemMailClick))
    , popupMail_(Add("PU_ItemMail", QStringLiteral("作者にメール送信(&M)"), &ItemMarkCommands::MM_ItemMailClick))
    , newAttribute_(Add("MM_NewAttribute", QStringLiteral("最新アトリビュート調整(&N)..."),
          &ItemMarkCommands::MM_NewAttributeClick))
{
    browse_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    mail_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    buttonDateSetting_->setIcon(DrawnIcon(ProgramIcon::DateSetting));
    buttonBrowse_->setIcon(DrawnIcon(ProgramIcon::Browse));
    buttonMail_->setIcon(DrawnIcon(ProgramIcon::Mail));
}

QAction* ItemMarkCommands::Add(const char* name, const QString& caption, void (ItemMarkCommands::*handler)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
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
        connect(entry, &QAction::triggered, this, [this, status] { SetStatus(status); });
    }
    return menu;
}

void ItemMarkCommands::AddToEditMenu(QMenu* menu)
{
    menu->addMenu(statusMenu_);
    menu->addAction(dateSetting_);
}

void ItemMarkCommands::AddToItemMenu(QMenu* menu)
{
    menu->addAction(browse_);
    menu->addAction(mail_);
}

void ItemMarkCommands::AddToToolsMenu(QMenu* menu)
{
    menu->addAction(newAttribute_);
}

void ItemMarkCommands::AddToToolBar(QToolBar* tools)
{
    for (QAction* action : {buttonDateSetting_, buttonBrowse_, buttonMail_}) {
        tools->addAction(action);
    }
}

void ItemMarkCommands::AddToPopup(QMenu* popup)
{
    popup->addMenu(popupStatusMenu_);
    popup->addAction(popupDateSetting_);
    popup->addSeparator();
    popup->addAction(popupBrowse_);
    popup->addAction(popupMail_);
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
}

void ItemMarkCommands::UpdatePopupStates(const ItemListState& state)
{
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
            MessageKind::Error, SJ("メールアドレスが設定されていません."), MessageButton::Abort);
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
    host_.SetIsEditing(project.IsEditing || wasEditing);
    host_.ShowGenreAgain();
}

} // namespace tessaly
