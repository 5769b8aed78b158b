#pragma once

// The genre list: draws the genres with the system genres set apart while it
// has the focus, and accepts item rows dragged from the item list.

#include <QListWidget>

namespace tessaly {

inline constexpr const char* kItemRowsMimeType = "application/x-tessaly-item-rows";

class GenreListWidget final : public QListWidget {
    Q_OBJECT

public:
    explicit GenreListWidget(QWidget* parent = nullptr);

    // The first and the last entry are the system genres.
    bool IsSystemGenre(int row) const { return row == 0 || row == count() - 1; }

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
