#pragma once

// The item list as a view over the shown rows of the core: seven columns,
// the status as the row's icon.

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

#include "core/collection/LinkItem.h"

namespace tessaly {

class ShownItems;

class ItemListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ItemListModel(ShownItems& shown, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // The rows changed as a whole (filled, sorted, cleared).
    void Reset();

    static QIcon StatusIcon(int32_t status);

private:
    ShownItems& shown_;
};

} // namespace tessaly
