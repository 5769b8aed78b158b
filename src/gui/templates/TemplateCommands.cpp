#include "gui/templates/TemplateCommands.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/main/ItemListHost.h"
#include "core/collection/Project.h"
#include "gui/main/dlgMain.h"
#include "gui/templates/dlgProjectTemplate.h"
#include "core/templates/TemplateList.h"

namespace tessaly {

TemplateCommands::TemplateCommands(ItemListHost& host, QObject* parent)
    : QObject(parent)
    , host_(host)
    , menuEntry_(new QAction(QStringLiteral("アイテムテンプレート設計(&T)..."), this))
    , button_(new QAction(DrawnIcon(ProgramIcon::ItemTemplate), QStringLiteral("アイテムテンプレート"), this))
{
    menuEntry_->setObjectName(QStringLiteral("MM_ProjectTemplate"));
    menuEntry_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    button_->setObjectName(QStringLiteral("TB_ProjectTemplate"));
    button_->setToolTip(QStringLiteral("アイテムテンプレート"));
    button_->setStatusTip(QStringLiteral("アイテムテンプレート"));
    // The templates are the project's, not the shown items': the command
    // stays available in search mode.
    connect(menuEntry_, &QAction::triggered, this, [this] { MM_ProjectTemplateClick(); });
    connect(button_, &QAction::triggered, this, [this] { MM_ProjectTemplateClick(); });
}

void TemplateCommands::AddTo(QMenu* menu, QToolBar* tools)
{
    menu->addAction(menuEntry_);
    if (tools != nullptr) {
        tools->addAction(button_);
    }
}

bool TemplateCommands::MM_ProjectTemplateClick()
{
    Project& project = host_.CurrentProject();
    TForm_ProjectTemplate dialog(
        host_.Services().messages, ToQString(host_.Settings().editorPath), host_.DialogParent());
    // Strings that do not split into seven fields are left out.
    for (const std::string& stored : project.Templates) {
        if (const std::optional<std::array<std::string, 7>> fields = SplitStoredTemplate(stored)) {
            dialog.AddTemplate(*fields);
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    project.Templates.clear();
    for (int i = kBuiltinTemplateCount; i < dialog.GetTemplateCount(); ++i) {
        project.Templates.push_back(dialog.GetTemplateString(i));
    }
    host_.SetIsEditing(true);
    return true;
}

} // namespace tessaly
