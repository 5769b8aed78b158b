#pragma once

// Copy, cut, paste and the readable copy of the chosen items, and deleting
// them to the trash. The clipboard carries the item lines as text, which
// every program reads, and as the exact code page 932 bytes, which a paste
// in this program prefers (some characters have two byte forms).

#include <QObject>

#include <string>

class QAction;
class QClipboard;
class QMenu;
class QToolBar;

namespace tessaly {

class ItemListHost;
struct ItemListState;

inline constexpr const char* kItemLinesMimeType = "application/x-tessaly-item-lines";

class ItemClipboardCommands final : public QObject {
    Q_OBJECT

public:
    ItemClipboardCommands(ItemListHost& host, QClipboard* clipboard, QObject* parent);

    // Cut, copy, paste, readable copy; the window adds its own delete.
    void AddToMenu(QMenu* menu);
    void AddToToolBar(QToolBar* tools);
    void AddToPopup(QMenu* popup);
    void UpdateStates(const ItemListState& state);
    void UpdatePopupStates(const ItemListState& state);

    void MM_CopyClick();
    void MM_CutClick();
    void MM_PasteClick();
    void MM_CopyExClick();
    void TB_ItemEraseClick();

    bool ClipboardHasText() const;

private:
    QAction* Add(const char* name, const QString& caption, void (ItemClipboardCommands::*handler)());
    void PutOnClipboard(const std::string& sjis, bool asItemLines);
    // The clipboard's text in code page 932; lines that it cannot hold are left out.
    std::string ClipboardText() const;

    ItemListHost& host_;
    QClipboard* clipboard_;
    QAction* cut_;
    QAction* copy_;
    QAction* paste_;
    QAction* copyEx_;
    QAction* erase_;
    QAction* popupCut_;
    QAction* popupCopy_;
    QAction* popupPaste_;
    QAction* popupCopyEx_;
    QAction* popupErase_;
};

} // namespace tessaly
