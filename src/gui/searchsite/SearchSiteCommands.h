#pragma once

// The commands for the site's search script: the search data file of the
// whole collection, and the builder of the HTML forms that query the
// script. Both sit in one submenu of the tool menu.

#include "gui/host/CommandSet.h"

class QAction;
class QMenu;

namespace tessaly {

class SearchSiteCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit SearchSiteCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    // Asks for the template, the order and the file, and writes the data.
    void TSYOSS1Click();
    void MM_OssSupportClick();

private:
    QMenu* menu_;
    QAction* dizOutput_;
    QAction* ossSupport_;
};

} // namespace tessaly
