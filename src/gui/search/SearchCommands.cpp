#include "gui/search/SearchCommands.h"

#include <QAction>
#include <QTreeView>

#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/search/dlgSearchDomain.h"
#include "gui/search/dlgSearchProject.h"
#include "gui/search/dlgSearchString.h"
#include "gui/shell/dlgSplash.h"
#include "gui/search/frmSqueeze.h"
#include "core/search/SearchMode.h"
#include "core/text/Codepage.h"
#include "core/tools/DuplicateLinks.h"
#include "core/util/Messages.h"

namespace tessaly {

// Qt's key combinations, which the message buttons' "|" would hide.
using ::operator|;

namespace {

struct SearchEntry {
    const char* name;
    const char* caption;
    const char* hint;
    QKeyCombination key;
    ProgramIcon icon;
    void (SearchCommands::*handler)();
};

} // namespace

SearchCommands::SearchCommands(ItemListHost& host)
    : CommandSet(host)
{
    const SearchEntry entries[] = {
        {"SearchString", "文字列検索モード(&S)...", "文字列検索モード", Qt::CTRL | Qt::Key_F, ProgramIcon::SearchString,
            &SearchCommands::MM_SearchStringClick},
        {"SearchDomain", "ドメイン検索モード(&D)...", "ドメイン検索モード", Qt::CTRL | Qt::Key_D,
            ProgramIcon::SearchDomain, &SearchCommands::MM_SearchDomainClick},
        {"SearchProject", "プロジェクト設計型検索モード(&M)...", "プロジェクト設計型検索モード", Qt::CTRL | Qt::Key_P,
            ProgramIcon::SearchProject, &SearchCommands::MM_SearchProjectClick},
        {"SearchAll", "一覧表示(&A)", "一覧表示", Qt::CTRL | Qt::ALT | Qt::Key_A, ProgramIcon::SearchAll,
            &SearchCommands::MM_SearchAllClick},
        {"SearchExit", "検索モード終了(&X)", "検索モード終了", Qt::CTRL | Qt::ALT | Qt::Key_X, ProgramIcon::SearchExit,
            &SearchCommands::MM_SearchExitClick},
    };
    for (const SearchEntry& entry : entries) {
        const auto handler = [this, run = entry.handler] { (this->*run)(); };
        QAction* menuEntry = MakeAction(
            (std::string("MM_") + entry.name).c_str(), QString::fromUtf8(entry.caption), handler, entry.key);
        QAction* button = MakeAction(
            (std::string("TB_") + entry.name).c_str(), QString::fromUtf8(entry.hint), handler, {}, DrawnIcon(entry.icon));
        menuEntries_.push_back(menuEntry);
        buttons_.push_back(button);
    }
    exit_ = menuEntries_.back();
    buttonExit_ = buttons_.back();
    menuEntries_.insert(menuEntries_.end() - 1,
        MakeAction("MM_SearchDuplicate", QStringLiteral("重複リンクの検索(&U)"), [this] { MM_SearchDuplicateClick(); }));
    exit_->setEnabled(false);
    buttonExit_->setEnabled(false);
}

void SearchCommands::Contribute(MenuLayout& layout)
{
    for (QAction* action : menuEntries_) {
        if (action == exit_) {
            layout.AddSeparator(MenuPlace::Search);
        }
        layout.Add(MenuPlace::Search, action);
    }
    for (QAction* action : buttons_) {
        layout.Add(MenuPlace::SearchToolBar, action);
    }
}

bool SearchCommands::Search(const TSqueeze& criteria, const QString& title)
{
    Project& project = host_.CurrentProject();
    TSplashWindow splash(host_.DialogParent());
    splash.SetSplashMes(QStringLiteral("リンクアイテムを絞り込んでいます"));
    splash.show();
    const std::vector<std::string> lines
        = ExtractMatchingItems(project, criteria, [&splash](std::string_view, std::size_t position, std::size_t maximum) {
              splash.SetMax(static_cast<int>(maximum));
              splash.SetPos(static_cast<int>(position));
          });
    splash.close();
    if (lines.empty()) {
        return false;
    }
    ShowResult(lines, title);
    return true;
}

void SearchCommands::ShowResult(const std::vector<std::string>& lines, const QString& title, bool keepOrder)
{
    ShowSearchResult(host_.Shown(), lines);
    exit_->setEnabled(true);
    buttonExit_->setEnabled(true);
    host_.SearchModeChanged(title, keepOrder);
}

void SearchCommands::EndSearchMode()
{
    if (!host_.Shown().SearchMode()) {
        return;
    }
    tessaly::EndSearchMode(host_.CurrentProject(), host_.Shown());
    exit_->setEnabled(false);
    buttonExit_->setEnabled(false);
    host_.SearchModeChanged(QString(), false);
}

void SearchCommands::MM_SearchStringClick()
{
    EndSearchMode();
    host_.Shown().FlushGenre();
    TForm_SearchString dialog(
        host_.Services().messages, [this](const TSqueeze& criteria) { return Search(criteria, QStringLiteral("文字列")); },
        host_.DialogParent());
    dialog.exec();
}

void SearchCommands::MM_SearchDomainClick()
{
    EndSearchMode();
    host_.Shown().FlushGenre();
    TSplashWindow splash(host_.DialogParent());
    splash.SetSplashMes(QStringLiteral("既登録ドメイン一覧を取得しています..."));
    splash.show();
    const std::vector<std::string> domains = RegisteredDomains(host_.CurrentProject());
    splash.close();
    TForm_SearchDomain dialog(
        host_.Services().messages,
        [this](const TSqueeze& criteria) { return Search(criteria, QStringLiteral("ドメイン")); }, domains,
        host_.DialogParent());
    dialog.exec();
}

void SearchCommands::MM_SearchProjectClick()
{
    EndSearchMode();
    host_.Shown().FlushGenre();
    const SqueezeChoices choices
        = SqueezeChoicesOf(host_.CurrentProject(), host_.Shown().Rows(), host_.Services().clock.Today());
    TForm_SearchProject dialog(
        host_.Services().messages,
        [this](const TSqueeze& criteria) { return Search(criteria, QStringLiteral("プロジェクト")); }, choices,
        host_.DialogParent());
    dialog.exec();
}

void SearchCommands::MM_SearchAllClick()
{
    EndSearchMode();
    host_.Shown().FlushGenre();
    ShowResult(ExtractAllItems(host_.CurrentProject()), QStringLiteral("一覧表示"));
}

void SearchCommands::MM_SearchDuplicateClick()
{
    EndSearchMode();
    host_.Shown().FlushGenre();
    const std::vector<std::string> lines = ExtractDuplicateItems(host_.CurrentProject());
    if (lines.empty()) {
        host_.Services().messages.Show(MessageKind::Information,
            SjisText(SJ("ページURLが重複しているリンクアイテムはありません.")), MessageButton::Ok);
        return;
    }
    ShowResult(lines, QStringLiteral("重複リンク"), true); // copies side by side
}

void SearchCommands::MM_SearchExitClick()
{
    EndSearchMode();
}

} // namespace tessaly
