#include "gui/shell/AssociationCommands.h"

#include <QAction>
#include <QMenu>

#include "core/text/Codepage.h"
#include "core/util/Messages.h"
#include "gui/host/ItemListHost.h"
#include "gui/host/MainServices.h"
#include "gui/host/MenuLayout.h"
#include "platform/FileAssociation.h"

namespace tessaly {

AssociationCommands::AssociationCommands(ItemListHost& host)
    : CommandSet(host)
    , account_(MakeAction("MM_AppAccount", QStringLiteral("関連付け(&C)"), [this] { MM_AppAccountClick(); }))
{
}

void AssociationCommands::Contribute(MenuLayout& layout)
{
    layout.Add(MenuPlace::ToolsSite, account_);
    if (auto* menu = qobject_cast<QMenu*>(layout.Container(MenuPlace::ToolsSite))) {
        connect(menu, &QMenu::aboutToShow, this, [this] {
            account_->setText(host_.Services().association.IsAssociated() ? QStringLiteral("関連付けの解除(&C)")
                                                                           : QStringLiteral("関連付け(&C)"));
        });
    }
}

void AssociationCommands::MM_AppAccountClick()
{
    FileAssociation& association = host_.Services().association;
    const bool associated = association.IsAssociated();
    const MessageButton answer = host_.Services().messages.Show(MessageKind::Confirmation,
        SjisText(associated ? SJ("拡張子 TSP が Tessaly に関連付けられています.\r\n関連付けを解除してよろしいですか？")
                            : SJ("拡張子 TSP を Tessaly に関連付けます.\r\nよろしいですか？")),
        MessageButton::Yes | MessageButton::Cancel);
    if (answer == MessageButton::Yes) {
        associated ? association.Unassociate() : association.Associate();
    }
}

} // namespace tessaly
