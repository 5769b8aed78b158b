#include "gui/host/CommandSet.h"

#include <QAction>
#include <QRegularExpression>
#include <QWidget>

#include "gui/host/ItemListHost.h"

namespace tessaly {

CommandSet::CommandSet(ItemListHost& host)
    : QObject(host.DialogParent())
    , host_(host)
{
}

void CommandSet::UpdateStates(const ItemListState&) {}

QAction* CommandSet::MakeAction(const char* name, const QString& caption, std::function<void()> handler,
    const QKeySequence& shortcut, const QIcon& icon)
{
    auto* action = new QAction(icon, caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // The caption without its key and dots names the change in the history.
    QString change = caption;
    change.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$|&")));
    connect(action, &QAction::triggered, this,
        [this, change, work = std::move(handler)] { host_.RunCommand(change, work); });
    return action;
}

} // namespace tessaly
