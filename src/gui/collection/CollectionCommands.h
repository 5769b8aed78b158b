#pragma once

// The collection's vocabularies in their three panes: new, rename, erase and
// order of the genres, attributes and contents (from each pane's tool bar,
// pop-up and keys), tagging the chosen items through the check lists, and
// moving items to a genre they are dropped on. The window owns the panes.

#include <optional>
#include <string>
#include <vector>

#include "core/collection/CollectionEditing.h"
#include "gui/host/CommandSet.h"
#include "gui/host/MenuLayout.h"

class QListWidget;

namespace tessaly {

class GenreListWidget;

struct CollectionPanes {
    GenreListWidget* genres;
    QListWidget* attributes;
    QListWidget* contents;
};

class CollectionCommands final : public CommandSet {
    Q_OBJECT

public:
    CollectionCommands(ItemListHost& host, CollectionPanes panes);

    // The New, Rename, Erase, Up and Down of each pane's tool bar.
    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    // The panes filled anew from the collection.
    void ShowGenres();
    void ShowVocabulary(Vocabulary vocabulary);
    // The check lists show the tags of the one chosen item; with several
    // chosen they stay, so that a click applies them to all.
    void ShowTagsOfSelection();

    void TB_GenreNewClick();
    void TB_GenreEditClick();
    void TB_GenreEraseClick();
    void TB_GenreMoveClick(bool up);
    void TagNewClick(Vocabulary vocabulary);
    void TagEditClick(Vocabulary vocabulary);
    void TagEraseClick(Vocabulary vocabulary);
    void TagMoveClick(Vocabulary vocabulary, bool up);
    // Moves the chosen rows of the item list to a genre (a drop).
    void MoveSelectedItemsTo(int genreIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pane {
        QListWidget* list;
        QString prefix; // of the actions' names: TB_Genre, TB_Attr1, TB_Attr2
        MenuPlace toolBar;
        std::vector<QAction*> actions; // New, Edit, Erase, Up, Down
    };
    void MakePaneActions(Pane& pane, const QString& noun, const std::function<void()>& onNew, const std::function<void()>& onEdit,
        const std::function<void()>& onErase, const std::function<void(bool)>& onMove);
    void AttachPopup(std::size_t pane);
    void UpdatePaneCommands();
    QListWidget* ListOf(Vocabulary vocabulary) const;
    void ApplyCheckedTags(Vocabulary vocabulary);
    std::optional<std::string> AskName(const QString& caption, const QString& prompt, const QString& initial,
        std::vector<std::string> existing, int renaming);

    GenreListWidget* genres_;
    std::vector<Pane> panes_; // genres, attributes, contents
};

} // namespace tessaly
