#pragma once

// The narrowing conditions of a directory page or a design-type search:
// genre, date range, sort order, initials of the readings, status, and
// AND/OR/NOT over attributes and contents. Edits one TSqueeze.

#include <QWidget>

#include <string>
#include <vector>

#include "core/collection/LinkItem.h"
#include "core/design/DirectoryDesign.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tessaly {

class Project;
class TFrame_DateTimePicker;
class TFrame_OperateView;

// What the frame offers, taken from the collection.
struct SqueezeChoices {
    std::vector<std::string> genres; // the user genres, in genre order
    std::vector<std::string> attributes;
    std::vector<std::string> contents;
    std::vector<std::string> dates; // the registered dates, "yyyy/mm/dd"
    TDateTime today;
};

// The choices of the collection as it stands (the shown rows may be newer
// than the stored lines of their genre).
SqueezeChoices SqueezeChoicesOf(const Project& project, const std::vector<TLinkItem>& shownRows, TDateTime today);

class TFrame_Squeeze final : public QWidget {
    Q_OBJECT

public:
    explicit TFrame_Squeeze(QWidget* parent = nullptr);

    void Initialise(const SqueezeChoices& choices);
    // Every control to its no-condition state.
    void Reset();
    // Writes the frame's conditions into the record; its other fields stay.
    void Read(TSqueeze& criteria) const;
    void Show(const TSqueeze& criteria);
    // The search dialog has no use for an order.
    void SetSortEnabled(bool enabled);

    QComboBox* GenreBox() const { return genre_; }

private:
    void DateRangeChange();
    QWidget* DateRow(const QString& caption, TFrame_DateTimePicker* picker, QLabel*& label, QPushButton*& button,
        const QString& buttonName);

    std::vector<std::string> genres_;
    std::vector<std::string> dates_;
    TDateTime today_;
    QComboBox* genre_;
    QComboBox* dateRange_;
    TFrame_DateTimePicker* dateBegin_;
    TFrame_DateTimePicker* dateEnd_;
    QLabel* beginLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    QPushButton* beginList_ = nullptr;
    QPushButton* endList_ = nullptr;
    QComboBox* sortBy_;
    QComboBox* sortDir_;
    QListWidget* title_;
    QListWidget* author_;
    TFrame_OperateView* attribute_;
    TFrame_OperateView* content_;
    QComboBox* important_;
};

} // namespace tessaly
