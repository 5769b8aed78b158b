#include "gui/publish/PublishCommands.h"

#include <QAction>

#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MenuLayout.h"
#include "gui/publish/ProjectOutput.h"

namespace tessaly {

PublishCommands::PublishCommands(ItemListHost& host)
    : CommandSet(host)
    , output_(MakeAction("MM_ProjectOutput", QStringLiteral("プロジェクト出力(&U)..."),
          [this] { OpenProjectOutput(host_, false); }, Qt::Key_F8))
    , outputButton_(MakeAction("TB_ProjectOutput", QStringLiteral("プロジェクト出力"),
          [this] { OpenProjectOutput(host_, false); }, {}, DrawnIcon(ProgramIcon::ProjectOutput)))
    , openRoot_(MakeAction("MM_OpenRoot", QStringLiteral("ルートを開く(&R)"), [this] { OpenRootPage(host_); }, Qt::Key_F9))
{
}

void PublishCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::ProjectOutput, output_);
    layout.Add(MenuPlace::ProjectToolBar, outputButton_);
    layout.Add(MenuPlace::ToolsSite, openRoot_);
}

void PublishCommands::UpdateStates(const ItemListState& state)
{
    output_->setEnabled(!state.searchMode);
    outputButton_->setEnabled(!state.searchMode);
}

} // namespace tessaly
