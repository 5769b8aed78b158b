#include "gui/tools/BulkToolCommands.h"

#include <QAction>

#include "gui/GuiText.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/tools/dlgReplaceDomain.h"
#include "gui/shell/dlgSplash.h"
#include "core/search/SearchMode.h"
#include "core/tools/DomainReplace.h"
#include "core/tools/TagTidy.h"
#include "core/util/Messages.h"

namespace tessaly {

BulkToolCommands::BulkToolCommands(ItemListHost& host)
    : CommandSet(host)
    , domainTool_(
          MakeAction("MM_DomainTool", QStringLiteral("ドメイン一括変換(&D)..."), [this] { MM_DomainToolClick(); }))
    , attrContentTool_(MakeAction("MM_AttrContentTool", QStringLiteral("アトリビュート・コンテンツ整理(&R)"),
          [this] { MM_AttrContentToolClick(); }))
{
}

void BulkToolCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::Tools, domainTool_);
    layout.Add(MenuPlace::Tools, attrContentTool_);
}

void BulkToolCommands::UpdateStates(const ItemListState& state)
{
    domainTool_->setEnabled(!state.searchMode);
    attrContentTool_->setEnabled(!state.searchMode);
}

std::size_t BulkToolCommands::Rewrite(
    const std::string& progressMessage, const std::function<std::size_t(const GenreProgress&)>& rewrite)
{
    Project& project = host_.CurrentProject();
    host_.Shown().FlushGenre();
    TSplashWindow splash(host_.DialogParent());
    splash.SetSplashMes(ToQString(progressMessage));
    splash.show();
    const bool wasEditing = project.IsEditing;
    const std::size_t count = rewrite([&splash](std::size_t genre, std::size_t lastGenre) {
        splash.SetMax(static_cast<int>(lastGenre));
        splash.SetPos(static_cast<int>(genre));
    });
    splash.close();
    // Shown from the new lines first: the change is taken from what is shown.
    host_.ShowGenreAgain();
    host_.SetIsEditing(project.IsEditing || wasEditing);
    return count;
}

void BulkToolCommands::MM_DomainToolClick()
{
    if (host_.Shown().SearchMode()) {
        return;
    }
    Project& project = host_.CurrentProject();
    host_.Shown().FlushGenre();
    TForm_ReplaceDomain dialog(
        host_.Services().messages,
        [this, &project](const DomainReplaceSettings& settings) {
            return Rewrite(DomainReplaceProgressMessage(),
                [&](const GenreProgress& progress) { return ReplaceDomains(project, settings, progress); });
        },
        [&project] { return RegisteredDomains(project); },
        // The first thousand changes are listed, and how many there are.
        [&project](const DomainReplaceSettings& settings) { return PreviewDomainReplace(project, settings, 1000); },
        host_.DialogParent());
    dialog.exec();
}

void BulkToolCommands::MM_AttrContentToolClick()
{
    if (host_.Shown().SearchMode()) {
        return;
    }
    MessagePresenter& messages = host_.Services().messages;
    Project& project = host_.CurrentProject();
    host_.Shown().FlushGenre();
    if (messages.Show(MessageKind::Confirmation, SjisText(TagTidyQuestion(CountUntidyLists(project))),
            MessageButton::Yes | MessageButton::No)
        != MessageButton::Yes) {
        return;
    }
    const std::size_t count = Rewrite(
        TagTidyProgressMessage(), [&project](const GenreProgress& progress) { return TidyTagLists(project, progress); });
    messages.Show(MessageKind::Information, SjisText(TagTidyResultMessage(count)), MessageButton::Ok);
}

} // namespace tessaly
