#include "gui/design/DesignCommands.h"

#include <QAction>

#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/ShownItems.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/design/ProjectOptions.h"
#include "core/design/RootDirectory.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/options/ProjectOptionsCommands.h"
#include "gui/publish/ProjectOutput.h"
#include "gui/design/dlgProjectDesign.h"
#include "gui/search/frmSqueeze.h"
#include "core/templates/TemplateEngine.h"
#include "gui/design/dlgProjectSimple.h"

namespace tessaly {

DesignCommands::DesignCommands(ItemListHost& host)
    : CommandSet(host)
    , simpleDesign_(MakeAction("MM_ProjectSimpleDesign", QStringLiteral("簡易設計(&S)..."),
          [this] { MM_ProjectSimpleDesignClick(); }, Qt::CTRL | Qt::SHIFT | Qt::Key_F8))
    , simpleDesignButton_(MakeAction("TB_ProjectSimpleDesign", QStringLiteral("プロジェクト簡易設計"),
          [this] { MM_ProjectSimpleDesignClick(); }, {}, DrawnIcon(ProgramIcon::SimpleDesign)))
    , detailedDesign_(MakeAction("MM_ProjectDetailedDesign", QStringLiteral("詳細設計(&D)..."),
          [this] { OpenDetailedDesign(); }, Qt::CTRL | Qt::Key_F8, DrawnIcon(ProgramIcon::DetailedDesign)))
{
    detailedDesign_->setToolTip(QStringLiteral("プロジェクト詳細設計"));
}

void DesignCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::Project, simpleDesign_);
    layout.Add(MenuPlace::Project, detailedDesign_);
    layout.Add(MenuPlace::ProjectToolBar, simpleDesignButton_);
    layout.Add(MenuPlace::ProjectToolBar, detailedDesign_);
}

void DesignCommands::UpdateStates(const ItemListState& state)
{
    for (QAction* action : {simpleDesign_, simpleDesignButton_, detailedDesign_}) {
        action->setEnabled(!state.searchMode);
    }
}

void DesignCommands::MM_ProjectSimpleDesignClick()
{
    if (host_.Shown().SearchMode() || !EnsureRootDirectory(host_)) {
        return;
    }
    MainServices& services = host_.Services();
    TForm_ProjectSimple dialog(
        services.messages, services.files, host_.CurrentProject(), services.clock.Today(), host_.DialogParent());
    if (dialog.exec() == QDialog::Accepted && dialog.OutputRequested()) {
        OpenProjectOutput(host_, true);
    }
}

void DesignCommands::OpenDetailedDesign()
{
    if (host_.Shown().SearchMode() || !EnsureRootDirectory(host_)) {
        return;
    }
    host_.Shown().FlushGenre();
    Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    ProjectDesignSite site{project.RootDir, project.BannerDir,
        {project.DefaultFile, project.SubFile, services.clock.Today()}, ItemTemplateNames(project),
        project.EditingName.empty() ? QString() : QString::fromStdString(project.EditingName.parent_path().string())};
    TForm_ProjectDesign dialog(services.messages, services.files, std::move(site),
        SqueezeChoicesOf(project, host_.Shown().Rows(), services.clock.Today()), host_.DialogParent());
    dialog.exec();
}

} // namespace tessaly
