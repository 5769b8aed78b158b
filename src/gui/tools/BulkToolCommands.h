#pragma once

// The Tools menu's rewrites of the whole collection: domain replace and the
// attribute/content tidy.

#include <QObject>

#include <cstddef>
#include <functional>

#include "core/tools/BulkRewrite.h"

class QAction;
class QMenu;

namespace tessaly {

class ItemListHost;

class BulkToolCommands final : public QObject {
    Q_OBJECT

public:
    BulkToolCommands(ItemListHost& host, QObject* parent);

    void AddTo(QMenu* toolMenu);
    // The collection is not rewritten while found items are shown.
    void SetSearchMode(bool searching);

    void MM_DomainToolClick();
    void MM_AttrContentToolClick();

private:
    // Runs a rewrite of every genre with the progress window, then shows
    // the collection again; returns the rewrite's count.
    std::size_t Rewrite(const std::string& progressMessage,
        const std::function<std::size_t(const GenreProgress&)>& rewrite);

    ItemListHost& host_;
    QAction* domainTool_;
    QAction* attrContentTool_;
};

} // namespace tessaly
