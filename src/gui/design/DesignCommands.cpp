#include "gui/design/DesignCommands.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "gui/Icons.h"
#include "gui/main/ItemListHost.h"
#include "core/collection/ShownItems.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/design/ProjectOptions.h"
#include "core/design/RootDirectory.h"
#include "gui/main/dlgMain.h"
#include "gui/design/dlgProjectDesign.h"
#include "gui/design/dlgProjectOption.h"
#include "gui/search/frmSqueeze.h"
#include "core/templates/TemplateEngine.h"
#include "gui/design/dlgProjectSimple.h"

namespace tessaly {

DesignCommands::DesignCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , options_(new QAction(QStringLiteral("プロジェクトオプション(&O)..."), this))
    , simpleDesign_(new QAction(QStringLiteral("簡易設計(&S)..."), this))
    , simpleDesignButton_(
          new QAction(DrawnIcon(ProgramIcon::SimpleDesign), QStringLiteral("プロジェクト簡易設計"), this))
    , detailedDesign_(new QAction(DrawnIcon(ProgramIcon::DetailedDesign), QStringLiteral("詳細設計(&D)..."), this))
{
    options_->setObjectName(QStringLiteral("MM_ProjectOption"));
    connect(options_, &QAction::triggered, this, [this] { OpenProjectOptions(0); });
    simpleDesign_->setObjectName(QStringLiteral("MM_ProjectSimpleDesign"));
    simpleDesign_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F8));
    simpleDesignButton_->setObjectName(QStringLiteral("TB_ProjectSimpleDesign"));
    for (QAction* action : {simpleDesign_, simpleDesignButton_}) {
        connect(action, &QAction::triggered, this, &DesignCommands::MM_ProjectSimpleDesignClick);
    }
    detailedDesign_->setObjectName(QStringLiteral("MM_ProjectDetailedDesign"));
    detailedDesign_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F8));
    detailedDesign_->setToolTip(QStringLiteral("プロジェクト詳細設計"));
    connect(detailedDesign_, &QAction::triggered, this, &DesignCommands::OpenDetailedDesign);
}

void DesignCommands::AddTo(QMenu* menu, QToolBar* tools)
{
    menu->addAction(simpleDesign_);
    menu->addAction(detailedDesign_);
    tools->addAction(simpleDesignButton_);
    tools->addAction(detailedDesign_);
}

void DesignCommands::AddOptionsTo(QMenu* menu)
{
    menu->addAction(options_);
}

void DesignCommands::SetSearchMode(bool searching)
{
    for (QAction* action : {simpleDesign_, simpleDesignButton_, detailedDesign_}) {
        action->setEnabled(!searching);
    }
}

void DesignCommands::MM_ProjectSimpleDesignClick()
{
    if (host_.Shown().SearchMode() || !EnsureRootDirectory()) {
        return;
    }
    MainServices& services = host_.Services();
    TForm_ProjectSimple dialog(
        services.messages, services.files, host_.CurrentProject(), services.clock.Today(), host_.DialogParent());
    if (dialog.exec() == QDialog::Accepted && dialog.OutputRequested()) {
        emit outputRequested();
    }
}

void DesignCommands::OpenDetailedDesign()
{
    if (host_.Shown().SearchMode() || !EnsureRootDirectory()) {
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

bool DesignCommands::EnsureRootDirectory()
{
    return tessaly::EnsureRootDirectory(
        host_.CurrentProject(), host_.Services().messages, [this] { OpenProjectOptions(OptionsTabOf(OptionsField::RootDir)); });
}

bool DesignCommands::OpenProjectOptions(int page)
{
    Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    const QString projectDirectory
        = project.EditingName.empty() ? QString() : QString::fromStdString(project.EditingName.parent_path().string());
    TForm_ProjectOption dialog(
        services.messages, services.files, OptionsOf(project), projectDirectory, page, host_.DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const ProjectOptions options = dialog.Options();
    ApplyOptions(project, options);
    if (dialog.StoreAsDefault()) {
        StoreOwnerDefaults(services.settings, options);
    }
    host_.SetIsEditing(true);
    emit optionsChanged();
    return true;
}

} // namespace tessaly
