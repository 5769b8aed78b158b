#include "gui/options/ProjectOptionsCommands.h"

#include <QAction>

#include "core/collection/Project.h"
#include "core/design/ProjectOptions.h"
#include "core/design/RootDirectory.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/options/dlgProjectOption.h"

namespace tessaly {

bool OpenProjectOptions(ItemListHost& host, int page)
{
    Project& project = host.CurrentProject();
    MainServices& services = host.Services();
    const QString projectDirectory
        = project.EditingName.empty() ? QString() : QString::fromStdString(project.EditingName.parent_path().string());
    TForm_ProjectOption dialog(
        services.messages, services.files, OptionsOf(project), projectDirectory, page, host.DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const ProjectOptions options = dialog.Options();
    ApplyOptions(project, options);
    if (dialog.StoreAsDefault()) {
        StoreOwnerDefaults(services.settings, options);
    }
    host.SetIsEditing(true); // shows the new title too
    return true;
}

bool EnsureRootDirectory(ItemListHost& host)
{
    const bool hadRoot = !host.CurrentProject().RootDir.empty();
    const bool ready = EnsureRootDirectory(host.CurrentProject(), host.Services().messages,
        [&host] { OpenProjectOptions(host, OptionsTabOf(OptionsField::RootDir)); });
    if (ready && !hadRoot) {
        host.SetIsEditing(true); // the root chosen here is a change to save
    }
    return ready;
}

ProjectOptionsCommands::ProjectOptionsCommands(ItemListHost& host)
    : CommandSet(host)
    , options_(MakeAction("MM_ProjectOption", QStringLiteral("プロジェクトオプション(&O)..."),
          [this] { OpenProjectOptions(host_, 0); }))
{
}

void ProjectOptionsCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::ProjectOptions, options_);
}

} // namespace tessaly
