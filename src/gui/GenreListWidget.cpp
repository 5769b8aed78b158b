#include "gui/GenreListWidget.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tessaly {

namespace {

// Each genre: its icon at 4 pixels from the left and top, its name at 24
// from the left. While the list has the focus the selected genre is bold and
// the system genres lie on the tooltip colour; without it every entry lies
// on the button face, so the list reads as resting.
class GenreDelegate final : public QStyledItemDelegate {
public:
    explicit GenreDelegate(GenreListWidget* list)
        : QStyledItemDelegate(list)
        , list_(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize text = QStyledItemDelegate::sizeHint(option, index);
        return {std::max(text.width(), 24 + option.fontMetrics.horizontalAdvance(index.data().toString()) + 4),
            std::max(24, option.fontMetrics.height() + 8)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool focused = list_->hasFocus() && !list_->IsLocked();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& palette = option.palette;
        QColor background = palette.color(QPalette::Button);
        QColor text = palette.color(list_->IsLocked() ? QPalette::Disabled : QPalette::Active, QPalette::ButtonText);
        if (focused) {
            background = list_->IsSystemGenre(index.row()) ? palette.color(QPalette::ToolTipBase)
                                                           : palette.color(QPalette::Base);
            text = list_->IsSystemGenre(index.row()) ? palette.color(QPalette::ToolTipText)
                                                     : palette.color(QPalette::Text);
            if (selected) {
                background = palette.color(QPalette::Highlight);
                text = palette.color(QPalette::HighlightedText);
            }
        }
        painter->save();
        painter->fillRect(option.rect, background);
        if (selected && !focused) {
            // The shown genre stays visible without taking the eye.
            painter->setPen(palette.color(QPalette::Mid));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        icon.paint(painter, QRect(option.rect.topLeft() + QPoint(4, 4), QSize(16, 16)));
        QFont font = option.font;
        font.setBold(focused && selected);
        painter->setFont(font);
        painter->setPen(text);
        painter->drawText(option.rect.adjusted(24, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            index.data().toString());
        painter->restore();
    }

private:
    GenreListWidget* list_;
};

} // namespace

GenreListWidget::GenreListWidget(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new GenreDelegate(this));
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void GenreListWidget::SetLocked(bool locked)
{
    locked_ = locked;
    setContextMenuPolicy(locked ? Qt::NoContextMenu : Qt::CustomContextMenu);
    viewport()->update();
}

void GenreListWidget::mousePressEvent(QMouseEvent* event)
{
    // A click beside the genres keeps the shown genre chosen.
    if (!locked_ && itemAt(event->position().toPoint()) != nullptr) {
        QListWidget::mousePressEvent(event);
    }
}

void GenreListWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!locked_ && itemAt(event->position().toPoint()) != nullptr) {
        QListWidget::mouseDoubleClickEvent(event);
    }
}

void GenreListWidget::keyPressEvent(QKeyEvent* event)
{
    if (!locked_) {
        QListWidget::keyPressEvent(event);
    }
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
    // Only another genre than the shown one takes the items; found items
    // of a search mode may go to any genre.
    return locked_ || index != currentRow() ? index : -1;
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
