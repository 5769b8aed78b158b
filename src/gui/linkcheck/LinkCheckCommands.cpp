#include "gui/linkcheck/LinkCheckCommands.h"

#include <QAction>

#include <numeric>

#include "gui/GuiText.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/linkcheck/dlgLinkCheck.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"

namespace tessaly {

LinkCheckCommands::LinkCheckCommands(ItemListHost& host)
    : CommandSet(host)
    , linkCheck_(MakeAction("MM_LinkCheck", QStringLiteral("リンクチェック(&K)..."), [this] { MM_LinkCheckClick(); }))
{
}

void LinkCheckCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::Tools, linkCheck_);
}

std::array<LinkCheckScope, 3> LinkCheckCommands::Scopes() const
{
    const Project& project = host_.CurrentProject();
    const ShownItems& shown = host_.Shown();
    std::vector<std::size_t> all(shown.Rows().size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    std::array<LinkCheckScope, 3> scopes;
    scopes[static_cast<std::size_t>(LinkScope::Selected)]
        = {QStringLiteral("選択したアイテム(&S)"), ItemsOfRows(shown.Rows(), host_.SelectedRows())};
    scopes[static_cast<std::size_t>(LinkScope::Shown)] = {shown.SearchMode()
            ? QStringLiteral("検索結果のアイテム(&G)")
            : QStringLiteral("表示中のジャンル「%1」(&G)").arg(ToQString(project.Genres[shown.SelectedGenre()].Name)),
        ItemsOfRows(shown.Rows(), all)};
    scopes[static_cast<std::size_t>(LinkScope::Collection)]
        = {QStringLiteral("コレクション全体(&A)"), ItemsOfCollection(project, &shown)};
    return scopes;
}

void LinkCheckCommands::MM_LinkCheckClick()
{
    LinkCheckSetup setup;
    setup.scopes = Scopes();
    setup.chosen = host_.SelectedRows().empty() ? LinkScope::Shown : LinkScope::Selected;
    setup.bannerDirectory = host_.CurrentProject().BannerDir;
    setup.projectFile = host_.CurrentProject().EditingName;

    MainServices& services = host_.Services();
    TForm_LinkCheck dialog(services.messages, services.files, std::move(setup),
        {[this](const std::vector<ItemPlace>& places, std::vector<UnmarkedItem>* notMarked) {
             return MarkFailed(places, notMarked);
         },
            [this](const std::vector<AddressUpdate>& updates) { return UpdateMoved(updates); },
            [this] { return Scopes(); }},
        host_.DialogParent());
    dialog.exec();
}

std::size_t LinkCheckCommands::MarkFailed(const std::vector<ItemPlace>& places, std::vector<UnmarkedItem>* notMarked)
{
    const std::size_t marked = MarkItemsFailed(host_.CurrentProject(), host_.Shown().Rows(), places, notMarked);
    Changed(marked, places);
    return marked;
}

std::size_t LinkCheckCommands::UpdateMoved(const std::vector<AddressUpdate>& updates)
{
    const std::size_t updated = UpdateAddresses(host_.CurrentProject(), host_.Shown().Rows(), updates);
    std::vector<ItemPlace> places;
    for (const AddressUpdate& update : updates) {
        places.push_back(update.place);
    }
    Changed(updated, places);
    return updated;
}

void LinkCheckCommands::Changed(std::size_t count, const std::vector<ItemPlace>& places)
{
    if (count == 0) {
        return;
    }
    std::vector<std::size_t> rows;
    for (const ItemPlace& place : places) {
        if (place.in == ItemPlace::In::Row) {
            rows.push_back(place.index);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty()) {
        host_.RowsChanged(rows);
    }
    host_.SetIsEditing(true);
}

} // namespace tessaly
