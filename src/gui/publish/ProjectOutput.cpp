#include "gui/publish/ProjectOutput.h"

#include <QTimer>

#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "core/output/OutputRun.h"
#include "core/output/RootPage.h"
#include "core/settings/ExternalPrograms.h"
#include "core/text/Paths.h"
#include "core/util/Messages.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/options/ProjectOptionsCommands.h"
#include "gui/publish/dlgProjectOutput.h"

namespace tessaly {

namespace {

PublishSetup PublishSetupOf(const Project& project)
{
    return {ToUtf8(SjisText(project.Publishing.publishCommand)),
        ToFsPath(project.RootDir).value_or(std::filesystem::path())};
}

} // namespace

void OpenProjectOutput(ItemListHost& host, bool startAtOnce)
{
    if (host.Shown().SearchMode() || !EnsureRootDirectory(host)) {
        return;
    }
    // The run reads every genre; the dialog is modal, so nothing changes
    // the project while its worker reads it.
    host.Shown().FlushGenre();
    const Project& project = host.CurrentProject();
    const Clock& clock = host.Services().clock;
    const std::string root = project.RootDir;
    TForm_ProjectOutput dialog(
        host.Services().messages,
        [&project, &clock, root](
            OutputObserver& observer) { return tessaly::RunOutput(project, root, clock, observer); },
        [&host] { OpenRootPage(host); }, PublishSetupOf(project), host.DialogParent());
    if (startAtOnce) {
        QTimer::singleShot(0, &dialog, &TForm_ProjectOutput::BtnOutputClick);
    }
    dialog.exec();
}

void OpenRootPage(ItemListHost& host)
{
    const Project& project = host.CurrentProject();
    MainServices& services = host.Services();
    const RootPage root = FindRootPage(project, {project.DefaultFile, project.SubFile, services.clock.Today()});
    if (!root.message.empty()) {
        services.messages.Show(MessageKind::Warning, SjisText(root.message), MessageButton::Abort);
        return;
    }
    OpenUrl(services.shell, host.Settings().browser, root.page);
}

} // namespace tessaly
