#pragma once

// The Tools menu's rewrites of the whole collection: domain replace and the
// attribute/content tidy.

#include "gui/host/CommandSet.h"

#include <cstddef>
#include <functional>

#include "core/tools/BulkRewrite.h"

class QAction;

namespace tessaly {

class BulkToolCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit BulkToolCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    void MM_DomainToolClick();
    void MM_AttrContentToolClick();

private:
    // Runs a rewrite of every genre with the progress window, then shows
    // the collection again; returns the rewrite's count.
    std::size_t Rewrite(const std::string& progressMessage,
        const std::function<std::size_t(const GenreProgress&)>& rewrite);

    QAction* domainTool_;
    QAction* attrContentTool_;
};

} // namespace tessaly
