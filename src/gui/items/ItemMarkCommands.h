#pragma once

// Commands on the chosen items that need no editor: the status or
// importance mark, the date of many items at once, browsing the page and
// writing to the author; and the tool that keeps "最新" on the newest items.

#include <QObject>

#include <vector>

class QAction;
class QMenu;
class QToolBar;

namespace tessaly {

class ItemListHost;
struct ItemListState;

class ItemMarkCommands final : public QObject {
    Q_OBJECT

public:
    ItemMarkCommands(ItemListHost& host, QObject* parent);

    // The status submenu and the bulk date.
    void AddToEditMenu(QMenu* menu);
    // Browse and mail.
    void AddToItemMenu(QMenu* menu);
    void AddToToolsMenu(QMenu* menu);
    void AddToToolBar(QToolBar* tools);
    void AddToPopup(QMenu* popup);
    void UpdateStates(const ItemListState& state);
    void UpdatePopupStates(const ItemListState& state);

    void SetStatus(int status);
    void MM_DateSettingClick();
    void MM_ItemBrowseClick();
    void MM_ItemMailClick();
    void MM_NewAttributeClick();

private:
    QAction* Add(const char* name, const QString& caption, void (ItemMarkCommands::*handler)());
    QMenu* StatusMenu(const char* name, const char* prefix);

    ItemListHost& host_;
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
