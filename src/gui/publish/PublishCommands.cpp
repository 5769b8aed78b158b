#include "gui/publish/PublishCommands.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include "gui/Icons.h"
#include "gui/main/ItemListHost.h"
#include "core/collection/Project.h"
#include "core/collection/ShownItems.h"
#include "gui/main/dlgMain.h"
#include "gui/publish/dlgProjectOutput.h"
#include "core/output/OutputRun.h"
#include "core/settings/ExternalPrograms.h"
#include "core/util/Messages.h"

namespace tessaly {

PublishCommands::PublishCommands(ItemListHost& host, std::function<bool()> ensureRootDirectory, QObject* parent)
    : QObject(parent)
    , host_(host)
    , ensureRootDirectory_(std::move(ensureRootDirectory))
    , output_(new QAction(QStringLiteral("プロジェクト出力(&U)..."), this))
    , outputButton_(new QAction(DrawnIcon(ProgramIcon::ProjectOutput), QStringLiteral("プロジェクト出力"), this))
    , openRoot_(new QAction(QStringLiteral("ルートを開く(&R)"), this))
{
    output_->setObjectName(QStringLiteral("MM_ProjectOutput"));
    output_->setShortcut(QKeySequence(Qt::Key_F8));
    outputButton_->setObjectName(QStringLiteral("TB_ProjectOutput"));
    openRoot_->setObjectName(QStringLiteral("MM_OpenRoot"));
    openRoot_->setShortcut(QKeySequence(Qt::Key_F9));
    for (QAction* action : {output_, outputButton_}) {
        connect(action, &QAction::triggered, this, &PublishCommands::MM_ProjectOutputClick);
    }
    connect(openRoot_, &QAction::triggered, this, &PublishCommands::OpenRootPage);
}

void PublishCommands::AddTo(QMenu* menu, QToolBar* tools)
{
    menu->addSeparator();
    menu->addAction(output_);
    tools->addAction(outputButton_);
}

void PublishCommands::SetSearchMode(bool searching)
{
    output_->setEnabled(!searching);
    outputButton_->setEnabled(!searching);
}

void PublishCommands::MM_ProjectOutputClick()
{
    OpenOutputDialog(false);
}

void PublishCommands::RunOutput()
{
    OpenOutputDialog(true);
}

void PublishCommands::OpenOutputDialog(bool startAtOnce)
{
    if (host_.Shown().SearchMode() || !ensureRootDirectory_()) {
        return;
    }
    // The run reads every genre; the dialog is modal, so nothing changes
    // the project while its worker reads it.
    host_.Shown().FlushGenre();
    const Project& project = host_.CurrentProject();
    const Clock& clock = host_.Services().clock;
    const std::string root = project.RootDir;
    TForm_ProjectOutput dialog(
        host_.Services().messages,
        [&project, &clock, root](
            OutputObserver& observer) { return tessaly::RunOutput(project, root, clock, observer); },
        [this] { OpenRootPage(); }, host_.DialogParent());
    if (startAtOnce) {
        QTimer::singleShot(0, &dialog, &TForm_ProjectOutput::BtnOutputClick);
    }
    dialog.exec();
}

void PublishCommands::OpenRootPage()
{
    const Project& project = host_.CurrentProject();
    MainServices& services = host_.Services();
    const RootPage root = FindRootPage(project, {project.DefaultFile, project.SubFile, services.clock.Today()});
    if (!root.message.empty()) {
        services.messages.Show(MessageKind::Warning, root.message, MessageButton::Abort);
        return;
    }
    OpenUrl(services.shell, host_.Settings().browser, root.page);
}

} // namespace tessaly
