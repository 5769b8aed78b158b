#include "GenreListWidget.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QStyledItemDelegate>

namespace tessaly {

GenreListWidget::GenreListWidget(QWidget* parent)
    : QListWidget(parent)
{
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void GenreListWidget::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    viewport()->update();
}

void GenreListWidget::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

int GenreListWidget::TargetOf(const QPoint& position) const
{
    const QListWidgetItem* target = itemAt(position);
    const int index = target != nullptr ? row(target) : -1;
    // Only another genre than the shown one takes the items.
    return index != currentRow() ? index : -1;
}

void GenreListWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(kItemRowsMimeType))) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void GenreListWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(kItemRowsMimeType))
        && TargetOf(event->position().toPoint()) >= 0) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void GenreListWidget::dropEvent(QDropEvent* event)
{
    const int target = TargetOf(event->position().toPoint());
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kItemRowsMimeType)) || target < 0) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit itemsDropped(target);
}

} // namespace tessaly
