#pragma once

// Draws the item list's cells as usual and, when asked, a grid line along
// their right and bottom edges. Drawn over the cell, the lines leave the
// selection colours of the row untouched.

#include <QStyledItemDelegate>

namespace tessaly {

class GridLineDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void SetGridLines(bool on) { gridLines_ = on; }
    bool GridLines() const { return gridLines_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool gridLines_ = false;
};

} // namespace tessaly
