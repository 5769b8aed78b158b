#pragma once

// The commands for the site's search script: the search data file of the
// whole collection, and the builder of the HTML forms that query the
// script. Both sit in one submenu of the tool menu.

#include <QObject>

class QAction;
class QMenu;

namespace tessaly {

class ItemListHost;

class SearchSiteCommands final : public QObject {
    Q_OBJECT

public:
    SearchSiteCommands(ItemListHost& host, QObject* parent);

    // Adds the submenu "Vuzuva Derado Redovi(P)".
    void AddTo(QMenu* menu);
    // No search data while found items are shown: they are out of their
    // genres, and the file would lack them.
    void SetSearchMode(bool searching);

    // Asks for the template, the order and the file, and writes the data.
    void TSYOSS1Click();
    void MM_OssSupportClick();

private:
    ItemListHost& host_;
    QMenu* menu_;
    QAction* dizOutput_;
    QAction* ossSupport_;
};

} // namespace tessaly
