#pragma once

// Commands on the chosen items that need no editor: the status or
// importance mark, the date of many items at once, browsing the page and
// writing to the author; and the tool that keeps "最新" on the newest items.

#include "gui/host/CommandSet.h"

#include <vector>

class QAction;
class QMenu;

namespace tessaly {

class ItemMarkCommands final : public CommandSet {
    Q_OBJECT

public:
    explicit ItemMarkCommands(ItemListHost& host);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    void SetStatus(int status);
    void MM_DateSettingClick();
    void MM_ItemBrowseClick();
    void MM_ItemMailClick();
    void MM_NewAttributeClick();

private:
    QMenu* StatusMenu(const char* name, const char* prefix);

    QMenu* statusMenu_;
    QMenu* popupStatusMenu_;
    QAction* dateSetting_;
    QAction* buttonDateSetting_;
    QAction* popupDateSetting_;
    QAction* browse_;
    QAction* buttonBrowse_;
    QAction* popupBrowse_;
    QAction* mail_;
    QAction* buttonMail_;
    QAction* popupMail_;
    QAction* newAttribute_;
};

} // namespace tessaly
