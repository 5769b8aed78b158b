#pragma once

// The File menu's exchange with other formats: the links of an RKM data
// file imported into the collection, and the listed items exported as CSV.

#include "gui/host/CommandSet.h"

class QAction;

namespace tessaly {

class ExchangeCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit ExchangeCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    void MM_InportRKMClick();
    // Imports the links of an RKM file; the first genre is shown afterwards.
    void ImportRkm(const QString& fileName);
    void MM_ExportCSVClick();

private:
    QAction* importRkm_;
    QAction* exportCsv_;
};

// An RKM data file by its extension, in any letter case.
bool IsRkmFile(const QString& fileName);

} // namespace tessaly
