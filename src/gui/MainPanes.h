#pragma once

// The main window's four panes side by side: the genre list, the item list
// with the trash's notice below it, and the attribute and content check
// lists one over the other. Each has a title bar (a click on it moves the
// focus into the pane; the pane with the focus shows it in its title) and,
// but the item list, a tool bar for its commands.

#include <QSplitter>

#include <utility>
#include <vector>

class QAbstractItemModel;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QToolBar;
class QTreeView;

namespace tessaly {

class GenreListWidget;

class MainPanes final : public QSplitter {
    Q_OBJECT

public:
    explicit MainPanes(QAbstractItemModel* items, QWidget* parent = nullptr);

    GenreListWidget* Genres() const { return genres_; }
    QTreeView* Items() const { return items_; }
    QListWidget* Attributes() const { return attributes_; }
    QListWidget* Contents() const { return contents_; }
    QToolBar* GenreTools() const { return genreTools_; }
    QToolBar* AttributeTools() const { return attributeTools_; }
    QToolBar* ContentTools() const { return contentTools_; }
    // The attribute and content panes, one over the other.
    QSplitter* Vocabularies() const { return vocabularies_; }
    // The item list's pane, its notice included.
    QWidget* ItemPane() const { return itemPane_; }

    void SetItemTitle(const QString& title);
    void ShowTrashNotice(bool shown);
    // The title of the pane whose control now has the focus stands out.
    void ShowFocus(const QWidget* now);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Title(const QString& text, QWidget* control);

    GenreListWidget* genres_;
    QTreeView* items_;
    QListWidget* attributes_;
    QListWidget* contents_;
    QPlainTextEdit* trashNotice_;
    QToolBar* genreTools_;
    QToolBar* attributeTools_;
    QToolBar* contentTools_;
    QSplitter* vocabularies_;
    QWidget* itemPane_ = nullptr;
    QLabel* itemTitle_ = nullptr;
    std::vector<std::pair<QWidget*, QLabel*>> titles_;
};

} // namespace tessaly
