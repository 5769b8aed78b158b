#include "DesignCommands.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "Icons.h"
#include "ItemListHost.h"
#include "collection/Project.h"
#include "collection/ShownItems.h"
#include "design/ProjectOptions.h"
#include "design/RootDirectory.h"
#include "dlgMain.h"
#include "dlgProjectOption.h"
#include "dlgProjectSimple.h"

namespace tessaly {

DesignCommands::DesignCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , options_(new QAction(QStringLiteral("プロジェクトオプション(&O)..."), this))
    , simpleDesign_(new QAction(QStringLiteral("簡易設計(&S)..."), this))
    , simpleDesignButton_(
          new QAction(DrawnIcon(ProgramIcon::SimpleDesign), QStringLiteral("プロジェクト簡易設計"), this))
{
    options_->setObjectName(QStringLiteral("MM_ProjectOption"));
    connect(options_, &QAction::triggered, this, [this] { OpenProjectOptions(0); });
    simpleDesign_->setObjectName(QStringLiteral("MM_ProjectSimpleDesign"));
    simpleDesign_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F8));
    simpleDesignButton_->setObjectName(QStringLiteral("TB_ProjectSimpleDesign"));
    for (QAction* action : {simpleDesign_, simpleDesignButton_}) {
        connect(action, &QAction::triggered, this, &DesignCommands::MM_ProjectSimpleDesignClick);
    }
}

void DesignCommands::AddTo(QMenu* menu, QToolBar* tools)
{
    menu->addAction(options_);
    menu->addAction(simpleDesign_);
    tools->addAction(simpleDesignButton_);
}

void DesignCommands::SetSearchMode(bool searching)
{
    for (QAction* action : {simpleDesign_, simpleDesignButton_}) {
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

bool DesignCommands::EnsureRootDirectory()
{
    return tessaly::EnsureRootDirectory(
        host_.CurrentProject(), host_.Services().messages, [this] { OpenProjectOptions(0); });
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
