#pragma once

// The File menu's exchange with other formats: the links of an RKM data
// file imported into the collection, and the listed items exported as CSV.

#include <QObject>

class QAction;
class QMenu;

namespace tessaly {

class ItemListHost;

class ExchangeCommands final : public QObject {
    Q_OBJECT

public:
    ExchangeCommands(ItemListHost& host, QObject* parent);

    void AddTo(QMenu* fileMenu);
    // Nothing is imported while found items are shown.
    void SetSearchMode(bool searching);

    void MM_InportRKMClick();
    // Imports the links of an RKM file; the first genre is shown afterwards.
    void ImportRkm(const QString& fileName);
    void MM_ExportCSVClick();

private:
    ItemListHost& host_;
    QMenu* importMenu_ = nullptr;
    QAction* importRkm_;
    QAction* exportCsv_;
};

// An RKM data file by its extension, in any letter case.
bool IsRkmFile(const QString& fileName);

} // namespace tessaly
