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

    // A locked list (in a search mode) keeps its genre: it takes no clicks,
    // keys or pop-up, but still takes dropped items.
    void SetLocked(bool locked);
    bool IsLocked() const { return locked_; }

    // The first and the last entry are the system genres.
    bool IsSystemGenre(int row) const { return row == 0 || row == count() - 1; }

signals:
    // Rows of the item list were dropped on the genre at index.
    void itemsDropped(int genreIndex);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int TargetOf(const QPoint& position) const;

    bool locked_ = false;
};

} // namespace tessaly
