#include "gui/host/MenuLayout.h"

#include <QAction>
#include <QMenu>

#include <cassert>

namespace tessaly {

void MenuLayout::Place(MenuPlace place, QWidget* container)
{
    assert(!containerOf_.contains(place));
    containerOf_[place] = container;
    containers_[container].push_back({true, place, {}});
}

void MenuLayout::Fixed(QWidget* container, QAction* action)
{
    container->addAction(action);
    containers_[container].push_back({false, {}, {action}});
}

void MenuLayout::FixedSeparator(QWidget* container)
{
    auto* separator = new QAction(container);
    separator->setSeparator(true);
    Fixed(container, separator);
}

void MenuLayout::Places(QWidget* container, std::initializer_list<MenuPlace> places)
{
    for (const MenuPlace place : places) {
        if (place != *places.begin()) {
            FixedSeparator(container);
        }
        Place(place, container);
    }
}

void MenuLayout::Add(MenuPlace place, QAction* action)
{
    QWidget* container = containerOf_.at(place);
    std::vector<Entry>& entries = containers_.at(container);
    auto entry = std::find_if(entries.begin(), entries.end(), [place](const Entry& s) { return s.isPlace && s.place == place; });
    entry->actions.push_back(action);
    // Before the first entry of anything that follows the place.
    for (auto next = entry + 1; next != entries.end(); ++next) {
        if (!next->actions.empty()) {
            container->insertAction(next->actions.front(), action);
            return;
        }
    }
    container->addAction(action);
}

void MenuLayout::AddMenu(MenuPlace place, QMenu* menu)
{
    Add(place, menu->menuAction());
}

void MenuLayout::AddSeparator(MenuPlace place)
{
    QWidget* container = containerOf_.at(place);
    auto* separator = new QAction(container);
    separator->setSeparator(true);
    Add(place, separator);
}

} // namespace tessaly
