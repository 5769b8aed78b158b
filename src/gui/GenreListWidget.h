#pragma once

// The genre list: accepts item rows dragged from the item list.

#include <QListWidget>

namespace tessaly {

inline constexpr const char* kItemRowsMimeType = "application/x-tessaly-item-rows";

class GenreListWidget final : public QListWidget {
    Q_OBJECT

public:
    explicit GenreListWidget(QWidget* parent = nullptr);

signals:
    // Rows of the item list were dropped on the genre at index.
    void itemsDropped(int genreIndex);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int TargetOf(const QPoint& position) const;
};

} // namespace tessaly
