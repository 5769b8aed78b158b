#pragma once

// The search modes: string, domain and design-type search, list all, and
// ending the mode. The found items are taken out of their genres while the
// result is shown and go back when the mode ends.

#include "gui/host/CommandSet.h"

#include <string>
#include <vector>

#include "core/design/DirectoryDesign.h"

class QAction;

namespace tessaly {

class SearchCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit SearchCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;

    void MM_SearchStringClick();
    void MM_SearchDomainClick();
    void MM_SearchProjectClick();
    void MM_SearchAllClick();
    // Lists the items whose pages are the same, copies side by side.
    void MM_SearchDuplicateClick();
    void MM_SearchExitClick();

    // Ends a search mode, if one is on, returning the rows to their genres.
    void EndSearchMode();

private:
    // Runs the criteria over the collection; shows the result when found.
    bool Search(const TSqueeze& criteria, const QString& title);
    void ShowResult(const std::vector<std::string>& lines, const QString& title, bool keepOrder = false);

    std::vector<QAction*> menuEntries_;
    std::vector<QAction*> buttons_;
    QAction* exit_ = nullptr;
    QAction* buttonExit_ = nullptr;
};

} // namespace tessaly
