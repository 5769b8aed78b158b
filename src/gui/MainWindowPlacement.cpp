#include "gui/MainWindowPlacement.h"

#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

#include "core/settings/AppSettings.h"
#include "gui/ScreenPlacement.h"

namespace tessaly {

void ApplyWindowPlace(
    QMainWindow& window, const MainWindowPanes& panes, const MainWindowSettings& stored, bool restorePosition)
{
    const QScreen* shownOn = window.screen();
    const qreal ratio = ScreenPixelRatio(&window);
    QRect wanted = FromScreenPixels(QRect(stored.left, stored.top, stored.width, stored.height), ratio);
    if (shownOn != nullptr) {
        wanted = FitInside(wanted, shownOn->availableGeometry());
    }
    if (restorePosition) {
        window.setGeometry(wanted);
    } else {
        window.resize(wanted.size());
    }
    for (std::size_t column = 0; column < stored.columns.size(); ++column) {
        panes.items->setColumnWidth(static_cast<int>(column), stored.columns[column]);
    }
    if (stored.maximized) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
}

void ApplyPaneSizes(const QMainWindow& window, const MainWindowPanes& panes, const MainWindowSettings& stored)
{
    const qreal ratio = ScreenPixelRatio(&window);
    const int genreWidth = qRound(stored.genreWidth / ratio);
    const int attrWidth = qRound(stored.attrWidth / ratio);
    const int attrHeight = qRound(stored.attrHeight / ratio);
    const int width = panes.panes->width() - 2 * panes.panes->handleWidth();
    panes.panes->setSizes({genreWidth, std::max(100, width - genreWidth - attrWidth), attrWidth});
    const int height = panes.vocabulary->height() - panes.vocabulary->handleWidth();
    panes.vocabulary->setSizes({attrHeight, std::max(50, height - attrHeight)});
}

void StoreWindowPlace(const QMainWindow& window, const MainWindowPanes& panes, MainWindowSettings& stored)
{
    const qreal ratio = ScreenPixelRatio(&window);
    const QRect frame = ToScreenPixels(window.normalGeometry(), ratio);
    stored.left = frame.left();
    stored.top = frame.top();
    stored.width = frame.width();
    stored.height = frame.height();
    stored.maximized = window.isMaximized();
    const QList<int> sizes = panes.panes->sizes();
    if (sizes.size() == 3) {
        stored.genreWidth = qRound(sizes[0] * ratio);
        stored.attrWidth = qRound(sizes[2] * ratio);
    }
    if (!panes.vocabulary->sizes().isEmpty()) {
        stored.attrHeight = qRound(panes.vocabulary->sizes().front() * ratio);
    }
    for (std::size_t column = 0; column < stored.columns.size(); ++column) {
        stored.columns[column] = panes.items->columnWidth(static_cast<int>(column));
    }
}

} // namespace tessaly
