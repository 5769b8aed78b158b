#pragma once

// What the command classes of the item list need of the main window: the
// collection, the shown rows and the user's choice of them, and ways to show
// what a command changed. The window owns the panes; the commands do their
// work in the core.

#include <cstddef>
#include <functional>
#include <vector>

#include <QString>

class QTreeView;
class QWidget;

namespace tessaly {

class Project;
class ShownItems;
class UndoHistory;
struct AppSettings;
struct MainServices;

// The state the item commands are enabled by.
struct ItemListState {
    bool focused = false; // the item list has the input focus
    int rows = 0;
    std::size_t selected = 0;
    bool searchMode = false;
    bool clipboardHasText = false;
};

class ItemListHost {
public:
    virtual ~ItemListHost() = default;

    virtual Project& CurrentProject() = 0;
    virtual ShownItems& Shown() = 0;
    virtual MainServices& Services() = 0;
    virtual const AppSettings& Settings() const = 0;
    virtual QWidget* DialogParent() = 0;
    virtual QTreeView* ItemView() const = 0;

    // The chosen rows, ascending.
    virtual std::vector<std::size_t> SelectedRows() const = 0;
    // Rows were added or removed: the list shows the rows anew, with the
    // given rows selected.
    virtual void RowsReplaced(const std::vector<std::size_t>& selected) = 0;
    // The texts or marks of these rows changed.
    virtual void RowsChanged(const std::vector<std::size_t>& rows) = 0;
    virtual void SetIsEditing(bool editing) = 0;
    // The selected genre's items are shown again from its stored lines.
    virtual void ShowGenreAgain() = 0;
    // Genres and vocabularies changed: every pane is filled anew, showing
    // the genre with the given index.
    virtual void ShowCollectionAgain(std::size_t genre) = 0;
    // The window's look for the search mode that began (title) or ended.
    // The found rows are sorted by the list's order unless keepOrder asks
    // for the order they were found in.
    virtual void SearchModeChanged(const QString& title, bool keepOrder) = 0;

    // Runs a command; what it changes becomes one step of the history,
    // named name.
    virtual void RunCommand(const QString& name, const std::function<void()>& work) = 0;
    virtual const UndoHistory& History() const = 0;
    // Takes the last change back, or does the next undone one again; a
    // search mode ends first.
    virtual void Undo() = 0;
    virtual void Redo() = 0;
};

} // namespace tessaly
