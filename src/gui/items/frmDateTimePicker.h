#pragma once

// Date entry: year, month and day, each with arrows; the day's maximum
// follows the month and year.

#include <QWidget>

#include "core/text/DateTime.h"

class QSpinBox;

namespace tessaly {

class MessagePresenter;

class TFrame_DateTimePicker final : public QWidget {
    Q_OBJECT

public:
    explicit TFrame_DateTimePicker(QWidget* parent = nullptr);

    // Nothing when the year is 0, for which no date exists.
    std::optional<TDateTime> Date() const;
    void SetDate(TDateTime date);
    void SetFormEnabled(bool enabled);

    QSpinBox* YearBox() const { return year_; }
    QSpinBox* MonthBox() const { return month_; }
    QSpinBox* DayBox() const { return day_; }

private:
    void AdjustDayMaximum();

    QSpinBox* year_;
    QSpinBox* month_;
    QSpinBox* day_;
};

// The warning for a frame whose year is 0; the focus goes to its year.
void RefuseYearZero(MessagePresenter& messages, TFrame_DateTimePicker* frame);

} // namespace tessaly
