#pragma once

// A subsystem's commands in the main window: the actions it makes, the
// places of the menus and tool bars it puts them in, and their states.
// Command sets know the window only as an ItemListHost.

#include <functional>

#include <QIcon>
#include <QKeySequence>
#include <QObject>
#include <QString>

class QAction;

namespace tessaly {

// Qt's key combinations (Qt::CTRL | Qt::Key_X), which the message buttons'
// own operator would hide.
using ::operator|;

class ItemListHost;
class MenuLayout;
struct ItemListState;

class CommandSet : public QObject {
    Q_OBJECT

public:
    explicit CommandSet(ItemListHost& host);

    // Puts the set's actions into their places; called once.
    virtual void Contribute(MenuLayout& layout) = 0;
    // Enables the actions for the state of the item list, the search mode
    // included; called whenever that state changes.
    virtual void UpdateStates(const ItemListState& state);

protected:
    // The one way of making an action: object name (which tests and the
    // settings know it by), caption, handler, and optionally a shortcut and
    // an icon.
    QAction* MakeAction(const char* name, const QString& caption, std::function<void()> handler,
        const QKeySequence& shortcut = {}, const QIcon& icon = {});

    ItemListHost& host_;
};

} // namespace tessaly
