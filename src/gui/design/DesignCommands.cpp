#include "DesignCommands.h"

#include <QAction>
#include <QMenu>

#include "ItemListHost.h"
#include "collection/Project.h"
#include "design/ProjectOptions.h"
#include "design/RootDirectory.h"
#include "dlgMain.h"
#include "dlgProjectOption.h"

namespace tessaly {

DesignCommands::DesignCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , options_(new QAction(QStringLiteral("プロジェクトオプション(&O)..."), this))
{
    options_->setObjectName(QStringLiteral("MM_ProjectOption"));
    connect(options_, &QAction::triggered, this, [this] { OpenProjectOptions(0); });
}

void DesignCommands::AddTo(QMenu* menu, QToolBar* /*tools*/)
{
    menu->addAction(options_);
}

void DesignCommands::SetSearchMode(bool /*searching*/) { }

bool DesignCommands::EnsureRootDirectory()
{
    return tessaly::EnsureRootDirectory(
        host_.CurrentProject(), host_.Services().messages, [this] { OpenProjectOptions(0); });
}

bool DesignCommands::OpenProjectOptions(int page)
{
    Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    const QString projectDirectory = project.EditingName.empty()
        ? QString()
        : QString::fromStdString(project.EditingName.parent_path().string());
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
