#pragma once

// Copy, cut, paste and the readable copy of the chosen items, and deleting
// them to the trash. The clipboard carries the item lines as text, which
// every program reads, and as the exact code page 932 bytes, which a paste
// in this program prefers (some characters have two byte forms).

#include "gui/host/CommandSet.h"

#include <string>

class QAction;
class QClipboard;

namespace tessaly {

inline constexpr const char* kItemLinesMimeType = "application/x-tessaly-item-lines";

class ItemClipboardCommands final : public CommandSet {
    Q_OBJECT

public:
    ItemClipboardCommands(ItemListHost& host, QClipboard* clipboard);

    void Contribute(MenuLayout& layout) override;
    void UpdateStates(const ItemListState& state) override;

    void MM_CopyClick();
    void MM_CutClick();
    void MM_PasteClick();
    void MM_CopyExClick();
    void TB_ItemEraseClick();

    bool ClipboardHasText() const;

private:
    void PutOnClipboard(const std::string& sjis, bool asItemLines);
    // The clipboard's text in code page 932; lines that it cannot hold are left out.
    std::string ClipboardText() const;

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
