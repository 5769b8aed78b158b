#pragma once

// The main window's place on the screen and the sizes of its panes and
// columns, kept in the settings in screen pixels so that they survive a
// change of the screen's scale.

class QMainWindow;
class QSplitter;
class QTreeView;

namespace tessaly {

struct MainWindowSettings;

struct MainWindowPanes {
    QSplitter* panes;      // genres | items | vocabularies
    QSplitter* vocabulary; // attributes over contents
    QTreeView* items;
};

// The stored place, fitted to the screen; the position only when asked.
void ApplyWindowPlace(QMainWindow& window, const MainWindowPanes& panes, const MainWindowSettings& stored,
    bool restorePosition);
// Applied once the splitters have their real size: sizes set before are
// scaled to it, and the panes would shrink a little on every start.
void ApplyPaneSizes(const QMainWindow& window, const MainWindowPanes& panes, const MainWindowSettings& stored);
void StoreWindowPlace(const QMainWindow& window, const MainWindowPanes& panes, MainWindowSettings& stored);

} // namespace tessaly
