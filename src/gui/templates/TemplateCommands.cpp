#include "gui/templates/TemplateCommands.h"

#include <QAction>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/host/ItemListHost.h"
#include "core/collection/Project.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "gui/templates/dlgProjectTemplate.h"
#include "core/templates/TemplateList.h"

namespace tessaly {

TemplateCommands::TemplateCommands(ItemListHost& host)
    : CommandSet(host)
    , menuEntry_(MakeAction("MM_ProjectTemplate", QStringLiteral("アイテムテンプレート設計(&T)..."),
          [this] { MM_ProjectTemplateClick(); }, Qt::CTRL | Qt::Key_F5))
    , button_(MakeAction("TB_ProjectTemplate", QStringLiteral("アイテムテンプレート"),
          [this] { MM_ProjectTemplateClick(); }, {}, DrawnIcon(ProgramIcon::ItemTemplate)))
{
    button_->setToolTip(QStringLiteral("アイテムテンプレート"));
    button_->setStatusTip(QStringLiteral("アイテムテンプレート"));
    // The templates are the project's, not the shown items': the command
    // stays available in search mode.
}

void TemplateCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::Project, menuEntry_);
    layout.Add(MenuPlace::ProjectToolBar, button_);
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
