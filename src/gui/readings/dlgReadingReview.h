#pragma once

// The imported links whose readings were guessed, most doubtful first (a
// reading that misses part of its text before one that is only uncertain),
// to be checked and corrected in place: title, reading, author, reading.

#include <vector>

#include <QDialog>

#include "core/collection/LinkItem.h"

class QTableWidget;
class QTableWidgetItem;

namespace tessaly {

class MessagePresenter;

struct ReviewedReading {
    TLinkItem item;
    bool complete = false; // the guess covers the whole text
};

class TForm_ReadingReview final : public QDialog {
    Q_OBJECT

public:
    TForm_ReadingReview(MessagePresenter& messages, std::vector<ReviewedReading> readings, QWidget* parent = nullptr);

    // The items as the user left them, in the list's order.
    const std::vector<TLinkItem>& Items() const { return items_; }

    // Escape and Cancel ask before corrections are thrown away.
    void reject() override;

private:
    void Button1Click();
    void CellChanged(QTableWidgetItem* cell);

    MessagePresenter& messages_;
    QTableWidget* table_;
    std::vector<TLinkItem> items_;
    std::vector<QString> titleReadings_; // each row's, as last shown
    bool corrected_ = false;
};

} // namespace tessaly
