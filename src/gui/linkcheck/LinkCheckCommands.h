#pragma once

// The Tools menu's link check: on the chosen items, the shown genre or the
// whole collection; the dialog's marks and new addresses go into the
// collection through the window.

#include "gui/host/CommandSet.h"

#include <array>

#include "gui/linkcheck/dlgLinkCheck.h"

class QAction;

namespace tessaly {

struct AddressUpdate;
struct ItemPlace;

class LinkCheckCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit LinkCheckCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;

    void MM_LinkCheckClick();

private:
    // The items of the three scopes as the collection holds them now.
    std::array<LinkCheckScope, 3> Scopes() const;
    std::size_t MarkFailed(const std::vector<ItemPlace>& places, std::vector<UnmarkedItem>* notMarked);
    std::size_t UpdateMoved(const std::vector<AddressUpdate>& updates);
    // The window learns which rows changed and that the collection did.
    void Changed(std::size_t count, const std::vector<ItemPlace>& places);

    QAction* linkCheck_;
};

} // namespace tessaly
